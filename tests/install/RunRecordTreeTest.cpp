#include "install/RunRecord.h"
#include "primitives/TreeCopy.h"
#include "support/FileBytes.h"
#include "support/PlantedTree.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

// Two trees copied into a target: one over an earlier copy with files held open, one into
// folders that are not there yet.
std::string RecordOfTwoTrees(const std::wstring& source, const std::wstring& root, bool reported) {
    CreateDirectoryW(root.c_str(), nullptr);
    const auto held = MakePlantedTarget(root + L"\\backup");
    {
        TRunRecord record;
        record.Begin(root + L"\\");
        for (const std::wstring& target : {root + L"\\backup", root + L"\\fresh\\tree"}) {
            if (reported) {
                record.ExpectFolder(target);
                record.CopiedTree(CopyFolderTreeReporting(source, target, 8));
            } else {
                record.ExpectTree(source, target);
                std::set<std::wstring> failed;
                for (const TCopyFailure& failure :
                     CopyFolderTreeReporting(source, target, 1).Failures) {
                    failed.insert(failure.Target);
                }
                record.WrittenTree(source, target, failed);
            }
        }
    } // the record is read once it is closed
    return ReadBytes(root + L"\\InstallRecord.txt");
}

} // namespace

// Recording from the copy's report, not from walks of both trees, changes no line.
TEST(RunRecord, TreeRecordedFromTheCopysReportAsFromWalkingIt) {
    TTempFolder f;
    MakePlantedSource(f / L"src");
    const std::string walked = RecordOfTwoTrees(f / L"src", f / L"walked", false);
    EXPECT_EQ(RecordOfTwoTrees(f / L"src", f / L"reported", true), walked);

    // Not an empty match: every copied file, and the folders the copies made.
    const auto lines = [&](const std::string& start) {
        size_t count = 0;
        for (size_t at = walked.find("\r\n" + start); at != walked.npos;
             at = walked.find("\r\n" + start, at + 1)) {
            ++count;
        }
        return count;
    };
    EXPECT_EQ(lines("file\t"), 2 * 70 - PlantedHeldFiles().size());
    EXPECT_EQ(lines("folder\t"), 7u) << "backup\\c; fresh, its tree, and the tree's a, deep, b, c";
}
