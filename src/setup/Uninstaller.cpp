#include "setup/Uninstaller.h"

#include "common/AppStrings.h"
#include "common/CanonicalPath.h"
#include "common/Paths.h"
#include "common/SetupLog.h"
#include "install/InstallRecord.h"
#include "install/Registration.h"
#include "install/SilentProgress.h"
#include "setup/Setup.h"
#include "setup/HandOver.h"
#include "setup/SelfCopy.h"
#include "setup/SetupSession.h"
#include "ui/Application.h"
#include "ui/MessageDlg.h"
#include "uninstall/InstallFolder.h"
#include "uninstall/Removal.h"
#include "wizard/Main.h"

namespace {

std::wstring FileName(const std::wstring& path) {
    return path.substr(path.find_last_of(L"\\/") + 1);
}

// "Комплекс "<product>"", as the removal's texts begin.
std::wstring Suite() {
    return L"Комплекс \"" + ProductName(GetModuleHandleW(nullptr)) + L"\"";
}

// A folder in its canonical form; a text that names no folder stays as given, and no
// installation is found there.
std::wstring AsFolder(const std::wstring& path) {
    const std::wstring canonical = CanonicalFolder(path);
    return canonical.empty() ? IncludeTrailingPathDelimiter(path) : canonical;
}

std::wstring FinalText(bool complete, const std::wstring& folder) {
    const std::wstring kept = L"База данных и настройки сохранены в папке " + folder + L".";
    if (complete) {
        return Suite() + L" удалён. " + kept;
    }
    return Suite() + L" удалён не полностью: не удалось удалить то, что названо в журнале " +
           SetupLog().Path() + L". " + kept;
}

// The uninstaller this copy came from learns the result once everything else is done, its
// windows are gone and the log is closed (HandOver.h); then its own file can go.
void Finish(const TCommandLine& options, const std::wstring& target, TRemoval& removal) {
    if (options.Parent && PrepareHandOver(*options.Parent, target)) {
        return;
    }
    if (options.Parent) {
        LogLine(L"Программа удаления в папке комплекса не завершена: её файл может остаться");
    }
    removal.RemoveUninstaller();
}

bool Remove(const TCommandLine& options, const std::wstring& target, TRecordSet record) {
    if (options.Mode == TSetupMode::smVerySilent) {
        TSilentProgress progress;
        TRemoval removal(progress, target, std::move(record));
        const bool complete = removal.Execute();
        if (complete) {
            Finish(options, target, removal);
        }
        return complete;
    }
    TFMain& main = Application.CreateForm<TFMain>();
    main.ShowRemovalPage(options.Mode == TSetupMode::smSilent);
    TRemoval removal(main.RunHost(), target, std::move(record));
    const bool complete = removal.Execute();
    if (options.Mode == TSetupMode::smWizard) {
        ShowInformationBox(main.Handle(),
                           FinalText(complete, ExcludeTrailingPathDelimiter(target)));
    }
    if (complete) {
        main.Hide();
        Finish(options, target, removal);
    }
    return complete;
}

} // namespace

bool IsRemoval(const TCommandLine& options) {
    if (options.Verify || options.Repair) {
        return false; // the uninstaller checks and repairs its own folder too
    }
    return options.Uninstall || options.Parent ||
           SamePath(FileName(ExecutablePath()), UninstallerName);
}

std::wstring RemovalTarget(const TCommandLine& options, const std::wstring& defaultTarget) {
    if (options.Dir) {
        return AsFolder(TrimBlanks(*options.Dir));
    }
    if (SamePath(FileName(ExecutablePath()), UninstallerName)) {
        return AsFolder(ExecutableFolder());
    }
    const std::wstring registered = RegisteredLocation();
    return AsFolder(registered.empty() ? defaultTarget : registered);
}

TRemovalOutcome RemoveInstallation(const TCommandLine& options, const std::wstring& target) {
    if (options.Parent) {
        LogLine(L"Копия программы удаления: " + ExecutablePath() +
                L" (удаляется при перезагрузке)");
    }
    // The target's folders must not be held by this process's current folder.
    SetCurrentDirectoryW(TempFolder().c_str());
    const std::wstring folder = ExcludeTrailingPathDelimiter(target);
    // Nothing is ever installed there, whatever a record found there says.
    const std::wstring canonical = CanonicalFolder(target);
    TRecordFile record;
    if (!canonical.empty() && !IsRootFolder(canonical) && !IsSystemFolder(canonical)) {
        record = ReadInstallRecord(target);
    }
    if (record.State == TRecordState::rsMissing) {
        Tell(options.Mode, Suite() + L" не установлен в папке " + folder + L".", MB_ICONERROR);
        return {ecBadStart, L"комплекс не установлен"};
    }
    if (record.State == TRecordState::rsBad) {
        Tell(options.Mode,
             L"Запись об установке повреждена: " + target + InstallRecordName + L", " +
                 record.Error + L". Ничего не удалено.",
             MB_ICONERROR);
        return {ecStopped, L"запись об установке повреждена"};
    }
    if (const TInstallFolder folder(target); !folder.Problem().empty()) {
        Tell(options.Mode, L"Ничего не удалено: " + folder.Problem() + L".", MB_ICONERROR);
        return {ecStopped, L"папка установки ведёт по ссылке"};
    }
    if (options.Mode == TSetupMode::smWizard &&
        !AskConfirmation(nullptr, L"Удалить комплекс \"" + ProductName(GetModuleHandleW(nullptr)) +
                                      L"\" из папки " + folder +
                                      L"? База данных и настройки будут сохранены.")) {
        return {ecDeclined, L"удаление отменено"};
    }
    if (Remove(options, target, std::move(record.Entries))) {
        return {ecInstalled, L"комплекс удалён"};
    }
    return {ecStopped, L"комплекс удалён не полностью"};
}
