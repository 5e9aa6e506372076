// Undoing a journal: after a stop, or at the start after a run that was killed. Every step
// may be done again without harm, so a rollback that is itself cut short is simply repeated.
#include "install/FolderMerge.h"
#include "install/JournalTrust.h"
#include "install/Rollback.h"
#include "install/RollbackPending.h"

#include "common/DirEnum.h"
#include "common/Errors.h"
#include "common/Failure.h"
#include "common/Handles.h"
#include "common/Registry.h"
#include "integration/Fonts.h"
#include "primitives/DeleteTree.h"
#include "primitives/FilePrimitives.h"

#include <vector>

namespace {

const wchar_t* const PendingKey = L"Software\\Sontira\\Setup";
const wchar_t* const PendingValue = L"RollbackJournal";

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The original was copied aside and never replaced: the two carry the same stamp.
bool SameStamp(const std::wstring& a, const std::wstring& b) {
    WIN32_FILE_ATTRIBUTE_DATA x{}, y{};
    return GetFileAttributesExW(a.c_str(), GetFileExInfoStandard, &x) &&
           GetFileAttributesExW(b.c_str(), GetFileExInfoStandard, &y) &&
           x.dwFileAttributes == y.dwFileAttributes && x.nFileSizeLow == y.nFileSizeLow &&
           x.nFileSizeHigh == y.nFileSizeHigh &&
           CompareFileTime(&x.ftLastWriteTime, &y.ftLastWriteTime) == 0;
}

// Read-only or not; a file that will not go keeps its attributes.
bool DeleteFileAnyway(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly) {
        SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
    if (DeleteFileW(path.c_str())) {
        return true;
    }
    const DWORD error = GetLastError();
    if (readOnly) {
        SetFileAttributesW(path.c_str(), attributes);
    }
    SetLastError(error);
    return false;
}

void SetFolderTime(const std::wstring& folder, const std::wstring& time) {
    const ULONGLONG ticks = std::wcstoull(time.c_str(), nullptr, 10);
    SetFolderWriteTime(folder, ToFileTime(ticks));
}

class TUndo {
public:
    TUndo(std::wstring folder, const std::function<void(const std::wstring&)>& log)
        : FFolder(std::move(folder)), FLog(log) {}

    // A database renamed back already (its .bak is gone) is the clinic's again: a rollback
    // repeated after a power cut must not take it for the run's copy.
    void NoteRenamedBack(const std::vector<TJournalLine>& lines) {
        for (const TJournalLine& line : lines) {
            if (line.Kind == TJournalKind::jkRenamed && !Exists(line.Other)) {
                FLeft.insert(line.Path);
            }
        }
    }

    void One(const TJournalLine& line);
    void RetryFolders();
    // Last of all, when nothing more changes in them.
    void SetFolderTimes() const {
        for (const TJournalLine& line : FTimes) {
            SetFolderTime(line.Path, line.Other);
        }
    }
    bool Whole() const { return FWhole; }
    bool FontsChanged() const { return FFontsChanged; }

private:
    void Done(const std::wstring& what) { FLog(L"Отменено: " + what); }
    void Failed(const std::wstring& what, DWORD error = GetLastError()) {
        FLog(L"Не удалось отменить: " + what + L": " + SysErrorMessage(error));
        FWhole = false;
    }
    void RemoveFolder(const std::wstring& path);
    void UndoFile(const std::wstring& path, const wchar_t* what);
    void UndoSaved(const TJournalLine& line);
    void UndoSavedFolder(const TJournalLine& line);
    void UndoRenamed(const TJournalLine& line);
    void UndoValue(const TJournalLine& line);

    std::wstring FFolder;
    const std::function<void(const std::wstring&)>& FLog;
    std::set<std::wstring, TPathLess> FLeft;
    std::vector<std::wstring> FFolders; // not empty yet: tried again at the end
    std::vector<TJournalLine> FTimes;
    bool FWhole = true;
    bool FFontsChanged = false;
};

void TUndo::One(const TJournalLine& line) {
    switch (line.Kind) {
    case TJournalKind::jkFolder:
        RemoveFolder(line.Path);
        break;
    case TJournalKind::jkNewTree:
        if (Exists(line.Path)) {
            DeleteTree(line.Path) ? Done(L"удалена папка " + line.Path)
                                  : Failed(L"папка " + line.Path + L" удалена не вся");
        }
        break;
    case TJournalKind::jkFile:
        UndoFile(line.Path, L"удалён файл ");
        break;
    case TJournalKind::jkFont:
        UndoFile(line.Path, L"удалён шрифт ");
        FFontsChanged = true;
        break;
    case TJournalKind::jkSaved:
        UndoSaved(line);
        break;
    case TJournalKind::jkSavedFolder:
        UndoSavedFolder(line);
        break;
    case TJournalKind::jkRenamed:
        UndoRenamed(line);
        break;
    case TJournalKind::jkRestored:
        FLeft.insert(line.Path);
        break;
    case TJournalKind::jkReturned:
        // Aside again, so that the folder it was returned into can go whole.
        if (Exists(line.Path) && !Exists(FFolder + line.Other) &&
            !MoveFileExW(line.Path.c_str(), (FFolder + line.Other).c_str(), 0)) {
            Failed(line.Path);
        }
        break;
    case TJournalKind::jkValue:
        UndoValue(line);
        break;
    case TJournalKind::jkKey: {
        const LSTATUS status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, line.Path.c_str());
        status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND
            ? Done(L"удалён раздел реестра HKLM\\" + line.Path)
            : Failed(L"раздел реестра HKLM\\" + line.Path, static_cast<DWORD>(status));
        break;
    }
    case TJournalKind::jkRan:
        FLog(L"Не отменяется: выполненная программа " + line.Path);
        break;
    case TJournalKind::jkTimes:
        FTimes.push_back(line);
        break;
    case TJournalKind::jkTarget:
    case TJournalKind::jkCommit:
        break;
    }
}

void TUndo::RemoveFolder(const std::wstring& path) {
    if (!Exists(path)) {
        return;
    }
    if (RemoveDirectoryW(path.c_str())) {
        Done(L"удалена папка " + path);
    } else {
        FFolders.push_back(path); // the rollback folder may still be in it
    }
}

void TUndo::RetryFolders() {
    for (const std::wstring& path : FFolders) {
        if (RemoveDirectoryW(path.c_str())) {
            Done(L"удалена папка " + path);
        } else if (GetLastError() != ERROR_DIR_NOT_EMPTY) {
            Failed(L"папка " + path);
        } else {
            // Something the run did not make is in it now: it stays, as the run found it.
            FLog(L"Папка не пуста и оставлена: " + path);
        }
    }
}

void TUndo::UndoFile(const std::wstring& path, const wchar_t* what) {
    if (FLeft.contains(path) || !Exists(path)) {
        return;
    }
    DeleteFileAnyway(path) ? Done(what + path) : Failed(L"файл " + path);
}

void TUndo::UndoSaved(const TJournalLine& line) {
    const std::wstring aside = FFolder + line.Other;
    if (FLeft.contains(line.Path) || !Exists(aside)) {
        return; // back already, or never moved
    }
    // Copied aside because it was held, and never replaced: it is as it was.
    const bool unchanged = Exists(line.Path) && SameStamp(line.Path, aside);
    if (Exists(line.Path) && !DeleteFileAnyway(line.Path)) {
        if (!unchanged) {
            Failed(L"файл " + line.Path);
        }
        return;
    }
    if (MoveFileExW(aside.c_str(), line.Path.c_str(), MOVEFILE_COPY_ALLOWED)) {
        Done(L"возвращён файл " + line.Path);
    } else if (!unchanged || !Exists(line.Path)) {
        // Wine reports an immutable file deleted and keeps it: unchanged, that is no loss.
        Failed(L"файл " + line.Path);
    }
}

void TUndo::UndoSavedFolder(const TJournalLine& line) {
    const std::wstring aside = FFolder + line.Other;
    if (!Exists(aside)) {
        return;
    }
    if (!DeleteTree(line.Path)) {
        Failed(L"папка " + line.Path + L" удалена не вся", 0);
        return;
    }
    MoveFileExW(aside.c_str(), line.Path.c_str(), 0) ? Done(L"возвращена папка " + line.Path)
                                                     : Failed(L"папка " + line.Path);
}

void TUndo::UndoRenamed(const TJournalLine& line) {
    if (FLeft.contains(line.Path) || !Exists(line.Other)) {
        return;
    }
    if (Exists(line.Path)) {
        Failed(L"база данных " + line.Other + L": на её месте другой файл", ERROR_FILE_EXISTS);
        return;
    }
    MoveFileExW(line.Other.c_str(), line.Path.c_str(), 0)
        ? Done(L"база данных " + line.Other + L" возвращена под именем " + line.Path)
        : Failed(L"база данных " + line.Other);
}

void TUndo::UndoValue(const TJournalLine& line) {
    const std::wstring shown = L"параметр реестра HKLM\\" + line.Path + L"\\" + line.Other;
    LSTATUS status;
    if (line.Absent) {
        status = RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, line.Path.c_str(), line.Other.c_str());
        if (status == ERROR_FILE_NOT_FOUND) {
            return;
        }
    } else {
        status = RegSetKeyValueW(HKEY_LOCAL_MACHINE, line.Path.c_str(), line.Other.c_str(),
                                 line.Type, line.Data.data(), static_cast<DWORD>(line.Data.size()));
    }
    status == ERROR_SUCCESS ? Done((line.Absent ? L"удалён " : L"возвращён ") + shown)
                            : Failed(shown, static_cast<DWORD>(status));
}

std::wstring FolderOf(const std::wstring& journal) {
    return journal.substr(0, journal.find_last_of(L'\\') + 1);
}

// Everything but the journal first: a cut here leaves a journal that still tells the story.
bool DeleteRollbackFolder(const std::wstring& journal) {
    const std::wstring folder = FolderOf(journal);
    bool whole = true;
    const DWORD all = faAnyFile | faDirectory | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (const TDirEntry& entry : ListDirEntries(folder + L"*", all)) {
        if (!IsDotEntry(entry.Name) && !SamePath(entry.Name, JournalName)) {
            whole = DeleteTree(folder + entry.Name) && whole;
        }
    }
    if (!whole) {
        return false;
    }
    DeleteFileW(journal.c_str());
    RemoveDirectoryW(ExcludeTrailingPathDelimiter(folder).c_str());
    ClearPendingJournal(journal);
    return !Exists(folder);
}

// What the run did not replace in a folder it moved aside goes back into the new one; a new
// one that never came (its copy failed) is the old one again.
void MergeBack(const std::wstring& aside, const std::wstring& folder) {
    if (!Exists(folder)) {
        MoveFileExW(aside.c_str(), folder.c_str(), 0) ||
            LogFailure(Failure(L"Папка не возвращена", folder));
        return;
    }
    ReturnMissing(aside, folder, L"",
                  [](const std::wstring&, const std::wstring&) { return true; });
}

} // namespace

bool SetPendingJournal(const std::wstring& journal) {
    const TUniqueKey key = OpenOrCreateKey(HKEY_LOCAL_MACHINE, PendingKey);
    const DWORD bytes = static_cast<DWORD>((journal.size() + 1) * sizeof(wchar_t));
    return key &&
           RegSetValueExW(key.get(), PendingValue, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(journal.c_str()), bytes) == ERROR_SUCCESS;
}

std::wstring PendingJournal() {
    return ReadSubkeyString(HKEY_LOCAL_MACHINE, PendingKey, PendingValue);
}

void ClearPendingJournal(const std::wstring& journal) {
    if (SamePath(PendingJournal(), journal)) {
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, PendingKey, PendingValue);
    }
}

bool FinishCommit(const std::wstring& journal) {
    std::vector<TJournalLine> lines;
    std::wstring why;
    switch (ReadTrustedJournal(journal, lines, why)) {
    case TJournalRead::jrRead:
        for (const TJournalLine& line : lines) {
            const std::wstring aside = FolderOf(journal) + line.Other;
            if (line.Kind == TJournalKind::jkSavedFolder && Exists(aside)) {
                MergeBack(aside, line.Path);
            }
        }
        break;
    case TJournalRead::jrRefused:
        // What it keeps aside may be the clinic's: nothing goes without a journal to trust.
        return false;
    case TJournalRead::jrUnreadable:
        break;
    }
    return DeleteRollbackFolder(journal);
}

bool UndoJournal(const std::wstring& journal, const std::function<void(const std::wstring&)>& log) {
    std::vector<TJournalLine> lines;
    std::wstring why;
    switch (ReadTrustedJournal(journal, lines, why)) {
    case TJournalRead::jrRead:
        break;
    case TJournalRead::jrUnreadable:
        log(L"Журнал отмены изменений не читается: " + journal);
        return false;
    case TJournalRead::jrRefused:
        log(L"Журнал отмены изменений отклонён (" + why + L"), ничего не отменено: " + journal);
        return false;
    }
    if (lines.back().Kind == TJournalKind::jkCommit) {
        return FinishCommit(journal);
    }
    TUndo undo(FolderOf(journal), log);
    undo.NoteRenamedBack(lines);
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        undo.One(*line);
    }
    if (undo.FontsChanged()) {
        BroadcastFontChange();
    }
    if (!undo.Whole() || !DeleteRollbackFolder(journal)) {
        log(L"Журнал отмены изменений сохранён для следующего запуска: " + journal);
        return false;
    }
    undo.RetryFolders();
    undo.SetFolderTimes();
    return undo.Whole();
}

TInterruptedRun UndoInterruptedRun(const TRollback::TLogLine& log) {
    TInterruptedRun run;
    const std::wstring journal = PendingJournal();
    if (journal.empty()) {
        return run;
    }
    std::vector<TJournalLine> lines;
    if (!Exists(journal)) {
        ClearPendingJournal(journal); // its folder is gone with everything it could undo
        return run;
    }
    std::wstring why;
    const TJournalRead read = ReadTrustedJournal(journal, lines, why);
    if (read == TJournalRead::jrRead && lines.back().Kind == TJournalKind::jkCommit) {
        FinishCommit(journal);
        return run;
    }
    run.Found = true;
    if (read == TJournalRead::jrRefused) {
        // No later start would trust it either: it is forgotten, and its folder left as it is.
        run.Refused = why;
        run.Target = ExtractFilePath(ExtractFileDir(journal));
        log(L"Журнал прерванной установки отклонён (" + why + L"), ничего не отменено: " + journal);
        ClearPendingJournal(journal);
        return run;
    }
    run.Target = lines.empty() ? FolderOf(journal) : lines.front().Path;
    log(L"Найдена прерванная установка в папке " + run.Target + L"; её изменения отменяются");
    run.Undone = UndoJournal(journal, log);
    return run;
}
