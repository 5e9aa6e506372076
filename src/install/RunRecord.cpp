#include "install/RunRecord.h"

#include "common/DirEnum.h"
#include "common/Paths.h"
#include "common/Utf8.h"

namespace {

HANDLE OpenForAppending(const std::wstring& path) {
    // Support may read the record while the run writes it.
    return CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
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
        MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING);
        note = L"Запись об установке повреждена (" + earlier.Error +
               L"); она сохранена как InstallRecord.bad, начата новая";
    }
    Compact();
    return note;
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
    TRecordEntry entry = RecordItem(TRecordKind::rkFile, relative);
    if (!relative.empty() &&
        ReadFileStamp(FTarget + relative, entry.Size, entry.WriteTime, entry.ReadOnly)) {
        // The first run that wrote a file decides whether it was someone else's before.
        const TRecordEntry* earlier = FEntries.Find(TRecordKind::rkFile, relative);
        const auto expected = FExisted.find(relative);
        entry.Existed = earlier != nullptr           ? earlier->Existed
                        : expected != FExisted.end() ? expected->second
                                                     : false;
        Append(std::move(entry));
    }
    RecordMadeFolders();
}

template <class F>
void TRunRecord::ForEachTreeFile(const std::wstring& source, const std::wstring& target,
                                 const F& visit) {
    for (const TDirEntry& entry : ListDirEntries(source + L"\\*.*", faAnyFile | faDirectory)) {
        if (IsDotEntry(entry.Name)) {
            continue;
        }
        if (entry.IsDirectory()) {
            visit(target + L'\\' + entry.Name, true);
            ForEachTreeFile(source + L'\\' + entry.Name, target + L'\\' + entry.Name, visit);
        } else {
            visit(target + L'\\' + entry.Name, false);
        }
    }
}

void TRunRecord::ExpectTree(const std::wstring& source, const std::wstring& target) {
    ExpectFolder(target);
    ForEachTreeFile(source, target, [this](const std::wstring& path, bool folder) {
        if (folder) {
            ExpectFolder(path);
        } else {
            Expect(path);
        }
    });
}

void TRunRecord::WrittenTree(const std::wstring& source, const std::wstring& target,
                             const std::set<std::wstring>& skipped) {
    ForEachTreeFile(source, target, [&](const std::wstring& path, bool folder) {
        if (!folder && !skipped.contains(path)) {
            Written(path);
        }
    });
    RecordMadeFolders();
}

void TRunRecord::Shortcut(const std::wstring& path) {
    Append(RecordItem(TRecordKind::rkShortcut, path));
}

void TRunRecord::Font(const std::wstring& path, const std::wstring& value) {
    TRecordEntry entry = RecordItem(TRecordKind::rkFont, path);
    entry.FontValue = value;
    Append(std::move(entry));
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
    const std::string line = ToUtf8(FormatRecordLine(FEntries.Add(std::move(entry))) + L"\r\n");
    DWORD written = 0;
    if (FFile) {
        WriteFile(FFile.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
}

bool TRunRecord::Compact() {
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
