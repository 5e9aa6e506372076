#include "common/Reboot.h"
#include "wizard/LargeFonts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.rfind(L'\\'));
}

std::wstring ThisProgramFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return FolderOf(path);
}

std::wstring SystemFolder() {
    wchar_t path[MAX_PATH];
    GetSystemDirectoryW(path, MAX_PATH);
    return path;
}

std::wstring LoadedSyssetupPath() {
    HMODULE module = GetModuleHandleW(L"syssetup.dll");
    if (module == nullptr) {
        return L"(not loaded)";
    }
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

// Answers the next message box of this process with the given button and keeps its text.
class TMessageBoxAnswer {
public:
    explicit TMessageBoxAnswer(int button) : FThread([this, button] { Answer(button); }) {}
    ~TMessageBoxAnswer() {
        FStop = true;
        FThread.join();
    }
    const std::wstring& Text() const { return FText; }
    HWND Owner() const { return FOwner; }

private:
    struct TSearch {
        DWORD Process;
        HWND Found;
    };

    static BOOL CALLBACK IsOurBox(HWND wnd, LPARAM param) {
        auto* search = reinterpret_cast<TSearch*>(param);
        DWORD process = 0;
        GetWindowThreadProcessId(wnd, &process);
        wchar_t className[16] = L"";
        GetClassNameW(wnd, className, 16);
        if (process == search->Process && wcscmp(className, L"#32770") == 0 &&
            IsWindowVisible(wnd)) {
            search->Found = wnd;
            return FALSE;
        }
        return TRUE;
    }

    static HWND FindBox() {
        TSearch search{GetCurrentProcessId(), nullptr};
        EnumWindows(IsOurBox, reinterpret_cast<LPARAM>(&search));
        return search.Found;
    }

    void Answer(int button) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!FStop && std::chrono::steady_clock::now() < deadline) {
            if (HWND box = FindBox()) {
                wchar_t text[512] = L"";
                GetDlgItemTextW(box, 0xFFFF, text, 512);
                FText = text;
                FOwner = GetWindow(box, GW_OWNER);
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
                return;
            }
            Sleep(20);
        }
    }

    std::atomic<bool> FStop{false};
    std::wstring FText;
    HWND FOwner = nullptr;
    std::thread FThread;
};

// The recording stand-in for syssetup.dll (tests/fixtures/syssetup) placed where a test needs
// it; every place and the record are cleared again afterwards.
class LargeFontsTest : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        FRecord = std::wstring(temp) + L"syssetup-record.txt";
        DeleteFileW(FRecord.c_str());
        SetEnvironmentVariableW(L"SYSSETUP_RECORD", FRecord.c_str());
        FRecorder = ThisProgramFolder() + L"\\fixtures\\syssetup\\syssetup_recorder.dll";
        ASSERT_NE(GetFileAttributesW(FRecorder.c_str()), INVALID_FILE_ATTRIBUTES);
        FInSystem = SystemFolder() + L"\\syssetup.dll";
        FBeside = ThisProgramFolder() + L"\\syssetup.dll";
        ASSERT_EQ(GetFileAttributesW(FInSystem.c_str()), INVALID_FILE_ATTRIBUTES)
            << "Wine has no syssetup.dll of its own";
    }
    void TearDown() override {
        while (HMODULE module = GetModuleHandleW(L"syssetup.dll")) {
            FreeLibrary(module);
        }
        DeleteFileW(FInSystem.c_str());
        DeleteFileW(FBeside.c_str());
        DeleteFileW(FRecord.c_str());
        SetEnvironmentVariableW(L"SYSSETUP_RECORD", nullptr);
        SetEnvironmentVariableW(L"SYSSETUP_RESULT", nullptr);
    }

    void Place(const std::wstring& where) {
        ASSERT_TRUE(CopyFileW(FRecorder.c_str(), where.c_str(), FALSE)) << GetLastError();
    }

    std::wstring Record() const {
        std::ifstream file(FRecord.c_str(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(file)), {});
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                            bytes.size() / sizeof(wchar_t));
    }

    std::wstring FRecord, FRecorder, FInSystem, FBeside;
};

TEST_F(LargeFontsTest, LibraryAbsentDoesNothing) {
    EXPECT_NO_THROW(SwitchToLargeFonts());
    EXPECT_EQ(LoadedSyssetupPath(), L"(not loaded)");
}

// Called with no owner and "120"; freed after success, kept loaded after a failure.
TEST_F(LargeFontsTest, CallsTheSystemFoldersLibrary) {
    Place(FInSystem);
    const struct {
        const wchar_t* Result;
        bool StaysLoaded;
    } cases[] = {{L"1", false}, {L"0", true}};
    for (const auto& c : cases) {
        DeleteFileW(FRecord.c_str());
        SetEnvironmentVariableW(L"SYSSETUP_RESULT", c.Result);
        SwitchToLargeFonts();
        EXPECT_EQ(Record(), L"load\ncall no window 120\n") << c.Result;
        EXPECT_EQ(LoadedSyssetupPath(), c.StaysLoaded ? FInSystem : L"(not loaded)") << c.Result;
    }
}

// Whether folder\syssetup.dll is on the disk, read past WOW64's redirection of system32.
bool OnDisk(const std::wstring& folder) {
    PVOID redirection = nullptr;
    const BOOL disabled = Wow64DisableWow64FsRedirection(&redirection);
    const bool there =
        GetFileAttributesW((folder + L"\\syssetup.dll").c_str()) != INVALID_FILE_ATTRIBUTES;
    if (disabled) {
        Wow64RevertWow64FsRedirection(redirection);
    }
    return there;
}

// On 64-bit Windows the system folder of a 32-bit program is SysWOW64, the home of the 32-bit
// libraries: what it loads "from the system folder" must come from there, never from the
// 64-bit system32. A 64-bit program's is system32 itself.
TEST_F(LargeFontsTest, SystemFolderIsThatOfTheProgramsBitness) {
    wchar_t wow64Folder[MAX_PATH] = L"";
    if (GetSystemWow64DirectoryW(wow64Folder, MAX_PATH) == 0) {
        GTEST_SKIP() << "32-bit Windows: one system folder";
    }
    const std::wstring system32 = SystemFolder(), syswow64 = wow64Folder;
    const bool thirtyTwoBit = sizeof(void*) == 4;
    Place(FInSystem);
    EXPECT_EQ(OnDisk(syswow64), thirtyTwoBit);
    EXPECT_EQ(OnDisk(system32), !thirtyTwoBit);
    SwitchToLargeFonts();
    EXPECT_EQ(Record(), L"load\ncall no window 120\n");
}

// A syssetup.dll without the function: nothing is called, and the library stays loaded.
TEST_F(LargeFontsTest, LibraryWithoutTheFunctionStaysLoaded) {
    const std::wstring without =
        ThisProgramFolder() + L"\\fixtures\\syssetup\\syssetup_without_call.dll";
    ASSERT_TRUE(CopyFileW(without.c_str(), FInSystem.c_str(), FALSE)) << GetLastError();
    EXPECT_NO_THROW(SwitchToLargeFonts());
    EXPECT_EQ(Record(), L"load\n");
    EXPECT_EQ(LoadedSyssetupPath(), FInSystem);
}

TEST_F(LargeFontsTest, PlantedCopyBesideTheProgramIsNeverLoaded) {
    Place(FBeside);
    SwitchToLargeFonts();
    EXPECT_EQ(Record(), L"");
    EXPECT_EQ(LoadedSyssetupPath(), L"(not loaded)");

    // With both present, the system folder's copy is the one called.
    Place(FInSystem);
    SetEnvironmentVariableW(L"SYSSETUP_RESULT", L"0");
    SwitchToLargeFonts();
    EXPECT_EQ(Record(), L"load\ncall no window 120\n");
    EXPECT_EQ(LoadedSyssetupPath(), FInSystem);
    FreeLibrary(GetModuleHandleW(L"syssetup.dll"));
    DeleteFileW(FInSystem.c_str());

    // The test is meaningful: a load by bare name does pick up the planted copy.
    DeleteFileW(FRecord.c_str());
    HMODULE bare = LoadLibraryW(L"syssetup.dll");
    EXPECT_EQ(Record(), L"load\n");
    if (bare != nullptr) {
        FreeLibrary(bare);
    }
}

class ChangeFontSizeTest : public LargeFontsTest {
protected:
    void SetUp() override {
        LargeFontsTest::SetUp();
        FOwner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
        FPreviousExit = ReplaceExitWindowsForTests([this](UINT flags, DWORD) {
            FEvents.push_back(L"restart " + std::to_wstring(flags));
            return TRUE;
        });
    }
    void TearDown() override {
        ReplaceExitWindowsForTests(FPreviousExit);
        DestroyWindow(FOwner);
        LargeFontsTest::TearDown();
    }

    std::wstring Press(int answer) {
        TMessageBoxAnswer box(answer);
        ChangeFontSizeAndAskRestart(FOwner, [this] { FEvents.push_back(L"close"); });
        EXPECT_EQ(box.Owner(), FOwner);
        return box.Text();
    }

    HWND FOwner = nullptr;
    TExitWindowsCall FPreviousExit;
    std::vector<std::wstring> FEvents;
};

const wchar_t* const Question = L"Изменения в настройки внесены, для того чтобы они\r\n"
                                L"вступили в силу, требуется перзагрузить операционную "
                                L"систему.\r\nВыполнить перезагрузку сейчас?";

TEST_F(ChangeFontSizeTest, NoKeepsThePageAndAnotherPressSwitchesAgain) {
    Place(FInSystem);
    EXPECT_EQ(Press(IDNO), Question);
    EXPECT_EQ(Press(IDNO), Question);
    EXPECT_EQ(Record(), L"load\ncall no window 120\nload\ncall no window 120\n");
    EXPECT_TRUE(FEvents.empty());
}

// Without the library the question still comes; Yes restarts, letting only hung programs
// be closed by force, then closes the window.
TEST_F(ChangeFontSizeTest, YesRestartsThenCloses) {
    EXPECT_EQ(Press(IDYES), Question);
    EXPECT_EQ(FEvents, (std::vector<std::wstring>{L"restart 18", L"close"}));
}

} // namespace
