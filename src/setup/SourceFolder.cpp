#include "setup/SourceFolder.h"

#include "common/Handles.h"
#include "common/Paths.h"
#include "common/Registry.h"
#include "common/SetupLog.h"
#include "install/Registration.h"
#include "install/Verify.h"
#include "ui/MessageDlg.h"

#include <shlobj.h>

namespace {

bool RunsAsUninstaller() {
    return SamePath(ExtractFileName(ExecutablePath()), UninstallerName);
}

// The entry first, if it is this folder's: the record lies where users may write, and a repair
// copies from the folder it names.
std::wstring RememberedSource(const std::wstring& target, const TRecordSet& record) {
    const std::wstring location = RegisteredLocation();
    if (!location.empty() && SamePath(IncludeTrailingPathDelimiter(location), target)) {
        const std::wstring registered =
            ReadSubkeyString(HKEY_LOCAL_MACHINE, RegistrationKey, L"InstallSource");
        if (!registered.empty()) {
            return registered;
        }
    }
    return record.Source();
}

// The path page's folder browser.
std::wstring BrowseForSource() {
    BROWSEINFOW info{};
    info.lpszTitle = L"Выберите папку дистрибутива комплекса";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    TUniqueCoMem items(SHBrowseForFolderW(&info));
    wchar_t path[MAX_PATH] = {};
    if (!items || !SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(items.get()), path)) {
        LogLine(L"Папка дистрибутива не выбрана");
        return {};
    }
    LogLine(L"Выбрана папка: " + std::wstring(path));
    return path;
}

std::wstring AskForSource(std::wstring gone) {
    for (;;) {
        const std::wstring where = gone.empty() ? L"Папка дистрибутива комплекса неизвестна."
                                                : L"Дистрибутив комплекса не найден в папке " +
                                                      ExcludeTrailingPathDelimiter(gone) + L".";
        if (!AskWarningOkCancel(nullptr, where + L" Укажите папку дистрибутива.")) {
            return {};
        }
        const std::wstring chosen = BrowseForSource();
        if (chosen.empty()) {
            return {};
        }
        if (IsDistributionFolder(chosen)) {
            return IncludeTrailingPathDelimiter(chosen);
        }
        gone = chosen;
    }
}

} // namespace

std::wstring FindSourceFolder(const TCommandLine& options, const std::wstring& target,
                              const TRecordSet& record) {
    const std::wstring source =
        RunsAsUninstaller() ? RememberedSource(target, record) : ExecutableFolder();
    if (IsDistributionFolder(source)) {
        return IncludeTrailingPathDelimiter(source);
    }
    LogLine(L"Дистрибутив недоступен: " + (source.empty() ? L"папка не записана" : source));
    if (options.Mode != TSetupMode::smWizard) {
        return {};
    }
    return AskForSource(source);
}
