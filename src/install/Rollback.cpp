#include "install/Rollback.h"
#include "install/FolderMerge.h"

#include "common/AdminOnly.h"
#include "common/CanonicalPath.h"
#include "common/DirEnum.h"
#include "common/Failure.h"
#include "common/Handles.h"
#include "common/Registry.h"
#include "install/InstallPlan.h"
#include "install/RollbackPending.h"
#include "primitives/DeleteTree.h"
#include "primitives/FilePrimitives.h"

#include <cstdio>

namespace {

std::wstring Stamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[48];
    swprintf(text, 48, L"%04u%02u%02u-%02u%02u%02u-%lu", now.wYear, now.wMonth, now.wDay, now.wHour,
             now.wMinute, now.wSecond, GetCurrentProcessId());
    return text;
}

// What the path page makes and nothing else: the target and its empty settings folder belong
// to this installation and go with it when it is undone.
bool IsEmptyFolder(const std::wstring& folder) {
    for (const TDirEntry& entry :
         ListDirEntries(folder + L"*",
                        faAnyFile | faDirectory | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
        if (!IsDotEntry(entry.Name)) {
            return false;
        }
    }
    return true;
}

bool IsFreshTarget(const std::wstring& target, const std::wstring& settings) {
    const DWORD all = faAnyFile | faDirectory | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (const TDirEntry& entry : ListDirEntries(target + L"*", all)) {
        if (!IsDotEntry(entry.Name) && !(entry.IsDirectory() && SamePath(entry.Name, settings))) {
            return false;
        }
    }
    return IsEmptyFolder(target + settings + L"\\");
}

// Where the original goes: renamed when it may be, else copied (a read-only file, which the
// run cannot replace anyway; one held by another program; one on another volume).
bool MoveOrCopyAside(const std::wstring& path, const std::wstring& aside, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_READONLY) == 0 &&
        MoveFileExW(path.c_str(), aside.c_str(), 0)) {
        return true;
    }
    return CopyFileW(path.c_str(), aside.c_str(), TRUE) ||
           LogFailure(Failure(L"Файл не сохранён для отмены изменений", path));
}

// Every folder of the target with its last-write time, which the run's changes move on.
void FolderTimes(const std::wstring& folder, std::vector<TJournalLine>& lines) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(folder.c_str(), GetFileExInfoStandard, &data)) {
        return;
    }
    TJournalLine line;
    line.Kind = TJournalKind::jkTimes;
    line.Path = folder;
    line.Other = std::to_wstring(ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32 |
                                 data.ftLastWriteTime.dwLowDateTime);
    lines.push_back(std::move(line));
    for (const TDirEntry& entry : ListDirEntries(
             folder + L"\\*", faDirectory | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
        if (entry.IsDirectory() && !IsDotEntry(entry.Name) &&
            (entry.Attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
            FolderTimes(folder + L"\\" + entry.Name, lines);
        }
    }
}

} // namespace

bool TRollback::Begin(const std::wstring& target) {
    FTarget = target;
    const std::wstring settings = ExcludeTrailingPathDelimiter(SettingsFolder());
    const bool fresh = IsFreshTarget(target, settings);
    std::vector<TJournalLine> times;
    FolderTimes(ExcludeTrailingPathDelimiter(target), times);
    FFolder = target + L".rollback-" + Stamp() + L"\\";
    if (!CreateAdminOnlyFolder(FFolder)) {
        LogFailure(Failure(L"Папка отмены изменений не создана; изменения не отменяются", FFolder));
        FFolder.clear();
        return false;
    }
    SetFileAttributesW(FFolder.c_str(), FILE_ATTRIBUTE_HIDDEN);
    if (!FJournal.Create(FFolder, target)) {
        LogFailure(Failure(L"Журнал отмены изменений не создан; изменения не отменяются", FFolder));
        DeleteTree(ExcludeTrailingPathDelimiter(FFolder));
        FFolder.clear();
        return false;
    }
    // Without it a killed run is undone by nobody; a stopped one still is.
    if (!SetPendingJournal(FFolder + JournalName)) {
        LogFailure(Failure(L"Журнал отмены изменений не назван в реестре", FFolder));
    }
    Write(times);
    if (fresh) {
        Note(TJournalKind::jkFolder, ExcludeTrailingPathDelimiter(target));
        Note(TJournalKind::jkFolder, target + settings);
    }
    return true;
}

bool TRollback::Note(TJournalKind kind, const std::wstring& path, const std::wstring& other) {
    TJournalLine line;
    line.Kind = kind;
    line.Path = path;
    line.Other = other;
    return Write({line});
}

// A journal with a gap could undo the wrong thing: after a failed write nothing more is
// moved aside, and what follows is not undone.
bool TRollback::Write(const std::vector<TJournalLine>& lines) {
    if (FJournalFailed) {
        return false;
    }
    if (!FJournal.Append(lines)) {
        FJournalFailed = true;
        return LogFailure(Failure(L"Журнал отмены изменений не дописан", FFolder + JournalName));
    }
    return true;
}

std::wstring TRollback::NextAside() {
    return std::to_wstring(++FAsideCount);
}

void TRollback::BeforeFolder(const std::wstring& folder) {
    const std::wstring path = ExcludeTrailingPathDelimiter(folder);
    if (!Active() || DirectoryExists(path) || !FSeen.insert(path).second) {
        return;
    }
    Note(TJournalKind::jkFolder, path);
}

void TRollback::BeforeCreate(const std::wstring& path) {
    if (!Active() || FileExists(path) || !FSeen.insert(path).second) {
        return;
    }
    Note(TJournalKind::jkFile, path);
}

void TRollback::BeforeReplace(const std::wstring& path) {
    if (Active() && FSeen.insert(path).second) {
        SaveAside(path, false);
    }
}

void TRollback::BeforeEdit(const std::wstring& path) {
    if (Active() && FSeen.insert(path).second) {
        SaveAside(path, true);
    }
}

void TRollback::SaveAside(const std::wstring& path, bool keepInPlace) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        Note(TJournalKind::jkFile, path);
        return;
    }
    const std::wstring name = NextAside();
    const std::wstring aside = FFolder + name;
    if (!Note(TJournalKind::jkSaved, path, name) || !MoveOrCopyAside(path, aside, attributes)) {
        return;
    }
    FSavedAs[path] = name;
    // An edit changes a copy of the original, which waits aside.
    if (keepInPlace && !FileExists(path) && !CopyFileW(aside.c_str(), path.c_str(), TRUE)) {
        LogFailure(Failure(L"Файл не возвращён для изменения", path));
        MoveFileExW(aside.c_str(), path.c_str(), 0);
    }
}

// Each folder of the tree is read once; its lines go to the journal together, then its
// files are moved aside.
void TRollback::BeforeTree(const std::wstring& source, const std::wstring& target) {
    if (!Active()) {
        return;
    }
    if (!DirectoryExists(target)) {
        if (FSeen.insert(target).second) {
            Note(TJournalKind::jkNewTree, target);
        }
        return;
    }
    // A folder of its own goes aside whole, one rename for thousands of files; what the copy
    // does not replace comes back at the commit.
    if (!SamePath(IncludeTrailingPathDelimiter(target), FTarget) && MoveFolderAside(target)) {
        return;
    }
    std::map<std::wstring, DWORD, TPathLess> there;
    for (const TDirEntry& entry : ListDirEntries(target + L"\\*", faAnyFile)) {
        if (!entry.IsDirectory()) {
            there.emplace(entry.Name, entry.Attributes);
        }
    }
    std::vector<TJournalLine> lines;
    for (const TDirEntry& entry : ListDirEntries(source + L"\\*.*", faAnyFile)) {
        const std::wstring path = target + L'\\' + entry.Name;
        if (IsDotEntry(entry.Name) || !FSeen.insert(path).second) {
            continue;
        }
        TJournalLine line;
        line.Path = path;
        line.Kind = there.contains(entry.Name) ? TJournalKind::jkSaved : TJournalKind::jkFile;
        if (line.Kind == TJournalKind::jkSaved) {
            line.Other = NextAside();
        }
        lines.push_back(std::move(line));
    }
    if (!lines.empty() && !Write(lines)) {
        return;
    }
    for (const TJournalLine& line : lines) {
        if (line.Kind == TJournalKind::jkSaved &&
            MoveOrCopyAside(line.Path, FFolder + line.Other,
                            there[line.Path.substr(target.size() + 1)])) {
            FSavedAs[line.Path] = line.Other;
        }
    }
    for (const TDirEntry& entry : ListDirEntries(source + L"\\*.*", faDirectory)) {
        if (entry.IsDirectory() && !IsDotEntry(entry.Name)) {
            BeforeTree(source + L'\\' + entry.Name, target + L'\\' + entry.Name);
        }
    }
}

void TRollback::BeforeShellFolder(const std::wstring& folder) {
    if (!Active() || !FSeen.insert(folder).second) {
        return;
    }
    if (!DirectoryExists(folder)) {
        Note(TJournalKind::jkNewTree, folder);
        return;
    }
    if (!MoveFolderAside(folder) && !CopyFolderTree(folder, FFolder + FAsideOf[folder]).empty()) {
        // Something in it is held: the shell's copy then merges into it.
        LogFailure(Failure(L"Папка не сохранена для отмены изменений", folder, 0));
    }
}

// False when the folder could not be renamed (something in it is held): the journal line
// stands, and its undo finds no folder aside unless the caller copies one there.
bool TRollback::MoveFolderAside(const std::wstring& folder) {
    const std::wstring name = NextAside();
    FAsideOf[folder] = name;
    return Note(TJournalKind::jkSavedFolder, folder, name) &&
           MoveFileExW(folder.c_str(), (FFolder + name).c_str(), 0);
}

void TRollback::AfterRename(const std::wstring& from, const std::wstring& to) {
    if (Active()) {
        Note(TJournalKind::jkRenamed, from, to);
    }
}

void TRollback::LeaveAlone(const std::wstring& path) {
    if (Active()) {
        Note(TJournalKind::jkRestored, path);
    }
}

void TRollback::PutBack(const std::wstring& path) {
    const auto saved = FSavedAs.find(path);
    if (!Active() || saved == FSavedAs.end() || FileExists(path)) {
        return;
    }
    const std::wstring aside = FFolder + saved->second;
    if (Note(TJournalKind::jkRestored, path) && MoveFileExW(aside.c_str(), path.c_str(), 0)) {
        FSavedAs.erase(saved);
    }
}

void TRollback::AfterFolder(const std::wstring& folder) {
    if (!Active()) {
        return;
    }
    for (const auto& [moved, name] : FAsideOf) {
        const bool inside = SamePath(moved, folder) || IsBelow(moved, folder + L'\\');
        if (inside && DirectoryExists(FFolder + name) && DirectoryExists(moved)) {
            // Each item goes back by one rename, noted first.
            ReturnMissing(FFolder + name, moved, name,
                          [this](const std::wstring& to, const std::wstring& below) {
                              return Note(TJournalKind::jkReturned, to, below);
                          });
        }
    }
}

std::wstring TRollback::EarlierPlace(const std::wstring& folder) const {
    for (std::wstring above = folder; above.size() >= FTarget.size();
         above = ExtractFileDir(above)) {
        const auto aside = FAsideOf.find(above);
        if (aside != FAsideOf.end() && DirectoryExists(FFolder + aside->second)) {
            return FFolder + aside->second + folder.substr(above.size());
        }
    }
    return folder;
}

void TRollback::BeforeValue(const std::wstring& key, const std::wstring& name) {
    if (!Active() || !FSeen.insert(L"\\registry\\" + key + L"\\" + name).second) {
        return;
    }
    TJournalLine line;
    line.Kind = TJournalKind::jkValue;
    line.Path = key;
    line.Other = name;
    line.Absent = !ReadRawValue(HKEY_LOCAL_MACHINE, key, name, line.Type, line.Data);
    Write({line});
}

void TRollback::BeforeKey(const std::wstring& key) {
    if (!Active() || !FSeen.insert(L"\\registry\\" + key).second) {
        return;
    }
    std::vector<TJournalLine> lines;
    TUniqueKey opened;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, opened.put()) ==
        ERROR_SUCCESS) {
        for (DWORD index = 0;; ++index) {
            wchar_t name[16384];
            DWORD length = 16384;
            if (RegEnumValueW(opened.get(), index, name, &length, nullptr, nullptr, nullptr,
                              nullptr) != ERROR_SUCCESS) {
                break;
            }
            TJournalLine line;
            line.Kind = TJournalKind::jkValue;
            line.Path = key;
            line.Other.assign(name, length);
            if (ReadRawValue(HKEY_LOCAL_MACHINE, key, line.Other, line.Type, line.Data)) {
                lines.push_back(std::move(line));
            }
        }
    }
    TJournalLine whole;
    whole.Kind = TJournalKind::jkKey;
    whole.Path = key;
    lines.push_back(std::move(whole));
    Write(lines);
}

void TRollback::BeforeFont(const std::wstring& path) {
    if (Active() && !FileExists(path) && FSeen.insert(path).second) {
        Note(TJournalKind::jkFont, path);
    }
}

void TRollback::Ran(const std::wstring& program) {
    if (Active()) {
        Note(TJournalKind::jkRan, program);
    }
}

bool TRollback::Commit() {
    if (FFolder.empty()) {
        return true;
    }
    TJournalLine commit;
    commit.Kind = TJournalKind::jkCommit;
    FJournal.Append(std::vector<TJournalLine>{commit});
    FJournal.Close();
    const std::wstring journal = FFolder + JournalName;
    FFolder.clear();
    return FinishCommit(journal);
}

bool TRollback::Undo(const TLogLine& log) {
    if (FFolder.empty()) {
        return true;
    }
    FJournal.Close();
    const std::wstring journal = FFolder + JournalName;
    FFolder.clear();
    return UndoJournal(journal, log);
}
