// The plan against a real run: what the rows name is what the run writes and records, and
// the bytes the free-space check counts are the bytes the run lays down.
#include "InstallRunFixture.h"

#include "common/DirEnum.h"
#include "common/Paths.h"
#include "common/WindowsFolder.h"
#include "install/InstallPlan.h"
#include "install/InstallRecord.h"

#include <algorithm>
#include <map>
#include <set>

using namespace runtest;

namespace {

using TFiles = std::map<std::wstring, std::wstring, TPathLess>; // target -> its source

ULONGLONG SizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The files of a source tree, by the paths below the target they are copied to.
void TreeFiles(const std::wstring& from, const std::wstring& to, TFiles& files) {
    for (const TDirEntry& entry : ListDirEntries(from + L"*", faAnyFile | faDirectory)) {
        if (IsDotEntry(entry.Name)) {
            continue;
        }
        if (entry.IsDirectory()) {
            TreeFiles(from + entry.Name + L"\\", to + entry.Name + L"\\", files);
        } else {
            files.emplace(to + entry.Name, from + entry.Name);
        }
    }
}

// What the rows name below the target, as the record names it.
std::set<std::wstring, TPathLess> PlannedFiles(const std::wstring& source, TPlanChoices choices) {
    std::set<std::wstring, TPathLess> planned;
    for (const TPlanRow& row : InstallPlan()) {
        if (!Applies(row, choices) || row.Action == TPlanAction::paUninstaller ||
            row.Action == TPlanAction::paFonts || row.Action == TPlanAction::paShortcut) {
            continue;
        }
        TFiles files;
        if (row.Action == TPlanAction::paTree || row.Action == TPlanAction::paDriver) {
            TreeFiles(source + row.Source, row.Target, files);
        } else {
            for (const wchar_t* name : row.Names) {
                files.emplace(std::wstring(row.Target) + name, source + row.Source + name);
            }
        }
        for (const auto& file : files) {
            planned.insert(file.first);
        }
    }
    return planned;
}

// The few bytes the run makes itself, which the free-space check leaves out; and the release
// file, which it counts as copied before the run writes the level into it.
const wchar_t* const Made[] = {L"Settings\\holter.ini", L"Settings\\uca.nsi", L"Settings\\wra.nsi",
                               L"Settings\\lastnum.dta", L"btooth.ini"};
const wchar_t* const Edited = L"ReleaseInfo";

} // namespace

TEST_F(InstallRunTest, PlanNamesAndCountsWhatTheRunWritesAndRecords) {
    for (const bool listA : {true, false}) {
        for (const bool driver : {true, false}) {
            for (const bool brand : {true, false}) {
                SCOPED_TRACE(testing::Message()
                             << "list A " << listA << ", driver " << driver << ", brand " << brand);
                Restart();
                RemoveInstalledFonts();
                TRunChoices choices{Target, listA, driver, brand, true};
                const std::wstring fonts = GetWindowsFolder() + L"fonts\\";
                const ULONGLONG bytes = PlanBytes(From, Target, fonts, choices.Plan());
                const auto planned = PlannedFiles(From, choices.Plan());
                ASSERT_EQ(RunWithoutWindow(choices), TRunResult::rrCompleted);

                const TRecordFile record = ReadInstallRecord(Target);
                ASSERT_EQ(record.State, TRecordState::rsRead) << record.Error;
                std::set<std::wstring, TPathLess> recorded;
                ULONGLONG written =
                    SizeOf(Target + UninstallerName) + SizeOf(From + L"Updater\\" + Edited);
                for (const TRecordEntry& entry : record.Entries.Entries()) {
                    if (entry.Kind == TRecordKind::rkFile) {
                        recorded.insert(entry.Path);
                        const bool made =
                            std::any_of(std::begin(Made), std::end(Made), [&](const wchar_t* file) {
                                return SamePath(entry.Path, file);
                            });
                        written += made || SamePath(entry.Path, Edited) ? 0 : entry.Size;
                    } else if (entry.Kind == TRecordKind::rkFont) {
                        written += SizeOf(entry.Path);
                    }
                }
                EXPECT_EQ(std::vector<std::wstring>(recorded.begin(), recorded.end()),
                          std::vector<std::wstring>(planned.begin(), planned.end()));
                EXPECT_EQ(bytes, written);
            }
        }
    }
}
