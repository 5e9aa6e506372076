#include "common/DirEnum.h"
#include "common/Errors.h"
#include "primitives/TreeCopy.h"
#include "support/FileBytes.h"
#include "support/PlantedTree.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The files below folder as one copy after the other meets them: a folder's files, then its
// subfolders that are neither hidden nor system, in the file system's order.
void Walk(const std::wstring& root, const std::wstring& relative,
          std::vector<std::wstring>& files) {
    std::vector<std::wstring> subfolders;
    const std::wstring folder = relative.empty() ? root : root + L"\\" + relative;
    for (const TDirEntry& entry : ListDirEntries(folder + L"\\*", faAnyFile | faDirectory)) {
        const std::wstring path = relative.empty() ? entry.Name : relative + L"\\" + entry.Name;
        if (!entry.IsDirectory()) {
            files.push_back(path);
        } else if (!IsDotEntry(entry.Name) &&
                   (entry.Attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0) {
            subfolders.push_back(path);
        }
    }
    for (const std::wstring& subfolder : subfolders) {
        Walk(root, subfolder, files);
    }
}

// A report with its target's own prefix taken off, so that copies into two targets compare.
struct TSeen {
    std::vector<std::wstring> Folders, Files, Failures;
    bool operator==(const TSeen&) const = default;
};

TSeen Seen(const TTreeCopy& copy, const std::wstring& target) {
    TSeen seen;
    const auto strip = [&](const std::wstring& path) { return path.substr(target.size()); };
    for (const TTreeFolder& folder : copy.Folders) {
        seen.Folders.push_back(strip(folder.Target) + (folder.Existed ? L" existed" : L" made"));
        for (const TTreeFile& file : folder.Files) {
            seen.Files.push_back(strip(folder.Target) + L"\\" + file.Name +
                                 (file.Existed ? L" existed" : L"") +
                                 (file.Copied ? L" copied" : L" failed"));
        }
    }
    for (const TCopyFailure& failure : copy.Failures) {
        seen.Failures.push_back(strip(failure.Target) + L": " + failure.Reason);
    }
    return seen;
}

} // namespace

// Many copies at once end in any order; what the copy reports must not show it.
TEST(CopyFolderTreeReporting, ThreadsReportWhatOneCopyAfterTheOtherReports) {
    TTempFolder f;
    MakePlantedSource(f / L"src");
    std::vector<std::wstring> walk;
    Walk(f / L"src", L"", walk);
    std::vector<std::wstring> held;
    std::ranges::copy_if(walk, std::back_inserter(held), [](const std::wstring& file) {
        return std::ranges::count(PlantedHeldFiles(), file) > 0;
    });
    ASSERT_EQ(held.size(), PlantedHeldFiles().size());

    const auto oneByOne = MakePlantedTarget(f / L"one");
    const TSeen one = Seen(CopyFolderTreeReporting(f / L"src", f / L"one", 1), f / L"one");
    for (unsigned threads : {2u, 8u}) {
        SCOPED_TRACE(threads);
        const std::wstring target = f / (L"many" + std::to_wstring(threads));
        const auto planted = MakePlantedTarget(target);
        const TSeen many = Seen(CopyFolderTreeReporting(f / L"src", target, threads), target);
        EXPECT_EQ(many, one);
        EXPECT_EQ(ReadBytes(target + L"\\a\\f3.dat"), ReadBytes(f / L"src\\a\\f3.dat"))
            << "a read-only file in the way is replaced";
    }

    std::vector<std::wstring> expected;
    for (const std::wstring& file : held) {
        expected.push_back(L"\\" + file + L": " + SysErrorMessage(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(one.Failures, expected);
    // Every file of the walk reported once, in its order; the hidden folder's passed over.
    ASSERT_EQ(one.Files.size(), walk.size());
    for (size_t i = 0; i < walk.size(); ++i) {
        EXPECT_TRUE(one.Files[i].starts_with(L"\\" + walk[i] + L" ")) << one.Files[i];
    }
    const std::vector<std::wstring> earlier = {L"\\f1.dat existed copied",
                                               L"\\a\\f3.dat existed copied"};
    for (const std::wstring& line : earlier) {
        EXPECT_EQ(std::ranges::count(one.Files, line), 1) << line;
    }
    EXPECT_EQ(std::ranges::count(one.Folders, L" existed"), 1) << "the top";
    EXPECT_EQ(std::ranges::count(one.Folders, L"\\c made"), 1);
}

// The tree copy asks nothing the listing told it already, yet must leave what CopyFileW leaves
// (read-only aside): the same bytes, attributes and last-write time.
TEST(CopyFolderTreeReporting, CopiesAsCopyFileWDoes) {
    TTempFolder f;
    const std::wstring source = f / L"src";
    CreateDirectoryW(source.c_str(), nullptr);
    const struct {
        const wchar_t* Name;
        DWORD Attributes;
        size_t Size;
    } files[] = {{L"plain.dat", FILE_ATTRIBUTE_ARCHIVE, 100},
                 {L"read-only.dat", FILE_ATTRIBUTE_READONLY, 70000},
                 {L"hidden.dat", FILE_ATTRIBUTE_HIDDEN, 1},
                 {L"system.dat", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE, 0},
                 {L"two chunks.dat", FILE_ATTRIBUTE_NORMAL, 2 * 64 * 1024}};
    const FILETIME past{0x12345678, 0x01c00000}; // in 1990
    for (const auto& file : files) {
        const std::wstring path = source + L"\\" + file.Name;
        WriteBytes(path, std::string(file.Size, 'x'));
        SetLastWriteTime(path, past);
        SetFileAttributesW(path.c_str(), file.Attributes);
    }
    const std::wstring reference = f / L"ref";
    CreateDirectoryW(reference.c_str(), nullptr);
    const TTreeCopy copy = CopyFolderTreeReporting(source, f / L"copy");
    EXPECT_TRUE(copy.Failures.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.Name);
        const std::wstring copied = f / L"copy\\" + file.Name;
        const std::wstring expected = reference + L"\\" + file.Name;
        ASSERT_TRUE(CopyFileW((source + L"\\" + file.Name).c_str(), expected.c_str(), TRUE));
        SetFileAttributesW(expected.c_str(),
                           GetFileAttributesW(expected.c_str()) & ~FILE_ATTRIBUTE_READONLY);
        WIN32_FILE_ATTRIBUTE_DATA got{}, want{};
        ASSERT_TRUE(GetFileAttributesExW(copied.c_str(), GetFileExInfoStandard, &got));
        ASSERT_TRUE(GetFileAttributesExW(expected.c_str(), GetFileExInfoStandard, &want));
        EXPECT_EQ(got.dwFileAttributes, want.dwFileAttributes);
        EXPECT_EQ(Ticks(got.ftLastWriteTime), Ticks(want.ftLastWriteTime));
        EXPECT_EQ(Ticks(got.ftLastWriteTime), Ticks(past));
        EXPECT_EQ(ReadBytes(copied), std::string(file.Size, 'x'));
    }
}
