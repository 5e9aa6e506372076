#include "install/JournalTrust.h"

#include "common/AdminOnly.h"
#include "common/CanonicalPath.h"
#include "common/Paths.h"
#include "common/WindowsFolder.h"
#include "install/SuiteShortcut.h"

namespace {

bool InTarget(const std::wstring& path, const std::wstring& target) {
    return SamePath(IncludeTrailingPathDelimiter(path), target) ||
           (IsBelow(path, target) && CanonicalFile(path) == path);
}

// The suite's shortcut on a desktop: the killed run's user's, which need not be this start's.
bool IsSuiteShortcut(const std::wstring& path, const std::wstring& target) {
    const std::wstring ours = SuiteShortcutFile(target);
    const std::wstring folder = ExtractFileDir(path);
    return CanonicalFile(path) == path && SamePath(ExtractFileName(path), ExtractFileName(ours)) &&
           SamePath(ExtractFileName(folder), ExtractFileName(ExtractFileDir(ours)));
}

// A name in the rollback folder, or a path below one there: never anything above it.
bool IsAsideName(const std::wstring& name) {
    size_t start = 0;
    for (size_t end;; start = end + 1) {
        end = name.find(L'\\', start);
        if (!IsPlainName(name.substr(start, end - start))) {
            return false;
        }
        if (end == name.npos) {
            return true;
        }
    }
}

bool InPlace(const TJournalLine& line, const std::wstring& target) {
    switch (line.Kind) {
    case TJournalKind::jkFolder:
    case TJournalKind::jkNewTree:
    case TJournalKind::jkRestored:
    case TJournalKind::jkTimes:
        return InTarget(line.Path, target);
    case TJournalKind::jkFile:
        return InTarget(line.Path, target) || IsSuiteShortcut(line.Path, target);
    case TJournalKind::jkSaved:
        return (InTarget(line.Path, target) || IsSuiteShortcut(line.Path, target)) &&
               IsAsideName(line.Other);
    case TJournalKind::jkSavedFolder:
    case TJournalKind::jkReturned:
        return InTarget(line.Path, target) && IsAsideName(line.Other);
    case TJournalKind::jkRenamed:
        return InTarget(line.Path, target) && InTarget(line.Other, target);
    case TJournalKind::jkFont:
        return IsInWindowsFontsFolder(line.Path);
    case TJournalKind::jkTarget:
    case TJournalKind::jkValue:
    case TJournalKind::jkKey:
    case TJournalKind::jkRan:
    case TJournalKind::jkCommit:
        break;
    }
    return true;
}

// Empty when the journal stands in its run's rollback folder and names nothing elsewhere.
std::wstring OutOfPlace(const std::wstring& journal, const std::vector<TJournalLine>& lines) {
    const std::wstring& target = lines.front().Path;
    const std::wstring folder = ExtractFileDir(journal);
    if (CanonicalFolder(target) != target || !SamePath(ExtractFilePath(folder), target) ||
        !folder.substr(target.size()).starts_with(L".rollback-")) {
        return L"журнал не в папке отмены изменений папки " + target;
    }
    for (const TJournalLine& line : lines) {
        if (!InPlace(line, target)) {
            return L"вне папки установки: " + line.Path + L" " + line.Other;
        }
    }
    return {};
}

} // namespace

TJournalRead ReadTrustedJournal(const std::wstring& journal, std::vector<TJournalLine>& lines,
                                std::wstring& why) {
    const TUniqueFile file = OpenRollbackJournal(journal);
    if (!file) {
        return TJournalRead::jrUnreadable;
    }
    why = ChangeableByOthers(file.get());
    if (!why.empty()) {
        return TJournalRead::jrRefused;
    }
    if (!ReadRollbackJournal(file.get(), lines)) {
        return TJournalRead::jrUnreadable;
    }
    why = OutOfPlace(journal, lines);
    return why.empty() ? TJournalRead::jrRead : TJournalRead::jrRefused;
}
