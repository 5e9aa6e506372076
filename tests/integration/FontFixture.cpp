#include "FontFixture.h"

#include "common/Handles.h"

#include <gtest/gtest.h>

#include <atomic>

namespace fonttest {

const std::vector<TFixtureFont> FixtureFonts{
    {L"ARIAL.TTF", L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf", L"DejaVu Sans"},
    {L"ARIALN.TTF", L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans-Bold.ttf",
     L"DejaVu Sans Bold"},
    {L"COUR.TTF", L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSansMono.ttf",
     L"DejaVu Sans Mono"},
    {L"MICROSS.TTF", L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSerif.ttf", L"DejaVu Serif"},
    {L"TAHOMA.TTF", L"Z:\\usr\\share\\fonts\\truetype\\freefont\\FreeSans.ttf", L"FreeSans"},
    {L"TIMES.TTF", L"Z:\\usr\\share\\fonts\\truetype\\freefont\\FreeSerif.ttf", L"FreeSerif"},
    {L"verdana.TTF", L"Z:\\usr\\share\\fonts\\truetype\\freefont\\FreeMono.ttf", L"FreeMono"},
};

const wchar_t FontsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

namespace {

std::wstring NewTempFolderPath() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    return std::wstring(temp) + L"fonts-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter) + L"\\";
}

} // namespace

TTempFolder::TTempFolder(const std::wstring& path) : FPath(path) {
    CreateDirectoryW(FPath.c_str(), nullptr);
}

TTempFolder::TTempFolder() : TTempFolder(NewTempFolderPath()) {}

TTempFolder::~TTempFolder() {
    WIN32_FIND_DATAW entry;
    TUniqueFind find(FindFirstFileW((FPath + L"*").c_str(), &entry));
    for (bool more = bool(find); more; more = FindNextFileW(find.get(), &entry)) {
        const std::wstring path = FPath + entry.cFileName;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
    find.reset();
    RemoveDirectoryW(FPath.c_str());
}

void CopyFixtureFonts(const std::wstring& folder) {
    for (const TFixtureFont& font : FixtureFonts) {
        ASSERT_TRUE(CopyFileW(font.HostFile, (folder + font.FileName).c_str(), FALSE))
            << "host font missing: " << testing::PrintToString(std::wstring(font.HostFile));
    }
}

std::vector<unsigned char> ReadFileBytes(const std::wstring& path) {
    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    std::vector<unsigned char> bytes(file ? GetFileSize(file.get(), nullptr) : 0);
    DWORD read = 0;
    if (!bytes.empty()) {
        ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    }
    bytes.resize(read);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    TUniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ASSERT_EQ(written, bytes.size());
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring WindowsFontsFolder() {
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\Fonts\\";
}

std::optional<std::wstring> FontsRegistryValue(const std::wstring& name) {
    wchar_t data[MAX_PATH];
    DWORD bytes = sizeof(data);
    DWORD type = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, FontsKey, name.c_str(), RRF_RT_ANY, &type, data, &bytes) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    return std::wstring(data);
}

void DeleteFontsRegistryValue(const std::wstring& name) {
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, FontsKey, name.c_str());
}

namespace {

std::atomic<int> fontChanges{0};

LRESULT CALLBACK CounterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_FONTCHANGE) {
        ++fontChanges;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* CounterClass() {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = CounterProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"FontChangeCounter";
        return RegisterClassW(&wc);
    }();
    return MAKEINTATOM(atom);
}

} // namespace

TFontChangeCounter::TFontChangeCounter()
    : FWindow(CreateWindowExW(0, CounterClass(), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {
    fontChanges = 0;
}

TFontChangeCounter::~TFontChangeCounter() {
    DestroyWindow(FWindow);
}

int TFontChangeCounter::Count() const {
    return fontChanges;
}

namespace {

// A Linux system call's word: a register wide.
using TWord = intptr_t;

constexpr TWord LinuxRlimitFsize = 1;
constexpr TWord LinuxSigxfsz = 25;
constexpr TWord LinuxSigIgnore = 1;

struct TLinuxRlimit64 {
    unsigned long long Soft;
    unsigned long long Hard;
};

#if defined(__x86_64__)
// x86-64 Linux system calls, made straight from the Windows process Wine runs.
constexpr TWord LinuxPrlimit64 = 302;
constexpr TWord LinuxRtSigaction = 13;

TWord LinuxCall(TWord number, TWord a, TWord b, TWord c = 0, TWord d = 0) {
    TWord result = 0;
    register TWord r10 asm("r10") = d;
    asm volatile("syscall"
                 : "=a"(result)
                 : "a"(number), "D"(a), "S"(b), "d"(c), "r"(r10)
                 : "rcx", "r11", "memory");
    return result;
}

// The kernel's own sigaction record (not the C library's).
struct TLinuxSigaction {
    TWord Handler;
    unsigned long long Flags;
    TWord Restorer;
    unsigned long long Mask;
};

// Sets the signal's handler and gives the earlier one.
TWord SetSignalHandler(TWord signal, TWord handler) {
    TLinuxSigaction action{handler, 0, 0, 0};
    TLinuxSigaction old{};
    LinuxCall(LinuxRtSigaction, signal, reinterpret_cast<TWord>(&action),
              reinterpret_cast<TWord>(&old), sizeof(unsigned long long));
    return old.Handler;
}
#else
// i386 Linux system calls.
constexpr TWord LinuxSignal = 48;
constexpr TWord LinuxPrlimit64 = 340;

TWord LinuxCall(TWord number, TWord a, TWord b, TWord c = 0, TWord d = 0) {
    TWord result = 0;
    asm volatile("int $0x80"
                 : "=a"(result)
                 : "a"(number), "b"(a), "c"(b), "d"(c), "S"(d)
                 : "memory");
    return result;
}

TWord SetSignalHandler(TWord signal, TWord handler) {
    return LinuxCall(LinuxSignal, signal, handler);
}
#endif

template <typename T> TWord Address(T* p) {
    return reinterpret_cast<TWord>(p);
}

bool OnLinux() {
    using TGetHostVersion = void(CDECL*)(const char**, const char**);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto getHostVersion = reinterpret_cast<TGetHostVersion>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_host_version")));
    const char* system = nullptr;
    const char* release = nullptr;
    if (getHostVersion != nullptr) {
        getHostVersion(&system, &release);
    }
    return system != nullptr && std::string(system) == "Linux";
}

} // namespace

TFileSizeLimit::TFileSizeLimit(unsigned long long Bytes) {
    TLinuxRlimit64 old{};
    // Under qemu user emulation (scripts/wine32-exec) the signal would reach the emulator,
    // which the handler set here does not cover, and end the test program.
    if (!OnLinux() || GetEnvironmentVariableW(L"WINE_EMULATED", nullptr, 0) != 0 ||
        LinuxCall(LinuxPrlimit64, 0, LinuxRlimitFsize, 0, Address(&old)) != 0) {
        return;
    }
    FOldSoft = old.Soft;
    FOldHard = old.Hard;
    FSaved = true;
    FOldHandler = SetSignalHandler(LinuxSigxfsz, LinuxSigIgnore);
    TLinuxRlimit64 limit{Bytes, old.Hard};
    FActive = LinuxCall(LinuxPrlimit64, 0, LinuxRlimitFsize, Address(&limit)) == 0;
}

TFileSizeLimit::~TFileSizeLimit() {
    if (!FSaved) {
        return;
    }
    TLinuxRlimit64 old{FOldSoft, FOldHard};
    LinuxCall(LinuxPrlimit64, 0, LinuxRlimitFsize, Address(&old));
    SetSignalHandler(LinuxSigxfsz, FOldHandler);
}

} // namespace fonttest
