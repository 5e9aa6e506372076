#include "integration/Shortcut.h"

#include "common/Errors.h"
#include "common/Handles.h"
#include "common/Registry.h"

#include <shlobj.h>

namespace {

const wchar_t* const ExplorerKey = L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer";
const wchar_t* const GrpConvKey = L"Software\\MicroSoft\\Windows\\CurrentVersion\\GrpConv";

bool IsPathDelimiter(wchar_t c) {
    return c == L'\\' || c == L'/' || c == L':';
}

// Index just past the last path delimiter: where the last component starts.
std::size_t LastComponentStart(const std::wstring& path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsPathDelimiter(path[i - 1])) {
            return i;
        }
    }
    return 0;
}

// The extension runs from the last "." of the last component; none means append.
std::wstring WithLnkExtension(const std::wstring& name) {
    const std::size_t dot = name.rfind(L'.');
    const bool hasExtension = dot != std::wstring::npos && dot >= LastComponentStart(name);
    return (hasExtension ? name.substr(0, dot) : name) + L".lnk";
}

std::wstring LinkFileName(const std::wstring& FileName, const std::wstring& LinkName) {
    const std::wstring withExtension = WithLnkExtension(LinkName.empty() ? FileName : LinkName);
    return withExtension.substr(LastComponentStart(withExtension));
}

std::wstring ShellFolder(TLinkLocation Location, const std::wstring& SubFolder) {
    if (Location == TLinkLocation::llQuickLaunch) {
        const TUniqueKey key = OpenOrCreateKey(HKEY_CURRENT_USER, GrpConvKey);
        return ReadSubkeyString(key.get(), L"MapGroups", L"Quick Launch");
    }
    const TUniqueKey key = OpenOrCreateKey(HKEY_CURRENT_USER, ExplorerKey);
    switch (Location) {
    case TLinkLocation::llDesktop:
        return ReadSubkeyString(key.get(), L"Shell Folders", L"Desktop");
    case TLinkLocation::llSendTo:
        return ReadSubkeyString(key.get(), L"Shell Folders", L"SendTo");
    case TLinkLocation::llStartMenu:
        return ReadSubkeyString(key.get(), L"Shell Folders", L"Start Menu");
    case TLinkLocation::llFolder:
        return SubFolder;
    default:
        return {};
    }
}

} // namespace

std::wstring ShellLinkFile(const std::wstring& FileName, TLinkLocation Location,
                           const std::wstring& SubFolder, const std::wstring& LinkName) {
    const std::wstring name = LinkFileName(FileName, LinkName);
    const std::wstring folder = ShellFolder(Location, SubFolder);
    if (folder.empty()) {
        return {};
    }
    const bool useSubFolder = !SubFolder.empty() && Location != TLinkLocation::llFolder;
    return useSubFolder ? folder + L"\\" + SubFolder + L"\\" + name : folder + L"\\" + name;
}

void CreateShellLink(const std::wstring& FileName, TLinkLocation Location,
                     const std::wstring& SubFolder, const std::wstring& WorkingDir,
                     const std::wstring& Arguments, const std::wstring& Description,
                     const std::wstring& LinkName, std::wstring& LinkFile) {
    TComPtr<IShellLinkW> link;
    CheckHResult(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)));
    TComPtr<IPersistFile> file;
    CheckHResult(link.As(&file));

    // The link's own setters and its save are deliberately unchecked: a shortcut is a
    // convenience, and failing to write one must not fail the caller.
    link->SetPath(FileName.c_str());
    link->SetArguments(Arguments.c_str());
    link->SetDescription(Description.c_str());

    const std::wstring path = ShellLinkFile(FileName, Location, SubFolder, LinkName);
    if (path.empty()) {
        return;
    }

    const std::wstring workDir =
        WorkingDir.empty() ? FileName.substr(0, LastComponentStart(FileName)) : WorkingDir;
    link->SetWorkingDirectory(workDir.c_str());
    file->Save(path.c_str(), FALSE);
    LinkFile = path;
}

std::wstring ReadShellLinkPath(const std::wstring& LinkFile) {
    TComPtr<IShellLinkW> link;
    TComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&link))) ||
        FAILED(link.As(&file)) || FAILED(file->Load(LinkFile.c_str(), STGM_READ))) {
        return {};
    }
    // The item list keeps the names in UTF-16; the plain path may have gone through the
    // system's ANSI code page, which can lack the folder's letters.
    wchar_t path[MAX_PATH * 2] = {};
    PIDLIST_ABSOLUTE items = nullptr;
    if (SUCCEEDED(link->GetIDList(&items)) && items != nullptr) {
        const TUniqueCoMem owned(items);
        if (SHGetPathFromIDListEx(items, path, MAX_PATH * 2, GPFIDL_DEFAULT)) {
            return path;
        }
    }
    return SUCCEEDED(link->GetPath(path, MAX_PATH * 2, nullptr, SLGP_RAWPATH)) ? path : L"";
}
