#include "install/RunRecord.h"

#include "common/DirEnum.h"
#include "common/Failure.h"
#include "common/Paths.h"
#include "common/Utf8.h"

namespace {

using TFolderFiles = std::map<std::wstring, TDirEntry, TPathLess>;

HANDLE OpenForAppending(const std::wstring& path) {
    // Support may read the record while the run writes it.
    return CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
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

std::wstring TRunRecord::Begin(const std::wstring& target) {
    FTarget = IncludeTrailingPathDelimiter(target);
    const std::wstring path = FTarget + InstallRecordName;
    TRecordFile earlier = ReadInstallRecord(FTarget);
    std::wstring note;
    if (earlier.State == TRecordState::rsRead) {
        FEntries = std::move(earlier.Entries);
    } else if (earlier.State == TRecordState::rsBad) {
        const std::wstring aside = FTarget + L"InstallRecord.bad";
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

void TRunRecord::Expect(const std::wstring& path) {
    const std::wstring relative = Relative(path);
    if (relative.empty()) {
        return;
    }
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

void TRunRecord::Written(const std::wstring& path) {
    const std::wstring relative = Relative(path);
    std::uint64_t size = 0;
    std::uint64_t time = 0;
    bool readOnly = false;
    if (!relative.empty() && ReadFileStamp(FTarget + relative, size, time, readOnly)) {
        Record(relative, size, time, readOnly);
    }
    RecordMadeFolders();
    Flush();
}

void TRunRecord::Record(const std::wstring& relative, std::uint64_t size, std::uint64_t time,
                        bool readOnly) {
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
                              }
                          }
                      });
}

void TRunRecord::WrittenTree(const std::wstring& source, const std::wstring& target,
                             const std::set<std::wstring>& skipped) {
    RecordMadeFolders();
    ForEachTreeFolder(source, target,
                      [&](const std::wstring& folder, const std::vector<std::wstring>& files) {
                          const TFolderFiles there = FolderFiles(folder);
                          for (const std::wstring& name : files) {
                              const std::wstring path = folder + L'\\' + name;
                              const auto file = there.find(name);
                              if (file != there.end() && !skipped.contains(path)) {
                                  Record(Relative(path), file->second.Size, file->second.WriteTime,
                                         (file->second.Attributes & FILE_ATTRIBUTE_READONLY) != 0);
                              }
                          }
                          Flush();
                      });
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

// Whole lines only, so that a run killed meanwhile leaves a record that reads.
void TRunRecord::Flush() {
    DWORD written = 0;
    if (FFile && !FPending.empty() &&
        (!WriteFile(FFile.get(), FPending.data(), static_cast<DWORD>(FPending.size()), &written,
                    nullptr) ||
         written != FPending.size())) {
        LogFailure(Failure(L"Запись об установке не дописана", FTarget + InstallRecordName));
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
