#include "primitives/TreeCopy.h"

#include "common/DirEnum.h"
#include "common/Errors.h"
#include "common/Paths.h"
#include "primitives/CopyCrew.h"

#include <map>

namespace {

// The entries of a target folder by name, with their attributes.
using TTargetEntries = std::map<std::wstring, DWORD, TPathLess>;

TTargetEntries TargetEntries(const std::wstring& folder) {
    TTargetEntries entries;
    for (const TDirEntry& entry : ListDirEntries(folder + L"\\*.*", faAnyFile | faDirectory)) {
        entries.emplace(entry.Name, entry.Attributes);
    }
    return entries;
}

DWORD AttributesOf(const TTargetEntries& entries, const std::wstring& name) {
    const auto entry = entries.find(name);
    return entry == entries.end() ? INVALID_FILE_ATTRIBUTES : entry->second;
}

bool IsFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Walks the source once, makes the target's folders and hands each folder's files to the
// crew as soon as their folder is there, so that copying starts while the walk goes on.
class TTreeWalk {
public:
    TTreeWalk(TTreeCopy& result, TCopyCrew& crew) : FResult(result), FCrew(crew) {}

    void Folder(const std::wstring& source, const std::wstring& target, bool existed) {
        if (!existed) {
            ForceDirectories(target);
        }
        // A folder the copy made is empty: nothing to read there.
        const TTargetEntries there = existed ? TargetEntries(target) : TTargetEntries();
        TTreeFolder folder{target, existed, {}};
        std::vector<TCopyJob> jobs;
        std::vector<std::wstring> subfolders;
        for (const TDirEntry& entry : ListDirEntries(source + L"\\*.*", faAnyFile | faDirectory)) {
            if (IsDotEntry(entry.Name)) {
                continue;
            }
            if (!entry.IsDirectory()) {
                const DWORD targetAttributes = AttributesOf(there, entry.Name);
                folder.Files.push_back({entry.Name, IsFile(targetAttributes), false});
                jobs.push_back({source + L'\\' + entry.Name, target + L'\\' + entry.Name,
                                targetAttributes, entry.Attributes, ToFileTime(entry.WriteTime)});
            } else if ((entry.Attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0) {
                subfolders.push_back(entry.Name);
            }
        }
        FResult.Folders.push_back(std::move(folder));
        FCrew.Add(std::move(jobs));
        for (const std::wstring& name : subfolders) {
            Folder(source + L'\\' + name, target + L'\\' + name,
                   IsFolder(AttributesOf(there, name)));
        }
    }

private:
    TTreeCopy& FResult;
    TCopyCrew& FCrew;
};

bool IsDiskFull(DWORD error) {
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
}

// Copies running side by side share the disk: on a full one, a file can fail only because
// another one's copy held the room for a moment, which a copy after the other would not
// meet. Each copy that failed so is tried once more, alone, in the walk's order.
void RetryDiskFull(std::deque<TCopyJob>& jobs) {
    std::vector<char> buffer;
    for (TCopyJob& job : jobs) {
        if (IsDiskFull(job.Error)) {
            buffer.resize(CopyChunk);
            job.Error = 0;
            job.TargetAttributes = GetFileAttributesW(job.Target.c_str());
            CopyWritable(job, buffer);
        }
    }
}

} // namespace

TTreeCopy CopyFolderTreeReporting(const std::wstring& source, const std::wstring& target,
                                  unsigned threads) {
    TTreeCopy result;
    std::deque<TCopyJob> jobs;
    {
        TCopyCrew crew(threads);
        TTreeWalk(result, crew).Folder(source, target, DirectoryExists(target));
        jobs = crew.Finish();
    }
    if (threads > 1) {
        RetryDiskFull(jobs);
    }
    auto job = jobs.begin();
    for (TTreeFolder& folder : result.Folders) {
        for (TTreeFile& file : folder.Files) {
            file.Copied = job->Error == 0;
            if (!file.Copied) {
                result.Failures.push_back({job->Source, job->Target, SysErrorMessage(job->Error)});
            }
            ++job;
        }
    }
    return result;
}
