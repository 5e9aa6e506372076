#include "common/Handles.h"
#include "common/Paths.h"
#include "install/InstallRecord.h"
#include "install/Registration.h"
#include "install/RunRecord.h"
#include "install/SilentProgress.h"
#include "integration/Shortcut.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"
#include "uninstall/Removal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>

namespace {

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class RemovalTest : public testing::Test {
protected:
    void SetUp() override {
        Target = Folder.Path() + L"Сонтира Тест\\";
        ASSERT_TRUE(ForceDirectories(Target + L"Settings"));
        Record.emplace();
        Record->Begin(Target);
        WriteBytes(Target + L"Uninstall.exe", "the uninstaller");
    }

    // A file as a run writes it: told to the record before and after.
    void Install(const std::wstring& relative, const std::string& bytes = "installed") {
        const std::wstring path = Target + relative;
        Record->Expect(path);
        ForceDirectories(ExtractFileDir(path));
        WriteBytes(path, bytes);
        Record->Written(path);
    }

    // The removal as the silent uninstaller runs it; true when all went.
    bool Remove() {
        Record.reset(); // the run is over
        TSilentProgress progress;
        TRemoval removal(progress, Target, ReadInstallRecord(Target).Entries);
        const bool complete = removal.Execute();
        // Whoever runs from the uninstaller is told before it goes.
        EXPECT_TRUE(Exists(Target + L"Uninstall.exe"));
        if (complete) {
            removal.RemoveUninstaller();
        }
        Log = progress.Lines();
        return complete;
    }

    bool Logged(const std::wstring& start) const {
        return std::any_of(Log.begin(), Log.end(),
                           [&](const std::wstring& line) { return line.starts_with(start); });
    }

    TTempFolder Folder;
    std::wstring Target;
    std::optional<TRunRecord> Record;
    std::vector<std::wstring> Log;
};

TEST_F(RemovalTest, RemovesWhatTheRunsWroteAndKeepsTheClinicsOwn) {
    for (const wchar_t* file : {L"fbclient.Dll", L"udf\\deep\\Compare.Dll", L"DTAfb\\R47.FDB",
                                L"Settings\\holter.ini", L"changed.cfg"}) {
        Install(file);
    }
    Record->Expect(Target + L"ReleaseInfo");
    WriteBytes(Target + L"ReleaseInfo", "read-only from the media");
    SetFileAttributesW((Target + L"ReleaseInfo").c_str(), FILE_ATTRIBUTE_READONLY);
    Record->Written(Target + L"ReleaseInfo");
    // The clinic's: edited (to the same size, so only its time tells), set aside, added.
    WriteBytes(Target + L"changed.cfg", "INSTALLED");
    FILETIME later = LastWriteTime(Target + L"fbclient.Dll");
    later.dwHighDateTime += 1;
    SetLastWriteTime(Target + L"changed.cfg", later);
    const std::map<std::wstring, std::string> kept = {
        {L"changed.cfg", "INSTALLED"},
        {L"DTAfb\\R47.FDB", "installed"},
        {L"DTAfb\\R47.FDB.20260101-120000.bak", "last year's records"},
        {L"Settings\\holter.ini", "installed"},
        {L"Записи\\пациент 1.dat", "a recording"},
        {L"udf\\own.sql", "the clinic's script"},
    };
    for (const auto& [file, bytes] : kept) {
        ForceDirectories(ExtractFileDir(Target + file));
        if (!Exists(Target + file)) {
            WriteBytes(Target + file, bytes);
        }
    }
    ASSERT_TRUE(WriteRegistration(Target, 1));

    EXPECT_TRUE(Remove());

    for (const auto& [file, bytes] : kept) {
        EXPECT_EQ(ReadBytes(Target + file), bytes) << file;
    }
    for (const wchar_t* gone :
         {L"fbclient.Dll", L"udf\\deep", L"ReleaseInfo", L"Uninstall.exe", L"InstallRecord.txt"}) {
        EXPECT_FALSE(Exists(Target + gone)) << gone;
    }
    EXPECT_TRUE(Exists(Target + L"udf")); // holds the clinic's script
    EXPECT_TRUE(Logged(L"Файл изменён после установки, сохранён: changed.cfg"));
    EXPECT_EQ(RegisteredLocation(), L"");
}

// Held open or protected since: named, kept listed with the uninstaller and the entry, so
// that the removal can be run again; the rest goes now.
TEST_F(RemovalTest, WhatCannotBeRemovedIsNamedAndTheRemovalCanBeRunAgain) {
    for (const wchar_t* file : {L"held.dll", L"protected.dll", L"free.dll"}) {
        Install(file);
    }
    SetFileAttributesW((Target + L"protected.dll").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(WriteRegistration(Target, 1));
    {
        const TUniqueFile held(CreateFileW((Target + L"held.dll").c_str(), GENERIC_READ,
                                           FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_FALSE(Remove());
    }
    EXPECT_TRUE(Logged(L"Не удалось удалить файл held.dll: "));
    EXPECT_TRUE(Logged(L"Не удалось удалить файл protected.dll: "));
    EXPECT_FALSE(Exists(Target + L"free.dll"));
    EXPECT_TRUE(Exists(Target + L"Uninstall.exe"));
    EXPECT_EQ(RegisteredLocation(), Target);
    const TRecordFile left = ReadInstallRecord(Target);
    ASSERT_EQ(left.State, TRecordState::rsRead);
    EXPECT_NE(left.Entries.Find(TRecordKind::rkFile, L"held.dll"), nullptr);
    EXPECT_EQ(left.Entries.Find(TRecordKind::rkFile, L"free.dll"), nullptr);

    SetFileAttributesW((Target + L"protected.dll").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(Remove());
    EXPECT_FALSE(Exists(Target + L"held.dll"));
    EXPECT_FALSE(Exists(Target + L"protected.dll"));
    EXPECT_FALSE(Exists(Target + L"InstallRecord.txt"));
    EXPECT_EQ(RegisteredLocation(), L"");
}

// A later installation in another folder owns the desktop shortcut and the entry by now.
TEST_F(RemovalTest, ShortcutAndEntryOfAnotherInstallationStay) {
    Install(L"Shell.exe");
    const std::wstring desktop = ExcludeTrailingPathDelimiter(Folder.Path());
    std::wstring ours;
    CreateShellLink(Target + L"Shell.exe", TLinkLocation::llFolder, desktop, L"", L"", L"", L"ours",
                    ours);
    Record->Shortcut(ours);
    std::wstring theirs;
    CreateShellLink(Folder.Path() + L"Elsewhere\\Shell.exe", TLinkLocation::llFolder, desktop, L"",
                    L"", L"", L"theirs", theirs);
    Record->Shortcut(theirs);
    ASSERT_TRUE(WriteRegistration(Folder.Path() + L"Elsewhere\\", 1));

    EXPECT_TRUE(Remove());
    EXPECT_FALSE(Exists(ours));
    EXPECT_TRUE(Exists(theirs));
    EXPECT_TRUE(Logged(L"Ярлык ведёт в другую папку, сохранён: " + theirs));
    EXPECT_EQ(RegisteredLocation(), Folder.Path() + L"Elsewhere\\");
    RemoveRegistration(Folder.Path() + L"Elsewhere\\");
}

} // namespace
