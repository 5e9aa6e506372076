// A run's way back: every kind of change undone to the byte, the time and the attribute; a
// rollback that meets a held file finished at the next start; a repeated rollback that never
// takes the clinic's database for the run's copy.
#include "common/DirEnum.h"
#include "common/Handles.h"
#include "common/Registry.h"
#include "common/Utf8.h"
#include "install/Rollback.h"
#include "install/RollbackPending.h"
#include "install/SuiteShortcut.h"
#include "primitives/DeleteTree.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <map>

namespace {

const wchar_t* const TestKey = L"Software\\SontiraRollbackTest";

// Every file and folder below a folder, with what a rollback must give back: content, last
// write time, attributes.
std::map<std::wstring, std::string> Snapshot(const std::wstring& folder,
                                             const std::wstring& relative = L"") {
    std::map<std::wstring, std::string> items;
    const DWORD all = faAnyFile | faDirectory | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (const TDirEntry& entry : ListDirEntries(folder + relative + L"*", all)) {
        if (IsDotEntry(entry.Name)) {
            continue;
        }
        const std::wstring path = relative + entry.Name;
        const std::string stamp = std::to_string(entry.WriteTime) + " " +
                                  std::to_string(entry.Attributes & ~FILE_ATTRIBUTE_ARCHIVE);
        if (entry.IsDirectory()) {
            items[path + L"\\"] = stamp;
            items.merge(Snapshot(folder, path + L"\\"));
        } else {
            items[path] = stamp + " " + ReadBytes(folder + path);
        }
    }
    return items;
}

std::wstring RegistryString(const wchar_t* name) {
    return ReadSubkeyString(HKEY_LOCAL_MACHINE, TestKey, name);
}

void SetRegistryString(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

class RollbackTest : public testing::Test {
protected:
    void SetUp() override {
        Target = Folder.Path();
        CreateDirectoryW((Target + L"Settings").c_str(), nullptr);
        CreateDirectoryW((Target + L"tree").c_str(), nullptr);
        WriteBytes(Target + L"replaced.dll", "the earlier library");
        WriteBytes(Target + L"Settings\\holter.ini", "[clinic]\r\nName=5\r\n");
        WriteBytes(Target + L"tree\\old.txt", "an earlier tree file");
        WriteBytes(Target + L"tree\\clinic.txt", "not the run's: stays");
        WriteBytes(Target + L"readonly.cfg", "shipped read-only");
        SetFileAttributesW((Target + L"readonly.cfg").c_str(), FILE_ATTRIBUTE_READONLY);
        WriteBytes(Source.Path() + L"tree\\old.txt", "x");
        CreateDirectoryW((Source.Path() + L"tree").c_str(), nullptr);
        WriteBytes(Source.Path() + L"tree\\old.txt", "the new tree file");
        WriteBytes(Source.Path() + L"tree\\new.txt", "a new tree file");
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, TestKey);
        SetRegistryString(TestKey, L"Kept", L"before");
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, TestKey);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(TestKey) + L"Entry").c_str());
    }

    // What a run does, each change announced first.
    void Change(TRollback& rollback) {
        rollback.BeforeReplace(Target + L"replaced.dll");
        WriteBytes(Target + L"replaced.dll", "the new library");
        rollback.BeforeEdit(Target + L"Settings\\holter.ini");
        WriteBytes(Target + L"Settings\\holter.ini", "[clinic]\r\nName=5\r\n[options]\r\n");
        rollback.BeforeReplace(Target + L"readonly.cfg"); // the run cannot replace it
        rollback.BeforeFolder(Target + L"udf");
        CreateDirectoryW((Target + L"udf").c_str(), nullptr);
        rollback.BeforeReplace(Target + L"udf\\made.dll");
        WriteBytes(Target + L"udf\\made.dll", "made by the run");
        rollback.BeforeTree(Source.Path() + L"tree", Target + L"tree");
        CreateDirectoryW((Target + L"tree").c_str(), nullptr); // as the tree copy makes it
        WriteBytes(Target + L"tree\\old.txt", "the new tree file");
        WriteBytes(Target + L"tree\\new.txt", "a new tree file");
        rollback.BeforeShellFolder(Target + L"driver");
        CreateDirectoryW((Target + L"driver").c_str(), nullptr);
        WriteBytes(Target + L"driver\\setup.log", "written by the driver installer");
        rollback.BeforeValue(TestKey, L"Kept");
        rollback.BeforeValue(TestKey, L"Added");
        SetRegistryString(TestKey, L"Kept", L"after");
        SetRegistryString(TestKey, L"Added", L"new");
        const std::wstring entry = std::wstring(TestKey) + L"Entry";
        rollback.BeforeKey(entry);
        SetRegistryString(entry.c_str(), L"DisplayName", L"made");
    }

    TTempFolder Folder;
    TTempFolder Source;
    std::wstring Target;
};

TEST_F(RollbackTest, UndoGivesEveryChangeBackAndLeavesNoFolderOfItsOwn) {
    const auto before = Snapshot(Target);
    TRollback rollback;
    ASSERT_TRUE(rollback.Begin(Target));
    EXPECT_EQ(PendingJournal().rfind(Target + L".rollback-", 0), 0u) << PendingJournal();
    Change(rollback);
    std::vector<std::wstring> lines;
    EXPECT_TRUE(rollback.Undo([&](const std::wstring& line) { lines.push_back(line); }));

    EXPECT_EQ(Snapshot(Target), before);
    EXPECT_EQ(RegistryString(L"Kept"), L"before");
    EXPECT_EQ(RegistryString(L"Added"), L"");
    HKEY entry = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(TestKey) + L"Entry").c_str(), 0,
                            KEY_READ, &entry),
              ERROR_SUCCESS);
    EXPECT_EQ(PendingJournal(), L"");
    EXPECT_FALSE(lines.empty());
    for (const std::wstring& line : lines) {
        EXPECT_TRUE(line.starts_with(L"Отменено: ") || line.starts_with(L"Не отменяется: "))
            << testing::PrintToString(line);
    }
}

// The run's work stays; what it set aside goes, but for what it did not replace in a folder it
// moved aside whole, which comes back.
TEST_F(RollbackTest, CommitKeepsTheRunsWorkAndDeletesWhatWasSetAside) {
    TRollback rollback;
    ASSERT_TRUE(rollback.Begin(Target));
    Change(rollback);
    EXPECT_TRUE(rollback.Commit());
    for (const auto& [path, stamp] : Snapshot(Target)) {
        EXPECT_FALSE(path.starts_with(L".rollback-")) << testing::PrintToString(path);
    }
    EXPECT_EQ(ReadBytes(Target + L"replaced.dll"), "the new library");
    EXPECT_EQ(ReadBytes(Target + L"tree\\old.txt"), "the new tree file");
    EXPECT_EQ(ReadBytes(Target + L"tree\\new.txt"), "a new tree file");
    EXPECT_EQ(ReadBytes(Target + L"tree\\clinic.txt"), "not the run's: stays");
    EXPECT_EQ(RegistryString(L"Kept"), L"after");
    EXPECT_EQ(PendingJournal(), L"");
}

// A fresh target, as the path page leaves it, goes whole.
TEST_F(RollbackTest, FreshTargetGoesWithTheRun) {
    TTempFolder parent;
    const std::wstring target = parent.Path() + L"Holter\\";
    CreateDirectoryW(target.c_str(), nullptr);
    CreateDirectoryW((target + L"Settings").c_str(), nullptr);
    TRollback rollback;
    ASSERT_TRUE(rollback.Begin(target));
    rollback.BeforeReplace(target + L"Uninstall.exe");
    WriteBytes(target + L"Uninstall.exe", "program");
    EXPECT_TRUE(rollback.Undo([](const std::wstring&) {}));
    EXPECT_FALSE(FolderExists(target));
}

TEST_F(RollbackTest, HeldFileKeepsTheJournalAndTheNextStartFinishes) {
    const auto before = Snapshot(Target);
    {
        TRollback rollback;
        ASSERT_TRUE(rollback.Begin(Target));
        Change(rollback);
        // Held without leave to delete, as a running program holds its library.
        const TUniqueFile held(CreateFileW((Target + L"replaced.dll").c_str(), GENERIC_READ,
                                           FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        std::vector<std::wstring> lines;
        EXPECT_FALSE(rollback.Undo([&](const std::wstring& line) { lines.push_back(line); }));
        EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                               [](const std::wstring& line) {
                                   return line.find(L"replaced.dll") != line.npos &&
                                          line.starts_with(L"Не удалось отменить: ");
                               }),
                  lines.end());
        EXPECT_NE(PendingJournal(), L"");
    }
    const TInterruptedRun run = UndoInterruptedRun([](const std::wstring&) {});
    EXPECT_TRUE(run.Found);
    EXPECT_TRUE(run.Undone);
    EXPECT_EQ(run.Target, Target);
    EXPECT_EQ(Snapshot(Target), before);
    EXPECT_EQ(PendingJournal(), L"");
}

// A run killed after the clinic's database was renamed and its copy begun; then a rollback
// that put the database back and was itself cut short before it could delete its journal.
// Done again, it must neither take the clinic's file for the run's copy nor lose it.
TEST_F(RollbackTest, RepeatedUndoNeverTakesTheClinicsDatabaseForTheRunsCopy) {
    const std::wstring database = Target + L"R47.FDB";
    const std::wstring kept = Target + L"R47.FDB.20261210-120000.bak";
    WriteBytes(database, "the clinic's records");
    {
        TRollback rollback; // killed: nothing of it is left but its files
        ASSERT_TRUE(rollback.Begin(Target));
        ASSERT_TRUE(MoveFileW(database.c_str(), kept.c_str()));
        rollback.AfterRename(database, kept);
        rollback.BeforeReplace(database);
        WriteBytes(database, "the distribution's empty database");
    }
    const std::wstring journal = PendingJournal();
    // The first rollback's work, done by hand, and its journal left.
    DeleteFileW(database.c_str());
    ASSERT_TRUE(MoveFileW(kept.c_str(), database.c_str()));

    const TInterruptedRun run = UndoInterruptedRun([](const std::wstring&) {});
    EXPECT_TRUE(run.Found);
    EXPECT_EQ(ReadBytes(database), "the clinic's records");
    EXPECT_FALSE(FolderExists(journal.substr(0, journal.rfind(L'\\'))));
}

// A killed run's journal lies where users may write, and the next start may be an
// administrator's: a journal that others could have written, or one that names anything
// outside its installation folder, is not acted on at all, and is forgotten.
TEST_F(RollbackTest, AJournalOthersCouldChangeOrThatReachesOutsideIsNotActedOn) {
    TTempFolder elsewhere;
    const std::wstring victim = elsewhere.Path() + L"другая программа.dll";
    WriteBytes(victim, "another program's library");
    const std::wstring shortcut = SuiteShortcutFile(Target);
    const std::wstring link = elsewhere.Path() + shortcut.substr(shortcut.rfind(L'\\') + 1);
    WriteBytes(link, "a link that is not on a desktop");
    const std::string replaced = ToUtf8(Target + L"replaced.dll");
    const struct {
        const char* What;
        std::string Line;
        bool OpenToAll;
    } cases[] = {
        {"a file outside", "file\t" + ToUtf8(victim) + "\r\n", false},
        {"a folder outside",
         "newtree\t" + ToUtf8(ExcludeTrailingPathDelimiter(elsewhere.Path())) + "\r\n", false},
        {"a path that climbs out", "file\t" + ToUtf8(Target + L"tree\\..\\..\\x.dll") + "\r\n",
         false},
        {"a name aside that climbs out", "saved\t" + replaced + "\t..\\tree\\old.txt\r\n", false},
        {"a font outside the fonts folder", "font\t" + ToUtf8(victim) + "\r\n", false},
        {"the shortcut's name off the desktop", "file\t" + ToUtf8(link) + "\r\n", false},
        {"a journal anyone may change", "", true},
    };
    for (const auto& tampered : cases) {
        {
            TRollback rollback; // killed after one change
            ASSERT_TRUE(rollback.Begin(Target));
            rollback.BeforeReplace(Target + L"replaced.dll");
            WriteBytes(Target + L"replaced.dll", "the new library");
        }
        const std::wstring journal = PendingJournal();
        WriteBytes(journal, ReadBytes(journal) + tampered.Line);
        if (tampered.OpenToAll) {
            PSECURITY_DESCRIPTOR open = nullptr;
            ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
                L"D:(A;;FA;;;WD)", SDDL_REVISION_1, &open, nullptr));
            BOOL present = FALSE, defaulted = FALSE;
            PACL dacl = nullptr;
            GetSecurityDescriptorDacl(open, &present, &dacl, &defaulted);
            EXPECT_EQ(SetNamedSecurityInfoW(const_cast<wchar_t*>(journal.c_str()), SE_FILE_OBJECT,
                                            DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl,
                                            nullptr),
                      DWORD(ERROR_SUCCESS));
            LocalFree(open);
        }

        std::vector<std::wstring> log;
        const TInterruptedRun run =
            UndoInterruptedRun([&](const std::wstring& line) { log.push_back(line); });
        EXPECT_TRUE(run.Found) << tampered.What;
        EXPECT_FALSE(run.Refused.empty()) << tampered.What;
        EXPECT_EQ(run.Target, Target) << tampered.What;
        EXPECT_EQ(ReadBytes(victim), "another program's library") << tampered.What;
        EXPECT_EQ(ReadBytes(link), "a link that is not on a desktop") << tampered.What;
        EXPECT_EQ(ReadBytes(Target + L"replaced.dll"), "the new library") << tampered.What;
        EXPECT_EQ(ReadBytes(Target + L"tree\\old.txt"), "an earlier tree file") << tampered.What;
        EXPECT_EQ(PendingJournal(), L"") << tampered.What;
        ASSERT_FALSE(log.empty());
        EXPECT_TRUE(log.back().starts_with(L"Журнал прерванной установки отклонён"))
            << testing::PrintToString(log.back());
        DeleteTree(ExtractFileDir(journal));
    }
}

TEST(RollbackJournal, ACutLastLineIsDroppedAndAForeignFileRefused) {
    TTempFolder folder;
    TRollbackJournal journal;
    ASSERT_TRUE(journal.Create(folder.Path(), L"C:\\Holter\\"));
    TJournalLine saved;
    saved.Kind = TJournalKind::jkSaved;
    saved.Path = L"C:\\Holter\\Сонтира файл.dll";
    saved.Other = L"1";
    TJournalLine value;
    value.Kind = TJournalKind::jkValue;
    value.Path = L"Software\\X";
    value.Other = L"Name";
    value.Type = REG_BINARY;
    value.Data = {0, 1, 0xFE, 0xFF};
    ASSERT_TRUE(journal.Append({saved, value}));
    journal.Close();
    const std::wstring path = folder.Path() + JournalName;
    // A power cut in the middle of the next line.
    const std::string bytes = ReadBytes(path);
    WriteBytes(path, bytes + "file\tC:\\Holter\\half");

    std::vector<TJournalLine> lines;
    ASSERT_TRUE(ReadRollbackJournal(path, lines));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].Kind, TJournalKind::jkTarget);
    EXPECT_EQ(lines[1].Path, saved.Path);
    EXPECT_EQ(lines[1].Other, L"1");
    EXPECT_EQ(lines[2].Type, DWORD(REG_BINARY));
    EXPECT_EQ(lines[2].Data, value.Data);

    for (const std::string& foreign : {std::string("\xEF\xBB\xBFnot a journal\r\n"),
                                       bytes + "unknown\tC:\\x\r\n", std::string()}) {
        WriteBytes(path, foreign);
        EXPECT_FALSE(ReadRollbackJournal(path, lines)) << foreign;
    }
}

} // namespace
