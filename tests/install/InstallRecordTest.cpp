#include "common/Utf8.h"
#include "install/InstallRecord.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

const std::string Header = "\xEF\xBB\xBFSontira install record\t1\r\n";

std::string Record(const std::wstring& lines) {
    return Header + ToUtf8(lines);
}

TEST(InstallRecordTest, ReadsWhatItWritesAndMergesLaterLines) {
    TRecordEntry file = RecordItem(TRecordKind::rkFile, L"Папка с пробелом\\Shell.exe");
    file.Size = 5'000'000'000ULL;
    file.WriteTime = 134'099'748'123'456'789ULL; // 100-ns digits survive
    file.Existed = true;
    file.ReadOnly = true;
    TRecordEntry edited = RecordItem(TRecordKind::rkFile, L"btooth.ini");
    edited.Existed = edited.Edited = true;
    TRecordEntry font = RecordItem(TRecordKind::rkFont, L"C:\\Windows\\Fonts\\ARIAL.TTF");
    font.FontValue = L"Arial (TrueType)";
    const TRecordEntry folder = RecordItem(TRecordKind::rkFolder, L"backup\\R150320");
    const TRecordEntry link =
        RecordItem(TRecordKind::rkShortcut, L"C:\\Users\\Врач\\Desktop\\Сонтира.lnk");

    const TRecordEntry redirected =
        RecordItem(TRecordKind::rkShortcut, L"\\\\server\\profiles\\Врач\\Desktop\\Сонтира.lnk");
    std::wstring text;
    for (const TRecordEntry& entry : {file, font, folder, link, redirected, edited}) {
        text += FormatRecordLine(entry) + L"\r\n";
    }
    // A later line for the same file, spelled in other case, replaces the first.
    TRecordEntry again = file;
    again.Path = L"ПАПКА С ПРОБЕЛОМ\\shell.EXE";
    again.Size = 7;
    text += FormatRecordLine(again) + L"\r\n";

    TRecordSet entries;
    std::wstring error;
    ASSERT_TRUE(ParseInstallRecord(Record(text), entries, error)) << error;
    ASSERT_EQ(entries.Entries().size(), 6u);
    const TRecordEntry& read = entries.Entries()[0];
    EXPECT_EQ(read.Path, again.Path);
    EXPECT_EQ(read.Size, 7u);
    EXPECT_EQ(read.WriteTime, file.WriteTime);
    EXPECT_TRUE(read.Existed);
    EXPECT_TRUE(read.ReadOnly);
    EXPECT_EQ(entries.Entries()[1].FontValue, L"Arial (TrueType)");
    EXPECT_EQ(entries.Entries()[2].Path, folder.Path);
    EXPECT_EQ(entries.Entries()[3].Path, link.Path);
    EXPECT_EQ(entries.Entries()[4].Path, redirected.Path);
    EXPECT_TRUE(entries.Entries()[5].Edited && entries.Entries()[5].Existed);
    EXPECT_FALSE(read.Edited);
    EXPECT_NE(entries.Find(TRecordKind::rkFile, L"папка с пробелом\\SHELL.exe"), nullptr);
    EXPECT_EQ(entries.Find(TRecordKind::rkFolder, L"папка с пробелом\\SHELL.exe"), nullptr);
}

TEST(InstallRecordTest, RefusesEveryDamagedRecordAndSaysWhere) {
    const std::wstring good = L"file\t3\t2026-12-10T17:30:24.7224112Z\tnew\twritable\ta.dll\r\n";
    const std::pair<std::string, const wchar_t*> cases[] = {
        {"", L"строка 1"},
        {"\xEF\xBB\xBFSontira install record\t2\r\n", L"строка 1"},
        {Record(good + L"folder\t..\\Windows\r\n"), L"строка 3"},
        {Record(L"file\t3\t2026-12-10T17:30:24.7224112Z\tnew\twritable\tC:\\Windows\\a.dll\r\n"),
         L"строка 2"},
        {Record(L"file\t3\t2026-12-10T17:30:24.7224112Z\tnew\twritable\t\\a.dll\r\n"), L"строка 2"},
        {Record(L"file\tx3\t2026-12-10T17:30:24.7224112Z\tnew\twritable\ta.dll\r\n"), L"строка 2"},
        {Record(L"file\t3\t2026-13-10T17:30:24.7224112Z\tnew\twritable\ta.dll\r\n"), L"строка 2"},
        {Record(L"file\t3\t2026-12-10 17:30:24\tnew\twritable\ta.dll\r\n"), L"строка 2"},
        {Record(L"file\t3\t2026-12-10T17:30:24.7224112Z\tmaybe\twritable\ta.dll\r\n"), L"строка 2"},
        {Record(L"file\t3\t2026-12-10T17:30:24.7224112Z\tnew\ta.dll\r\n"), L"строка 2"},
        {Record(L"shortcut\tC:\\Windows\\system32\\kernel32.dll\r\n"), L"строка 2"},
        {Record(L"shortcut\tDesktop\\Сонтира.lnk\r\n"), L"строка 2"},
        {Record(L"shortcut\t\\\\\\Desktop\\Сонтира.lnk\r\n"), L"строка 2"},
        {Record(L"registry\tHKLM\\Software\r\n"), L"строка 2"},
        {Record(L"source\tdist\\\r\n"), L"строка 2"},
        {Record(L"source\tC:\\dist\r\n"), L"строка 2"}, // a folder ends in "\"
        {Record(L"source\tC:\\dist\\..\\Windows\\\r\n"), L"строка 2"},
        {Record(good + L"file\t3"), L"строка 3"}, // cut off mid-line
        {Record(good + L"folder\ta\rb\r\n"), L"строка 3"},
        // Names Windows reads as another file, a stream or a device: never the one meant.
        {Record(L"file\t3\t2026-12-10T17:30:24.7224112Z\tnew\twritable\tDTAfb.\\R47.FDB\r\n"),
         L"строка 2"},
        {Record(good + L"folder\tSettings \r\n"), L"строка 3"},
        {Record(good + L"folder\tudf\\fbudf.dll:secret\r\n"), L"строка 3"},
        {Record(good + L"folder\tudf\\nul.txt\r\n"), L"строка 3"},
        {Record(good + L"folder\tCOM1\r\n"), L"строка 3"},
        {Record(good + L"folder\tlpt9.log\r\n"), L"строка 3"},
        {Record(good + L"folder\tCONIN$\r\n"), L"строка 3"},
        {Record(L"shortcut\tC:\\Users\\Врач\\Desktop\\AUX.lnk\r\n"), L"строка 2"},
        {Record(L"font\tC:\\Windows\\Fonts.\\ARIAL.TTF\tArial (TrueType)\r\n"), L"строка 2"},
        // A repair would write the distribution's font there.
        {Record(L"font\tC:\\Windows\\System32\\version.dll\tArial (TrueType)\r\n"), L"строка 2"},
        {Header + "folder\t\xC0\xAF\r\n", L"строка 1"}, // not UTF-8
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(testing::Message() << "case " << i);
        const auto& [bytes, where] = cases[i];
        TRecordSet entries;
        std::wstring error;
        EXPECT_FALSE(ParseInstallRecord(bytes, entries, error));
        EXPECT_TRUE(error.starts_with(where)) << ToUtf8(error);
        EXPECT_TRUE(entries.Entries().empty());
    }
}

// One source, the latest run's: a CD's root or a share.
TEST(InstallRecordTest, KeepsTheLatestSourceOnly) {
    TRecordSet entries;
    std::wstring error;
    ASSERT_TRUE(ParseInstallRecord(Record(L"source\tD:\\\r\n"), entries, error)) << error;
    EXPECT_EQ(entries.Source(), L"D:\\");
    ASSERT_TRUE(ParseInstallRecord(Record(L"source\tD:\\\r\nfolder\tDTAfb\r\n"
                                          L"source\t\\\\server\\Дистрибутив Сонтира\\\r\n"),
                                   entries, error))
        << error;
    EXPECT_EQ(entries.Source(), L"\\\\server\\Дистрибутив Сонтира\\");
    EXPECT_EQ(entries.Entries().size(), 2u);
    EXPECT_EQ(FormatRecordLine(entries.Entries()[0]), L"source\t\\\\server\\Дистрибутив Сонтира\\");
    ASSERT_TRUE(ParseInstallRecord(Record(L"folder\tDTAfb\r\n"), entries, error));
    EXPECT_EQ(entries.Source(), L"");
}

TEST(InstallRecordTest, FileOnDiskMissingWrittenAndDamaged) {
    TTempFolder folder;
    EXPECT_EQ(ReadInstallRecord(folder.Path()).State, TRecordState::rsMissing);

    TRecordEntry entry = RecordItem(TRecordKind::rkFile, L"a.dll");
    entry.Size = 3;
    ASSERT_TRUE(WriteInstallRecord(folder.Path(), {entry}));
    const TRecordFile read = ReadInstallRecord(folder.Path());
    ASSERT_EQ(read.State, TRecordState::rsRead);
    ASSERT_EQ(read.Entries.Entries().size(), 1u);
    EXPECT_EQ(read.Entries.Entries()[0].Size, 3u);
    // Nothing is left beside it.
    EXPECT_EQ(GetFileAttributesW((folder / L"InstallRecord.txt.new").c_str()),
              INVALID_FILE_ATTRIBUTES);

    WriteBytes(folder / L"InstallRecord.txt", "garbage");
    const TRecordFile bad = ReadInstallRecord(folder.Path());
    EXPECT_EQ(bad.State, TRecordState::rsBad);
    EXPECT_FALSE(bad.Error.empty());
}

// A record larger than the blocks it is written in reads back whole, in its order.
TEST(InstallRecordTest, LargeRecordReadsBackWhole) {
    TTempFolder folder;
    TRecordEntries entries;
    for (int i = 0; i < 3000; ++i) {
        TRecordEntry entry = RecordItem(
            TRecordKind::rkFile, L"backup\\Архив " + std::to_wstring(i) + L"\\Обследование.dat");
        entry.Size = static_cast<std::uint64_t>(i) * 1000;
        entries.push_back(entry);
    }
    ASSERT_TRUE(WriteInstallRecord(folder.Path(), entries));
    const TRecordFile read = ReadInstallRecord(folder.Path());
    ASSERT_EQ(read.State, TRecordState::rsRead) << ToUtf8(read.Error);
    ASSERT_EQ(read.Entries.Entries().size(), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        ASSERT_EQ(read.Entries.Entries()[i].Path, entries[i].Path) << i;
        ASSERT_EQ(read.Entries.Entries()[i].Size, entries[i].Size) << i;
    }
}

} // namespace
