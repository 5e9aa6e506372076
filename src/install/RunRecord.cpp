#include "install/RunRecord.h"

#include "common/DirEnum.h"
#include "common/Failure.h"
#include "common/Paths.h"
#include "common/SetupLog.h"
#include "common/Utf8.h"
#include "install/WholeLines.h"

#include <algorithm>

namespace {

using TFolderFiles = std::map<std::wstring, TDirEntry, TPathLess>;

HANDLE OpenForAppending(const std::wstring& path) {
    // Support may read the record while the run writes it. Written at its end, and cut back
    // there when a write falls short (AppendWholeLines).
    return CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_WRITE_DATA | FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A folder's files by name; none when the folder is not there.
TFolderFiles FolderFiles(const std::wstring& folder) {
    TFolderFiles files;
    for (TDirEntry& entry : ListDirEntries(folder + L"\\*", faAnyFile)) {
        if (!entry.IsDirectory()) {
            files.emplace(entry.Name, std::move(entry));
        }
    }
    return files;
}

} // namespace

std::wstring TRunRecord::Begin(const std::wstring& target,
                               const std::function<void(const std::wstring&)>& settingAside) {
    FTarget = IncludeTrailingPathDelimiter(target);
    const std::wstring path = FTarget + InstallRecordName;
    // Read once for the whole run: every file written below the target is looked up in it.
    FRestart = TPendingDeletions(FTarget);
    WillWrite(path);
    TRecordFile earlier = ReadInstallRecord(FTarget);
    std::wstring note;
    if (earlier.State == TRecordState::rsRead) {
        FEntries = std::move(earlier.Entries);
    } else if (earlier.State == TRecordState::rsBad) {
        const std::wstring aside = FTarget + L"InstallRecord.bad";
        if (settingAside) {
            settingAside(aside);
        }
        if (!MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            LogFailure(Failure(L"Запись об установке не отложена", aside));
        }
        note = L"Запись об установке повреждена (" + earlier.Error +
               L"); она сохранена как InstallRecord.bad, начата новая";
    }
    if (!Compact()) {
        LogFailure(Failure(L"Запись об установке не начата", path));
    }
    return note;
}

void TRunRecord::Continue(const std::wstring& target, TRecordSet entries) {
    FTarget = IncludeTrailingPathDelimiter(target);
    FEntries = std::move(entries);
    FFile.reset(OpenForAppending(FTarget + InstallRecordName));
    if (!FFile) {
        LogFailure(Failure(L"Запись об установке не открыта", FTarget + InstallRecordName));
    }
}

std::wstring TRunRecord::Relative(const std::wstring& path) const {
    if (FTarget.empty() || !StartsWithPath(path, FTarget)) {
        return {};
    }
    // Folders joined to a target given with its delimiter carry a doubled one.
    std::wstring relative;
    for (wchar_t c : path.substr(FTarget.size())) {
        if (c != L'\\' || (!relative.empty() && relative.back() != L'\\')) {
            relative += c;
        }
    }
    return ExcludeTrailingPathDelimiter(relative);
}

void TRunRecord::WillWrite(const std::wstring& path) {
    if (!FRestart.Pending(path)) {
        return;
    }
    if (FRestart.Cancel(path)) {
        LogLine(L"Удаление при перезагрузке отменено: " + path);
    } else {
        LogFailure(Failure(L"Удаление при перезагрузке не отменено", path));
    }
}

void TRunRecord::Expect(const std::wstring& path) {
    const std::wstring relative = Relative(path);
    if (relative.empty()) {
        return;
    }
    WillWrite(FTarget + relative);
    FExisted[relative] = FileExists(path);
    ExpectFolder(ExtractFileDir(FTarget + relative));
}

void TRunRecord::ExpectFolder(const std::wstring& path) {
    for (std::wstring folder = path; Relative(folder) != L""; folder = ExtractFileDir(folder)) {
        if (!DirectoryExists(folder)) {
            FMissingFolders.insert(Relative(folder));
        }
    }
}

void TRunRecord::Written(const std::wstring& path, bool inPlace) {
    const std::wstring relative = Relative(path);
    std::uint64_t size = 0;
    std::uint64_t time = 0;
    bool readOnly = false;
    if (!relative.empty() && ReadFileStamp(FTarget + relative, size, time, readOnly)) {
        Record(relative, size, time, readOnly, inPlace);
    }
    RecordMadeFolders();
    Flush();
}

void TRunRecord::Record(const std::wstring& relative, std::uint64_t size, std::uint64_t time,
                        bool readOnly, bool inPlace) {
    if (relative.empty()) {
        return;
    }
    TRecordEntry entry = RecordItem(TRecordKind::rkFile, relative);
    entry.Size = size;
    entry.WriteTime = time;
    entry.ReadOnly = readOnly;
    // The first run that wrote a file decides whether it was someone else's before.
    const TRecordEntry* earlier = FEntries.Find(TRecordKind::rkFile, relative);
    const auto expected = FExisted.find(relative);
    entry.Existed = earlier != nullptr           ? earlier->Existed
                    : expected != FExisted.end() ? expected->second
                                                 : false;
    // Someone else's file that the runs only add to stays theirs; a copy over it makes it ours.
    entry.Edited = inPlace && (earlier != nullptr ? earlier->Edited : entry.Existed);
    if (expected != FExisted.end()) {
        FExisted.erase(expected); // a tree has thousands: hold each only until it is written
    }
    Append(std::move(entry));
}

// Each folder of a source tree with its files' names, and the folder of the copy.
template <class F>
void TRunRecord::ForEachTreeFolder(const std::wstring& source, const std::wstring& target,
                                   const F& visit) {
    std::vector<std::wstring> files;
    std::vector<std::wstring> folders;
    for (const TDirEntry& entry : ListDirEntries(source + L"\\*.*", faAnyFile | faDirectory)) {
        if (!IsDotEntry(entry.Name)) {
            (entry.IsDirectory() ? folders : files).push_back(entry.Name);
        }
    }
    visit(target, files);
    for (const std::wstring& folder : folders) {
        ForEachTreeFolder(source + L'\\' + folder, target + L'\\' + folder, visit);
    }
}

// A tree has thousands of files: each folder of the copy is read once, not each file.
void TRunRecord::ExpectTree(const std::wstring& source, const std::wstring& target) {
    ForEachTreeFolder(source, target,
                      [this](const std::wstring& folder, const std::vector<std::wstring>& files) {
                          const TFolderFiles there = FolderFiles(folder);
                          if (there.empty()) {
                              ExpectFolder(folder);
                          }
                          for (const std::wstring& name : files) {
                              const std::wstring relative = Relative(folder + L'\\' + name);
                              if (!relative.empty()) {
                                  FExisted[relative] = there.contains(name);
                                  WillWrite(FTarget + relative);
                              }
                          }
                      });
}

void TRunRecord::WrittenTree(const std::wstring& source, const std::wstring& target,
                             const std::set<std::wstring>& skipped) {
    RecordMadeFolders();
    ForEachTreeFolder(
        source, target, [&](const std::wstring& folder, const std::vector<std::wstring>& files) {
            const TFolderFiles there = FolderFiles(folder);
            for (const std::wstring& name : files) {
                const std::wstring path = folder + L'\\' + name;
                const auto file = there.find(name);
                if (file != there.end() && !skipped.contains(path)) {
                    Record(Relative(path), file->second.Size, file->second.WriteTime,
                           (file->second.Attributes & FILE_ATTRIBUTE_READONLY) != 0, false);
                }
            }
            Flush();
        });
}

// What ExpectTree and WrittenTree learn by walking the trees, the copy saw as it went. The
// copied files' stamps are still read from each target folder, once: a file system such as
// FAT keeps times to two seconds, and the record must hold what is on disk.
void TRunRecord::CopiedTree(const TTreeCopy& copy) {
    for (const TTreeFolder& folder : copy.Folders) {
        const std::wstring relative = Relative(folder.Target);
        if (!folder.Existed && !relative.empty()) {
            FMissingFolders.insert(relative);
        }
    }
    RecordMadeFolders();
    for (const TTreeFolder& folder : copy.Folders) {
        const bool copied = std::ranges::any_of(folder.Files, &TTreeFile::Copied);
        const TFolderFiles there = copied ? FolderFiles(folder.Target) : TFolderFiles();
        for (const TTreeFile& file : folder.Files) {
            const std::wstring relative = Relative(folder.Target + L'\\' + file.Name);
            if (relative.empty()) {
                continue;
            }
            FExisted[relative] = file.Existed;
            const auto found = there.find(file.Name);
            if (file.Copied) {
                WillWrite(FTarget + relative);
            }
            if (file.Copied && found != there.end()) {
                Record(relative, found->second.Size, found->second.WriteTime,
                       (found->second.Attributes & FILE_ATTRIBUTE_READONLY) != 0, false);
            }
        }
        Flush();
    }
}

void TRunRecord::Shortcut(const std::wstring& path) {
    Append(RecordItem(TRecordKind::rkShortcut, path));
    Flush();
}

void TRunRecord::Source(const std::wstring& folder) {
    if (!IsRecordableSource(folder)) {
        LogFailure(Failure(L"Папка дистрибутива не записана", folder, 0));
        return;
    }
    Append(RecordItem(TRecordKind::rkSource, folder));
    Flush();
}

void TRunRecord::Font(const std::wstring& path, const std::wstring& value) {
    TRecordEntry entry = RecordItem(TRecordKind::rkFont, path);
    entry.FontValue = value;
    Append(std::move(entry));
    Flush();
}

void TRunRecord::RecordMadeFolders() {
    for (auto folder = FMissingFolders.begin(); folder != FMissingFolders.end();) {
        if (DirectoryExists(FTarget + *folder)) {
            Append(RecordItem(TRecordKind::rkFolder, *folder));
            folder = FMissingFolders.erase(folder);
        } else {
            ++folder;
        }
    }
}

void TRunRecord::Append(TRecordEntry entry) {
    FPending += ToUtf8(FormatRecordLine(FEntries.Add(std::move(entry))) + L"\r\n");
}

// Whole lines only, so that a run killed meanwhile leaves a record that reads. Lines that do
// not fit are missing from the record until the run rewrites it whole at its end (Compact).
void TRunRecord::Flush() {
    if (FFile && !FPending.empty()) {
        if (const DWORD error = AppendWholeLines(FFile.get(), FPending)) {
            LogFailure(
                Failure(L"Запись об установке не дописана", FTarget + InstallRecordName, error));
        }
    }
    FPending.clear();
}

bool TRunRecord::Compact() {
    FPending.clear(); // the whole record is written anew
    FFile.reset();
    const bool written = WriteInstallRecord(FTarget, FEntries.Entries());
    FFile.reset(OpenForAppending(FTarget + InstallRecordName));
    return written;
}

std::uint64_t TRunRecord::InstalledBytes() const {
    std::uint64_t bytes = 0;
    for (const TRecordEntry& entry : FEntries.Entries()) {
        bytes += entry.Kind == TRecordKind::rkFile ? entry.Size : 0;
    }
    return bytes;
}
