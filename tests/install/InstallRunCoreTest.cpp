// The run from the progress page through the fonts: target folder, settings, database, engine
// files, libraries, counter file, brand file, and the busy part that refuses to close.
#include "InstallRunFixture.h"

#include "common/Handles.h"
#include "common/Paths.h"
#include "ui/Application.h"

#include <cmath>
#include <cstring>
#include <regex>

using namespace runtest;

namespace {

const wchar_t* const ListA[] = {L"aliases.conf", L"firebird.conf", L"fbclient.Dll", L"ib_util.Dll",
                                L"icudt30.Dll",  L"icuin30.Dll",   L"icuuc30.Dll",  L"msvcp80.Dll",
                                L"msvcr80.Dll",  L"firebird.msg",  L"gbak.exe",     L"gds32.dll"};
const wchar_t* const ListB[] = {L"aliases.conf", L"firebird.conf", L"fbclient.Dll", L"ib_util.Dll",
                                L"icudt30.Dll",  L"icuin30.Dll",   L"icuuc30.Dll",  L"msvcp71.Dll",
                                L"msvcr71.Dll",  L"firebird.msg"};
const wchar_t* const Intl[] = {L"fbintl.conf", L"fbintl.dll"};
const wchar_t* const Udf[] = {L"fbudf.dll", L"ib_udf.dll", L"fbudf.sql", L"ib_udf.sql",
                              L"ib_udf2.sql"};
const wchar_t* const Libraries[] = {L"Compare.Dll", L"PosStr.Dll", L"ProcessingECG.Dll",
                                    L"SDecision.Dll"};

const wchar_t* const SettingsDone = L"Создание настроечных файлов....Завершено";
const wchar_t* const DatabaseFolderMade = L"Каталог <DTAfb> создан...";
const wchar_t* const Undone = L"Отмена изменений....Завершено";

template <size_t N>
void AppendDone(std::vector<std::wstring>& lines, const wchar_t* const (&names)[N]) {
    for (const wchar_t* name : names) {
        lines.push_back(Done(name));
    }
}

// The log of a run that went through, from the database step to the libraries.
template <size_t N> std::vector<std::wstring> CopyLines(const wchar_t* const (&runtime)[N]) {
    std::vector<std::wstring> lines{Done(L"R47.FDB")};
    AppendDone(lines, runtime);
    AppendDone(lines, Intl);
    AppendDone(lines, Udf);
    AppendDone(lines, Libraries);
    return lines;
}

std::vector<std::wstring> Concat(std::vector<std::wstring> a, const std::vector<std::wstring>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

int IniInt(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    return int(GetPrivateProfileIntW(section, key, -1, file.c_str()));
}

std::wstring IniString(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    wchar_t value[256] = L"";
    GetPrivateProfileStringW(section, key, L"<none>", value, 256, file.c_str());
    return value;
}

// The local time now as days since 30 December 1899, worked out from file times.
double DaysSince1899() {
    SYSTEMTIME now, epoch{1899, 12, 0, 30, 0, 0, 0, 0};
    GetLocalTime(&now);
    FILETIME nowTime, epochTime;
    SystemTimeToFileTime(&now, &nowTime);
    SystemTimeToFileTime(&epoch, &epochTime);
    auto ticks = [](const FILETIME& t) {
        return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return double(ticks(nowTime) - ticks(epochTime)) / 864000000000.0;
}

bool HasDatabaseBackup(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"*.bak").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(find);
    return true;
}

} // namespace

TEST_F(InstallRunTest, FreshTargetGetsEveryFileInOrder) {
    RemoveInstalledFonts();
    OpenOptions(Target);
    TDialogAnswerer answerer;
    Install(answerer);

    std::vector<std::wstring> expected{SettingsDone, DatabaseFolderMade};
    expected = Concat(expected, CopyLines(ListA));
    for (const TDistFont& font : DistFonts) {
        expected.push_back(FontLine(font));
    }
    EXPECT_EQ(Log(), expected);
    EXPECT_TRUE(answerer.Seen().empty());

    EXPECT_EQ(ReadBytes(Target + L"DTAfb\\R47.FDB"), ReadBytes(From + L"DTAfb\\R47.FDB"));
    for (const wchar_t* name : ListA) {
        EXPECT_EQ(ReadBytes(Target + name), ReadBytes(From + L"Firebird\\" + name)) << name;
    }
    for (const wchar_t* name : Intl) {
        EXPECT_EQ(ReadBytes(Target + L"intl\\" + name),
                  ReadBytes(From + L"Firebird\\intl\\" + name));
    }
    for (const wchar_t* name : Udf) {
        EXPECT_EQ(ReadBytes(Target + L"udf\\" + name), ReadBytes(From + L"Firebird\\udf\\" + name));
    }
    for (const wchar_t* name : Libraries) {
        EXPECT_EQ(ReadBytes(Target + L"udf\\" + name), ReadBytes(From + L"UDF\\" + name)) << name;
    }
    EXPECT_EQ(ReadBytes(Target + L"Settings\\uca.nsi").size(), 840u);
    EXPECT_EQ(ReadBytes(Target + L"Settings\\wra.nsi").size(), 840u);
    EXPECT_FALSE(FileExists(Target + L"btooth.ini"));

    const std::wstring ini = Target + L"Settings\\holter.ini";
    EXPECT_EQ(IniInt(ini, L"options", L"FilterType"), 0);
    EXPECT_EQ(IniInt(ini, L"options", L"HardwareType"), 1);

    const std::string counter = ReadBytes(Target + L"Settings\\lastnum.dta");
    ASSERT_EQ(counter.size(), 14u);
    EXPECT_EQ(counter.substr(0, 6), std::string(6, '\0'));
    double days = 0;
    std::memcpy(&days, counter.data() + 6, sizeof days);
    EXPECT_LT(std::fabs(days - DaysSince1899()), 5.0 / (24 * 60)) << days;
}

TEST_F(InstallRunTest, ReinstallKeepsSettingsCounterAndTheOldDatabase) {
    OpenOptions(Target);
    WriteAll(Target + L"Settings\\holter.ini",
             "; clinic settings\r\n[options]\r\nFilterType=3\r\nLanguage=ru\r\n"
             "[printer]\r\nName=Lab\r\n");
    const std::string counter = "\x07\x00\x2a\x00\x00\x00"
                                "12345678";
    WriteAll(Target + L"Settings\\lastnum.dta", counter);
    ASSERT_TRUE(CreateDirectoryW((Target + L"DTAfb").c_str(), nullptr));
    WriteAll(Target + L"DTAfb\\R47.FDB", "the clinic's records");
    WriteAll(Target + L"fbclient.Dll", "an older engine");

    TDialogAnswerer answerer;
    Install(answerer);

    const std::vector<std::wstring> log = Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], SettingsDone);
    std::wsmatch kept;
    const std::wregex keptLine(L"Прежняя база данных сохранена: (R47\\.FDB\\.\\d{8}-\\d{6}\\.bak)");
    ASSERT_TRUE(std::regex_match(log[1], kept, keptLine)) << log[1];
    const std::vector<std::wstring> copies = CopyLines(ListA);
    ASSERT_GE(log.size(), 2 + copies.size());
    EXPECT_EQ(std::vector<std::wstring>(log.begin() + 2, log.begin() + 2 + copies.size()), copies);
    for (const std::wstring& line : log) {
        EXPECT_NE(line, L"Каталог создан...");
        EXPECT_NE(line, DatabaseFolderMade);
    }

    EXPECT_EQ(ReadBytes(Target + L"DTAfb\\" + kept[1].str()), "the clinic's records");
    EXPECT_EQ(ReadBytes(Target + L"DTAfb\\R47.FDB"), ReadBytes(From + L"DTAfb\\R47.FDB"));
    EXPECT_EQ(ReadBytes(Target + L"fbclient.Dll"), ReadBytes(From + L"Firebird\\fbclient.Dll"));
    EXPECT_EQ(ReadBytes(Target + L"Settings\\lastnum.dta"), counter);

    const std::wstring ini = Target + L"Settings\\holter.ini";
    EXPECT_EQ(IniInt(ini, L"options", L"FilterType"), 0);
    EXPECT_EQ(IniInt(ini, L"options", L"HardwareType"), 1);
    EXPECT_EQ(IniString(ini, L"options", L"Language"), L"ru");
    EXPECT_EQ(IniString(ini, L"printer", L"Name"), L"Lab");
    EXPECT_NE(ReadBytes(ini).find("; clinic settings"), std::string::npos);
}

TEST_F(InstallRunTest, MissingLibraryEndsTheRunWithTheErrorBox) {
    RemoveInstalledFonts();
    ASSERT_TRUE(DeleteFileW((From + L"UDF\\Compare.Dll").c_str()));
    OpenOptions(Target);
    TDialogAnswerer answerer;
    answerer.Press(IDOK);
    Install(answerer);

    ASSERT_EQ(answerer.Seen().size(), 1u);
    const auto& box = answerer.Seen()[0];
    EXPECT_EQ(box.Icon, UINT(MB_ICONERROR));
    EXPECT_EQ(box.Caption, L"Установка комплекса \"Сонтира\"");
    EXPECT_EQ(box.Text.rfind(L"Не удается открыть файл \"" + From + L"UDF\\Compare.Dll\"", 0), 0u)
        << box.Text;

    std::vector<std::wstring> expected{SettingsDone, DatabaseFolderMade, Done(L"R47.FDB")};
    AppendDone(expected, ListA);
    AppendDone(expected, Intl);
    AppendDone(expected, Udf);
    expected.push_back(Unfinished(L"Compare.Dll"));
    expected.push_back(Undone);
    EXPECT_EQ(Log(), expected);
    // Made for this installation by the path page, the folder goes with the rest.
    EXPECT_FALSE(DirectoryExists(Target));

    EXPECT_FALSE(FileExists(Target + L"udf\\PosStr.Dll"));
    EXPECT_FALSE(FileExists(Target + L"Settings\\lastnum.dta"));
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_FALSE(FileExists(std::wstring(windows) + L"\\Fonts\\ARIAL.TTF"));
    EXPECT_FALSE(DirectoryExists(Target + L"backup"));
    EXPECT_FALSE(FileExists(DesktopLink()));
    EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsProgressInstall"});
    EXPECT_FALSE(ExitEnabled());
    EXPECT_TRUE(Form->CanClose());
    EXPECT_FALSE(Form->Busy());
}

TEST_F(InstallRunTest, WindowsXpIndexCopiesTheOlderRuntime) {
    Form->CBWindows.SetItemIndex(1);
    OpenOptions(Target);
    TDialogAnswerer answerer;
    Install(answerer);

    const std::vector<std::wstring> log = Log();
    const std::vector<std::wstring> copies = CopyLines(ListB);
    ASSERT_GE(log.size(), 2 + copies.size());
    EXPECT_EQ(std::vector<std::wstring>(log.begin() + 2, log.begin() + 2 + copies.size()), copies);
    EXPECT_EQ(ReadBytes(Target + L"msvcr71.Dll"), ReadBytes(From + L"Firebird\\msvcr71.Dll"));
    EXPECT_FALSE(FileExists(Target + L"gbak.exe"));
    EXPECT_FALSE(FileExists(Target + L"gds32.dll"));
    EXPECT_FALSE(FileExists(Target + L"msvcp80.Dll"));
}

TEST_F(InstallRunTest, BrandFileOnlyForTheLovenaBrand) {
    for (bool brand : {true, false}) {
        SCOPED_TRACE(brand);
        if (!brand) {
            Restart();
        }
        OpenOptions(Target);
        WriteAll(Target + L"btooth.ini", "[Common]\r\nPort=3\r\n[Device]\r\nName=HS\r\n");
        Form->IsLovenaBrand = brand;
        TDialogAnswerer answerer;
        Install(answerer);

        const std::wstring ini = Target + L"btooth.ini";
        EXPECT_EQ(IniString(ini, L"Common", L"Disk"), brand ? L"I" : L"<none>");
        EXPECT_EQ(IniString(ini, L"Common", L"Port"), L"3");
        EXPECT_EQ(IniString(ini, L"Device", L"Name"), L"HS");
        EXPECT_TRUE(ExitEnabled());
    }
}

TEST_F(InstallRunTest, MissingSettingsFolderStopsBeforeTheBusyPart) {
    const struct {
        const wchar_t* Removed; // relative to the target, after the path page made it
        std::vector<std::wstring> Log;
    } cases[] = {{L"Settings", {Undone}}, {L"", {L"Каталог создан...", Undone}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Removed)));
        if (&c != cases) {
            Restart();
        }
        OpenOptions(Target);
        RemoveTree(Target + c.Removed);
        TDialogAnswerer answerer;
        answerer.Press(IDOK);
        Install(answerer);

        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen()[0].Icon, UINT(MB_ICONERROR));
        EXPECT_NE(answerer.Seen()[0].Text.find(L"holter.ini"), std::wstring::npos)
            << answerer.Seen()[0].Text;
        EXPECT_EQ(Log(), c.Log);
        EXPECT_FALSE(DirectoryExists(Target));
        EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsProgressInstall"});
        EXPECT_FALSE(ExitEnabled());
        EXPECT_TRUE(Form->CanClose());
    }
}

TEST_F(InstallRunTest, SourceFolderAsTargetStopsAtTheDatabaseAndKeepsIt) {
    const std::wstring database = From + L"DTAfb\\R47.FDB";
    const std::string original = ReadBytes(database);
    OpenOptions(From);
    TDialogAnswerer answerer;
    answerer.Press(IDOK);
    Install(answerer);

    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].Icon, UINT(MB_ICONERROR));
    EXPECT_NE(answerer.Seen()[0].Text.find(L"R47.FDB"), std::wstring::npos)
        << answerer.Seen()[0].Text;
    EXPECT_EQ(Log(), (std::vector<std::wstring>{SettingsDone, Unfinished(L"R47.FDB"), Undone}));
    EXPECT_EQ(ReadBytes(database), original);
    EXPECT_FALSE(FileExists(From + L"Uninstall.exe"));
    EXPECT_FALSE(FileExists(From + L"Settings\\uca.nsi"));
    EXPECT_FALSE(HasDatabaseBackup(From + L"DTAfb\\"));
    EXPECT_FALSE(ExitEnabled());
    EXPECT_TRUE(Form->CanClose());
}

namespace {

// Asks the window to close each time a step line of the busy part is appended; the request
// is handled by the message pass that follows the line.
struct TCloseProbe {
    static inline HWND Window = nullptr;
    static inline HWND List = nullptr;
    static inline int Requests = 0;

    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && msg->hwnd == List && msg->message == LB_ADDSTRING) {
            const std::wstring line = reinterpret_cast<const wchar_t*>(msg->lParam);
            if (line.ends_with(L"....")) {
                ++Requests;
                PostMessageW(Window, WM_CLOSE, 0, 0);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

} // namespace

TEST_F(InstallRunTest, CloseIsRefusedWhileBusyAndGrantedAfterTheRun) {
    OpenOptions(Target);
    Application.SetMainForm(Form.get());
    TCloseProbe::Window = Form->Handle();
    TCloseProbe::List = Form->LogList.Handle();
    TCloseProbe::Requests = 0;
    HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROC, TCloseProbe::Hook, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    TDialogAnswerer answerer;
    Install(answerer);
    UnhookWindowsHookEx(hook);

    EXPECT_EQ(TCloseProbe::Requests, 25); // settings, database, 12 runtime, 7 plug-ins, 4 libraries
    ASSERT_TRUE(IsWindow(Form->Handle()));
    MSG pending;
    EXPECT_FALSE(PeekMessageW(&pending, Form->Handle(), WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
    EXPECT_TRUE(ExitEnabled());

    SendMessageW(Form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Form->Handle(), nullptr);
}

TEST_F(InstallRunTest, DatabaseThatCannotBeSetAsideIsNotOverwritten) {
    OpenOptions(Target);
    ASSERT_TRUE(CreateDirectoryW((Target + L"DTAfb").c_str(), nullptr));
    const std::wstring database = Target + L"DTAfb\\R47.FDB";
    WriteAll(database, "the clinic's records");
    // Open elsewhere without leave to delete: the file can be neither renamed nor replaced.
    const TUniqueFile inUse(CreateFileW(database.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(inUse);
    TDialogAnswerer answerer;
    Install(answerer);

    EXPECT_TRUE(answerer.Seen().empty());
    const std::vector<std::wstring> log = Log();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0], SettingsDone);
    EXPECT_EQ(log[1], Unfinished(L"R47.FDB") + L"ОШИБКА!!!");
    // The system's own reason follows, so the engineer knows what holds the file.
    EXPECT_TRUE(log[2].starts_with(L"Прежнюю базу данных не удалось сохранить: ")) << log[2];
    EXPECT_EQ(log[3], Undone);
    EXPECT_EQ(ReadBytes(database), "the clinic's records");
    EXPECT_FALSE(HasDatabaseBackup(Target + L"DTAfb\\"));
    EXPECT_FALSE(FileExists(Target + L"aliases.conf"));
    EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsProgressInstall"});
    EXPECT_FALSE(ExitEnabled());
    EXPECT_TRUE(Form->CanClose());
}
