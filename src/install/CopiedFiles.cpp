#include "install/CopiedFiles.h"

#include "common/DirEnum.h"
#include "common/Paths.h"

#include <map>

std::set<std::wstring> FilesNotCopied(const std::wstring& source, const std::wstring& target) {
    std::map<std::wstring, TDirEntry, TPathLess> there;
    for (TDirEntry& entry : ListDirEntries(target + L"\\*", faAnyFile)) {
        if (!entry.IsDirectory()) {
            there.emplace(entry.Name, std::move(entry));
        }
    }
    std::set<std::wstring> notCopied;
    for (const TDirEntry& entry : ListDirEntries(source + L"\\*", faAnyFile | faDirectory)) {
        if (IsDotEntry(entry.Name)) {
            continue;
        }
        if (entry.IsDirectory()) {
            notCopied.merge(
                FilesNotCopied(source + L'\\' + entry.Name, target + L'\\' + entry.Name));
            continue;
        }
        const auto copy = there.find(entry.Name);
        if (copy == there.end() || copy->second.Size != entry.Size ||
            copy->second.WriteTime != entry.WriteTime) {
            notCopied.insert(target + L'\\' + entry.Name);
        }
    }
    return notCopied;
}
