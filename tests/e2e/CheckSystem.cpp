#include <windows.h>
#include <shlobj.h>

#include "Files.h"
#include "Installation.h"
#include "Machine.h"
#include "Report.h"
#include "Scenario.h"
#include "SuiteFiles.h"
#include "common/Errors.h"
#include "common/Handles.h"

namespace e2e {
namespace {

constexpr wchar_t MainProgram[] = L"Shell.exe";
constexpr wchar_t LinkDescription[] =
    L"Комплекс суточного мониторирования электрокардиограмм \"Сонтира\"";

struct TLink {
    std::wstring Target;
    std::wstring WorkingDir;
    std::wstring Description;
};

TLink ReadLink(const std::wstring& path) {
    TComPtr<IShellLinkW> link;
    CheckHResult(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.GetAddressOf())));
    TComPtr<IPersistFile> file;
    CheckHResult(link.As(&file));
    CheckHResult(file->Load(path.c_str(), STGM_READ));
    wchar_t text[INFOTIPSIZE] = L"";
    TLink result;
    // The target as the shell resolves it, from the item list: Wine keeps the path in the
    // link's location block in the ANSI code page only, which may lack letters of it.
    TUniqueCoMem items;
    CheckHResult(link->GetIDList(reinterpret_cast<PIDLIST_ABSOLUTE*>(items.put())));
    if (!SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(items.get()), text)) {
        Fail(L"the shortcut's item list names no file system path");
    }
    result.Target = text;
    CheckHResult(link->GetWorkingDirectory(text, MAX_PATH));
    result.WorkingDir = text;
    CheckHResult(link->GetDescription(text, INFOTIPSIZE));
    result.Description = text;
    return result;
}

} // namespace

void CheckFonts(TContext& context, const TInstallation& installation) {
    for (const auto& font : Fonts()) {
        const std::wstring installed = WindowsFontsFolder() + font.File;
        std::string expected;
        std::string actual;
        context.Check(ReadBytes(installation.Source + L"\\fonts\\" + font.File, expected) &&
                          ReadBytes(installed, actual) && actual == expected,
                      installed + L" is missing or differs from the distribution's");
        const std::wstring name = std::wstring(font.FullName) + L" (TrueType)";
        std::wstring value;
        // Read where Windows itself reads it: the 64-bit view (the key is shared on 64-bit
        // Windows, so a 32-bit program's value belongs there as well).
        if (ReadMachineString(FontsKey, name, value, KEY_WOW64_64KEY)) {
            context.CheckEqual(value, font.File, L"HKLM\\...\\Fonts \"" + name + L"\"");
        } else {
            context.Check(false, L"no value \"" + name + L"\" under HKLM\\" + FontsKey);
        }
    }
    std::wstring nameless;
    context.Check(!ReadMachineString(FontsKey, L" (TrueType)", nameless),
                  L"a font was registered without a name, as \" (TrueType)\" = " + nameless);
}

void CheckShortcut(TContext& context, const TInstallation& installation) {
    const std::wstring path = DesktopFolder() + ShortcutName;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        context.Check(false, L"no shortcut " + path);
        return;
    }
    TLink link;
    try {
        link = ReadLink(path);
    } catch (const EError& e) {
        context.Check(false, L"cannot read the shortcut " + path + L": " + e.Message());
        return;
    }
    context.CheckEqual(link.Target, installation.Target + MainProgram, L"shortcut target");
    context.CheckEqual(link.WorkingDir, installation.Target, L"shortcut working directory");
    context.CheckEqual(link.Description, LinkDescription, L"shortcut description");
    if (context.Demo()) {
        context.Note(L"shortcut " + path + L" -> " + link.Target);
    }
}

} // namespace e2e
