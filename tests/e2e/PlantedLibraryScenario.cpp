// Libraries planted under the names of system libraries where setup and the removal's copy run
// from: a downloads folder, a share, the temporary folder. None may ever be loaded.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "Files.h"
#include "Machine.h"
#include "Removal.h"
#include "Report.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "Unattended.h"
#include "common/Paths.h"

namespace e2e {
namespace {

constexpr wchar_t Holter[] = L"C:\\Holter\\";
constexpr wchar_t Mark[] = L"C:\\planted-mark.txt";
constexpr wchar_t CopyLine[] = L"Копия программы удаления: ";
// Not known system libraries, so Windows looks beside the program first for them. version.dll
// is not planted: Wine's own user32 imports it, so under version=n,b every program on Wine
// would load one planted beside it (on Windows user32 is a known library, whose imports never
// come from a program's folder). That the program imports none of them is checked apart.
constexpr const wchar_t* Planted[] = {L"msimg32.dll", L"comctl32.dll"};
// Windows' known system libraries (the Session Manager's KnownDLLs, Windows 7 to 11): always
// loaded from the system folder, whoever asks.
constexpr const wchar_t* KnownLibraries[] = {
    L"advapi32.dll", L"clbcatq.dll", L"combase.dll",  L"comdlg32.dll", L"coml2.dll",
    L"gdi32.dll",    L"gdiplus.dll", L"imagehlp.dll", L"imm32.dll",    L"kernel32.dll",
    L"msctf.dll",    L"msvcrt.dll",  L"normaliz.dll", L"nsi.dll",      L"ole32.dll",
    L"oleaut32.dll", L"psapi.dll",   L"rpcrt4.dll",   L"sechost.dll",  L"setupapi.dll",
    L"shcore.dll",   L"shell32.dll", L"shlwapi.dll",  L"user32.dll",   L"wldap32.dll",
    L"ws2_32.dll"};

// The library that leaves the mark, built beside the test programs (tests/fixtures/planted).
std::wstring PlantedLibrary() {
    std::wstring self(MAX_PATH * 2, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    const std::wstring folder = ExtractFilePath(self);
    return ExtractFilePath(ExcludeTrailingPathDelimiter(folder)) + L"planted.dll";
}

void Plant(const std::wstring& folder) {
    for (const wchar_t* name : Planted) {
        if (!CopyFileW(PlantedLibrary().c_str(), (folder + name).c_str(), FALSE)) {
            Fail(L"could not plant " + folder + name + L" from " + PlantedLibrary());
        }
    }
}

void Unplant(const std::wstring& folder) {
    for (const wchar_t* name : Planted) {
        DeleteFileW((folder + name).c_str());
    }
}

// Wine prefers its own copy of a system library; this makes it look beside the program first,
// as Windows does. Wine reads it when a process starts, from the environment it started with.
void RequireWindowsSearchOrder() {
    wchar_t overrides[1024] = L"";
    GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides, 1024);
    const std::wstring text = overrides;
    if (text.find(L"msimg32,comctl32=n,b") == std::wstring::npos) {
        Fail(L"WINEDLLOVERRIDES lacks msimg32,comctl32=n,b (it is \"" + text +
             L"\"): run with WINE_RUN_DLLOVERRIDES=msimg32,comctl32=n,b scripts/wine-run");
    }
}

// The libraries a program names in its import table, as the loader reads them.
std::vector<std::wstring> ImportedLibraries(const std::wstring& program) {
    const HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        Fail(L"cannot map " + program);
    }
    // Mapped as an image, the handle's low bits marking it as data.
    const auto* base =
        reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR(3));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<std::wstring> names;
    for (auto* entry =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         directory.VirtualAddress != 0 && entry->Name != 0; ++entry) {
        const std::string name = reinterpret_cast<const char*>(base + entry->Name);
        names.emplace_back(name.begin(), name.end());
    }
    FreeLibrary(module);
    return names;
}

void CheckImportsOnlyKnownLibraries(TContext& context, const std::wstring& program) {
    const auto names = ImportedLibraries(program);
    context.Check(!names.empty(), L"no import table read from " + program);
    for (const std::wstring& name : names) {
        const bool known =
            std::any_of(std::begin(KnownLibraries), std::end(KnownLibraries),
                        [&](const wchar_t* k) { return lstrcmpiW(k, name.c_str()) == 0; });
        context.Check(known, program + L" imports " + name + L", which is no known system library");
    }
}

void CheckNoMark(TContext& context, const std::wstring& when) {
    std::string bytes;
    if (ReadBytes(Mark, bytes)) {
        // The library writes UTF-16.
        const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()),
                                bytes.size() / sizeof(wchar_t));
        context.Check(false, when + L": a planted library was loaded: " + Visible(text));
    }
    DeleteFileW(Mark);
}

} // namespace

void PlantedLibraries(TContext& context) {
    RequireWindowsSearchOrder();
    DeleteFileW(Mark);
    RemoveSuite(Holter);
    const std::wstring source = context.CopyDistribution() + L"\\";
    CheckImportsOnlyKnownLibraries(context, source + L"Install.exe");
    Plant(source);
    const TSetupRun install =
        RunSetup(ExcludeTrailingPathDelimiter(source), L"/VERYSILENT /LOG=C:\\planted-install.log");
    CheckExit(context, install, 0, L"Install.exe: ");
    CheckNoMark(context, L"Install.exe");

    // Where the removal's copy ran before it had a folder of its own.
    const std::wstring temp = TempFolder();
    Plant(temp);
    const std::wstring log = L"C:\\planted-removal.log";
    const TSetupRun removal = RunUninstall(Holter, L"/VERYSILENT /LOG=" + log);
    Unplant(temp);
    CheckExit(context, removal, 0, L"Uninstall.exe: ");
    CheckNoMark(context, L"Uninstall.exe and its copy");
    const auto lines = ReadLogFile(log);
    const auto line = std::find_if(lines.begin(), lines.end(),
                                   [](const std::wstring& l) { return l.starts_with(CopyLine); });
    const std::wstring copy = line == lines.end() ? L"" : line->substr(wcslen(CopyLine));
    context.Check(copy.size() > temp.size() &&
                      copy.find(L'\\', temp.size()) != std::wstring::npos &&
                      lstrcmpiW(copy.substr(0, temp.size()).c_str(), temp.c_str()) == 0,
                  L"the copy ran in a folder of its own in %TEMP%, not \"" + copy + L"\"");
}

} // namespace e2e
