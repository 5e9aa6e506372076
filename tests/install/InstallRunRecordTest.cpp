// What a run leaves for its removal: the record of what it wrote, the uninstaller, and the
// entry in the list of installed programs.
#include "InstallRunFixture.h"

#include "common/DirEnum.h"
#include "common/Paths.h"
#include "common/Registry.h"
#include "install/InstallRecord.h"
#include "install/Registration.h"
#include "install/TargetFolder.h"
#include "support/RegistryView.h"

#include <set>

using namespace runtest;

namespace {

// Every file below folder, as paths relative to root.
void ListFiles(const std::wstring& root, const std::wstring& relative,
               std::set<std::wstring>& files) {
    for (const TDirEntry& entry : ListDirEntries(root + relative + L"*", faAnyFile | faDirectory)) {
        if (IsDotEntry(entry.Name)) {
            continue;
        }
        if (entry.IsDirectory()) {
            ListFiles(root, relative + entry.Name + L"\\", files);
        } else {
            files.insert(relative + entry.Name);
        }
    }
}

// The entry as this build's program registers it: in its own registry view.
std::wstring Registered(const wchar_t* name) {
    const TUniqueKey key = regview::OpenMachineKey(RegistrationKey, regview::Own);
    return key ? ReadSubkeyString(key.get(), L"", name) : L"";
}

DWORD RegisteredNumber(const wchar_t* name) {
    const TUniqueKey key = regview::OpenMachineKey(RegistrationKey, regview::Own);
    DWORD value = 0;
    DWORD size = sizeof value;
    if (key) {
        RegGetValueW(key.get(), nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    }
    return value;
}

void ExpectListedAsOnDisk(const TRecordSet& record, const std::wstring& target) {
    std::set<std::wstring> files;
    ListFiles(target, L"", files);
    // The record itself, the uninstaller beside it, and what the backup's own script wrote
    // are not the run's files.
    for (const wchar_t* notListed : {L"InstallRecord.txt", L"Uninstall.exe", L"backup-ran.txt"}) {
        EXPECT_EQ(files.erase(notListed), 1u) << notListed;
    }
    files.erase(L"InstallRecord.bad");
    // Nor is the clinic's earlier database, set aside by a reinstall.
    std::erase_if(files, [](const std::wstring& file) { return file.ends_with(L".bak"); });
    size_t listed = 0;
    for (const TRecordEntry& entry : record.Entries()) {
        if (entry.Kind != TRecordKind::rkFile) {
            continue;
        }
        ++listed;
        std::uint64_t size = 0, time = 0;
        bool readOnly = true;
        ASSERT_TRUE(ReadFileStamp(target + entry.Path, size, time, readOnly)) << entry.Path;
        EXPECT_EQ(entry.Size, size) << entry.Path;
        EXPECT_EQ(entry.WriteTime, time) << entry.Path;
        EXPECT_EQ(entry.ReadOnly, readOnly) << entry.Path;
        EXPECT_EQ(files.count(entry.Path), 1u) << entry.Path;
    }
    EXPECT_EQ(listed, files.size());
}

} // namespace

TEST_F(InstallRunTest, RecordListsWhatTheRunWroteAndTheEntryNamesTheTarget) {
    ASSERT_TRUE(regview::DeleteMachineTree(RegistrationKey));
    RemoveInstalledFonts();
    CreateTargetFolders(Target);
    WriteAll(Target + L"gbak.exe", "someone else's gbak"); // overwritten by the run
    WriteAll(Target + L"InstallRecord.txt", "damaged");    // put aside, and a new one begun
    ASSERT_EQ(RunWithoutWindow({Target, true, false, false, true}), TRunResult::rrCompleted);
    EXPECT_EQ(ReadBytes(Target + L"InstallRecord.bad"), "damaged");

    const TRecordFile record = ReadInstallRecord(Target);
    ASSERT_EQ(record.State, TRecordState::rsRead) << record.Error;
    ExpectListedAsOnDisk(record.Entries, Target);
    const TRecordSet& entries = record.Entries;
    EXPECT_TRUE(entries.Find(TRecordKind::rkFile, L"gbak.exe")->Existed);
    EXPECT_FALSE(entries.Find(TRecordKind::rkFile, L"fbclient.Dll")->Existed);
    // Made by the run; Settings was there before it, made by the path page.
    for (const wchar_t* folder :
         {L"DTAfb", L"intl", L"udf", L"backup", L"backup\\R010203", L"backup\\R150320"}) {
        EXPECT_NE(entries.Find(TRecordKind::rkFolder, folder), nullptr) << folder;
    }
    EXPECT_EQ(entries.Find(TRecordKind::rkFolder, L"Settings"), nullptr);
    EXPECT_NE(entries.Find(TRecordKind::rkShortcut, DesktopLink()), nullptr);
    size_t fonts = 0;
    for (const TRecordEntry& entry : entries.Entries()) {
        fonts += entry.Kind == TRecordKind::rkFont && entry.FontValue.ends_with(L" (TrueType)");
    }
    EXPECT_EQ(fonts, std::size(DistFonts));
    EXPECT_EQ(ReadBytes(Target + L"Uninstall.exe"), ReadBytes(ExecutablePath()));

    EXPECT_EQ(Registered(L"InstallLocation"), Target);
    EXPECT_EQ(Registered(L"DisplayName"), L"Сонтира");
    EXPECT_EQ(Registered(L"DisplayVersion"), L"8.74.3");
    EXPECT_EQ(Registered(L"Publisher"), L"ООО «Пример-Мед»");
    EXPECT_EQ(Registered(L"DisplayIcon"), Target + L"Shell.exe");
    EXPECT_EQ(Registered(L"UninstallString"), L"\"" + Target + L"Uninstall.exe\"");
    EXPECT_EQ(Registered(L"QuietUninstallString"), L"\"" + Target + L"Uninstall.exe\" /VERYSILENT");
    EXPECT_GT(RegisteredNumber(L"EstimatedSize"), 64u); // the database alone is 64 KiB
    EXPECT_EQ(RegisteredNumber(L"NoModify"), 1u);
    // Programs and Features offers "Repair", which runs ModifyPath.
    EXPECT_EQ(RegisteredNumber(L"NoRepair"), 0u);
    EXPECT_EQ(Registered(L"ModifyPath"), L"\"" + Target + L"Uninstall.exe\" /REPAIR");
    EXPECT_EQ(Registered(L"InstallSource"), From);
    if (regview::TwoViews()) {
        EXPECT_FALSE(regview::OpenMachineKey(RegistrationKey, regview::Other))
            << "the entry is also in " << regview::OtherName;
    }
}

// A run that stops over an earlier installation leaves its record, uninstaller and entry as
// they were; a later run merges into the record, one line per item, and a file the first run
// made stays "new".
TEST_F(InstallRunTest, StoppedRunLeavesTheEarlierRecordAndTheNextRunMergesIntoIt) {
    ASSERT_TRUE(regview::DeleteMachineTree(RegistrationKey));
    CreateTargetFolders(Target);
    ASSERT_EQ(RunWithoutWindow({Target, true, false, false, true}), TRunResult::rrCompleted);
    const std::string earlier = ReadBytes(Target + L"InstallRecord.txt");
    const std::wstring library = From + L"UDF\\Compare.Dll";
    const std::wstring aside = From + L"Compare.Dll.aside";
    ASSERT_TRUE(MoveFileW(library.c_str(), aside.c_str()));
    WriteAll(Target + L"Uninstall.exe", "the earlier uninstaller");
    OpenOptions(Target);
    {
        TDialogAnswerer answerer;
        answerer.Press(IDOK);
        Install(answerer);
    }
    EXPECT_EQ(ReadBytes(Target + L"InstallRecord.txt"), earlier);
    EXPECT_EQ(ReadBytes(Target + L"Uninstall.exe"), "the earlier uninstaller");
    EXPECT_EQ(RegisteredLocation(), Target);

    ASSERT_TRUE(MoveFileW(aside.c_str(), library.c_str()));
    Form->InsatallPages.SetActivePage(Form->tsInputComponents);
    TDialogAnswerer answerer;
    Install(answerer);
    const std::string text = ReadBytes(Target + L"InstallRecord.txt");
    EXPECT_EQ(text.find("udf\\ib_udf2.sql"), text.rfind("udf\\ib_udf2.sql")) << "one line each";
    const TRecordFile merged = ReadInstallRecord(Target);
    ASSERT_EQ(merged.State, TRecordState::rsRead) << merged.Error;
    ExpectListedAsOnDisk(merged.Entries, Target);
    EXPECT_FALSE(merged.Entries.Find(TRecordKind::rkFile, L"udf\\ib_udf2.sql")->Existed);
    EXPECT_EQ(RegisteredLocation(), Target);
}

// A file that was there and that the run only added keys to stays someone else's ("edited");
// one the run made is "new", and one a copy replaced is the run's, even if it edits it next.
TEST_F(InstallRunTest, RecordTellsAFileEditedInPlaceFromOneReplaced) {
    for (const bool wasThere : {true, false}) {
        Restart();
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, RegistrationKey);
        CreateTargetFolders(Target);
        if (wasThere) {
            WriteAll(Target + L"btooth.ini", "[Common]\r\nPort=COM3\r\n");
            WriteAll(Target + L"ReleaseInfo", "an earlier release level");
        }
        ASSERT_EQ(RunWithoutWindow({Target, true, false, true, true}), TRunResult::rrCompleted);
        const TRecordFile record = ReadInstallRecord(Target);
        ASSERT_EQ(record.State, TRecordState::rsRead) << record.Error;
        const TRecordEntry* brand = record.Entries.Find(TRecordKind::rkFile, L"btooth.ini");
        const TRecordEntry* level = record.Entries.Find(TRecordKind::rkFile, L"ReleaseInfo");
        ASSERT_TRUE(brand != nullptr && level != nullptr);
        EXPECT_EQ(brand->Edited, wasThere);
        EXPECT_EQ(brand->Existed, wasThere);
        EXPECT_FALSE(level->Edited) << "copied over, then edited: the run's";
        EXPECT_EQ(level->Existed, wasThere);
    }
}
