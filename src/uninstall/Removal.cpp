#include "uninstall/Removal.h"

#include "common/CanonicalPath.h"
#include "common/DirEnum.h"
#include "common/Errors.h"
#include "common/Failure.h"
#include "common/Paths.h"
#include "install/InstallPlan.h"
#include "install/Registration.h"
#include "integration/Shortcut.h"

#include <algorithm>
#include <vector>

namespace {

bool IsInside(const std::wstring& path, const std::wstring& folder) {
    return path.size() > folder.size() && StartsWithPath(path, folder);
}

bool IsEmptyFolder(const std::wstring& path) {
    if (!DirectoryExists(path)) {
        return false;
    }
    for (const TDirEntry& entry : ListDirEntries(path + L"\\*", faAnyFile | faDirectory)) {
        if (!IsDotEntry(entry.Name)) {
            return false;
        }
    }
    return true;
}

size_t Depth(const std::wstring& relative) {
    return relative.empty() ? 0 : 1 + std::count(relative.begin(), relative.end(), L'\\');
}

} // namespace

TRemoval::TRemoval(TRunProgress& progress, std::wstring target, TRecordSet record)
    : FProgress(progress), FLog(progress), FTarget(std::move(target)), FFolder(FTarget),
      FRecord(std::move(record)) {}

bool TRemoval::Execute() {
    FProgress.ShowProgressPage();
    FProgress.SetCanClose(false);
    FProgress.ProcessMessages();
    FLog.LineAndPaint(L"Удаление комплекса из папки " + ExcludeTrailingPathDelimiter(FTarget));
    if (!FFolder.Problem().empty()) {
        FLog.Line(L"Ничего не удалено: " + FFolder.Problem());
        FProgress.SetCanClose(true);
        FProgress.EnableExit();
        return false;
    }
    for (const TRecordEntry& entry : FRecord.Entries()) {
        switch (entry.Kind) {
        case TRecordKind::rkFile:
            RemoveFile(entry);
            break;
        case TRecordKind::rkShortcut:
            RemoveShortcut(entry);
            break;
        case TRecordKind::rkFolder:
            FFolders.insert(entry.Path);
            FLeft.Add(entry);
            break;
        case TRecordKind::rkFont:
        case TRecordKind::rkSource:
            FLeft.Add(entry);
            break;
        }
        FProgress.ProcessMessages();
    }
    FLog.Line(L"База данных (DTAfb) и настройки (Settings) сохранены");
    FLog.Line(L"Шрифты и драйвер устройства оставлены в системе");
    RemoveBookkeeping();
    RemoveEmptyFolders();
    FProgress.SetCanClose(true);
    FProgress.EnableExit();
    return FComplete;
}

void TRemoval::RemoveFile(const TRecordEntry& entry) {
    if (IsKeptForClinic(entry.Path)) {
        FLeft.Add(entry);
        return;
    }
    const TFolderItem file = FFolder.Open(entry.Path);
    if (file.State == TFolderItem::fiGone || file.IsFolder()) {
        return; // already gone
    }
    if (file.State == TFolderItem::fiLink) {
        KeepLink(file.Link);
        return;
    }
    if (file.State == TFolderItem::fiOpen &&
        (file.Size != entry.Size || file.WriteTime != entry.WriteTime)) {
        // The clinic's now: it is no longer listed.
        FLog.Line(L"Файл изменён после установки, сохранён: " + entry.Path);
        return;
    }
    if (entry.Edited) {
        FLog.Line(L"Файл существовал до установки, сохранён: " + entry.Path);
        return;
    }
    // Installed read-only, it is ours to clear; made read-only since, someone protects it.
    if (DeleteFromFolder(entry.Path, file, entry.ReadOnly)) {
        NoteFoldersOf(entry.Path);
        return;
    }
    FLeft.Add(entry);
}

void TRemoval::RemoveShortcut(const TRecordEntry& entry) {
    if (!FileExists(entry.Path)) {
        return;
    }
    // A later installation elsewhere owns the shortcut now.
    if (!IsInside(CanonicalFile(ReadShellLinkPath(entry.Path)), FTarget)) {
        FLog.Line(L"Ярлык ведёт в другую папку, сохранён: " + entry.Path);
        return;
    }
    if (!DeleteOne(entry.Path, entry.Path, true)) {
        FLeft.Add(entry);
    }
}

bool TRemoval::DeleteOne(const std::wstring& shown, const std::wstring& path, bool shortcut) {
    const TLogStep step = FLog.Step(
        std::wstring(shortcut ? L"Удаление ярлыка " : L"Удаление файла ") + shown + L"....");
    const bool deleted = DeleteFileW(path.c_str()) != FALSE;
    const DWORD error = GetLastError();
    FLog.Finish(step, deleted);
    if (!deleted) {
        FLog.Line(
            std::wstring(shortcut ? L"Не удалось удалить ярлык " : L"Не удалось удалить файл ") +
            shown + L": " + SysErrorMessage(error));
        FComplete = false;
    }
    return deleted;
}

bool TRemoval::DeleteFromFolder(const std::wstring& shown, const TFolderItem& item,
                                bool clearReadOnly) {
    const TLogStep step = FLog.Step(L"Удаление файла " + shown + L"....");
    const DWORD error =
        item.State == TFolderItem::fiOpen ? DeleteItem(item, clearReadOnly) : item.Error;
    FLog.Finish(step, error == 0);
    if (error != 0) {
        FLog.Line(L"Не удалось удалить файл " + shown + L": " + SysErrorMessage(error));
        FComplete = false;
    }
    return error == 0;
}

// A link stays, and so does whatever it leads to: someone else put it there.
void TRemoval::KeepLink(const std::wstring& link) {
    if (FLinks.insert(link).second) {
        FLog.Line(L"Ссылка оставлена: " + link);
    }
}

// The entry in the list of programs and the record go last, and only when nothing listed is
// left: otherwise they are what lets the removal be run again.
void TRemoval::RemoveBookkeeping() {
    if (FComplete) {
        const TLogStep entry = FLog.Step(L"Удаление записи из списка установленных программ....");
        FComplete = RemoveRegistration(FTarget);
        FLog.Finish(entry, FComplete);
    }
    if (!FComplete) {
        if (!WriteInstallRecord(FTarget, FLeft.Entries())) {
            FLog.Line(L"Не удалось переписать запись об установке " + FTarget + InstallRecordName);
        }
        return;
    }
    DeleteOwnFile(InstallRecordName);
}

void TRemoval::RemoveUninstaller() {
    DeleteOwnFile(UninstallerName);
}

// A file of the removal's own that is still held goes at the next restart.
void TRemoval::DeleteOwnFile(const wchar_t* name) {
    const std::wstring path = FTarget + name;
    const TFolderItem file = FFolder.Open(name);
    if (file.State == TFolderItem::fiGone || file.IsFolder()) {
        return;
    }
    if (file.State == TFolderItem::fiLink) {
        KeepLink(file.Link);
        return;
    }
    const TLogStep step = FLog.Step(std::wstring(L"Удаление файла ") + name + L"....");
    const bool deleted = file.State == TFolderItem::fiOpen && DeleteItem(file, false) == 0;
    FLog.Finish(step, deleted);
    if (deleted) {
        return;
    }
    if (MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        FLog.Line(std::wstring(L"Файл ") + name + L" будет удалён при перезагрузке");
    } else {
        LogFailure(Failure(L"Удаление при перезагрузке не назначено", path));
    }
}

void TRemoval::NoteFoldersOf(const std::wstring& relative) {
    for (size_t slash = relative.rfind(L'\\'); slash != relative.npos && slash > 0;
         slash = relative.rfind(L'\\', slash - 1)) {
        FFolders.insert(relative.substr(0, slash));
    }
}

// Deepest first, so that a folder emptied by its subfolders' removal goes too.
void TRemoval::RemoveEmptyFolders() {
    std::vector<std::wstring> folders(FFolders.begin(), FFolders.end());
    std::stable_sort(
        folders.begin(), folders.end(),
        [](const std::wstring& a, const std::wstring& b) { return Depth(a) > Depth(b); });
    for (const std::wstring& folder : folders) {
        const std::wstring path = FTarget + folder;
        if (IsKeptForClinic(folder) || !IsEmptyFolder(path)) {
            continue;
        }
        // Gone when the handle closes, before the folder above it is looked at.
        const TFolderItem item = FFolder.Open(folder);
        if (item.State == TFolderItem::fiLink) {
            KeepLink(item.Link);
            continue;
        }
        if (item.State == TFolderItem::fiGone ||
            (item.State == TFolderItem::fiOpen && !item.IsFolder())) {
            continue;
        }
        const TLogStep step = FLog.Step(L"Удаление каталога " + folder + L"....");
        const DWORD error =
            item.State == TFolderItem::fiOpen ? DeleteItem(item, false) : item.Error;
        FLog.Finish(step, error == 0);
        if (error != 0) {
            FLog.Line(L"Не удалось удалить каталог " + folder + L": " + SysErrorMessage(error));
        }
    }
}
