#include "Machine.h"

#include <shlobj.h>

#include "Files.h"
#include "Report.h"
#include "SuiteFiles.h"
#include "common/Handles.h"
#include "support/RegistryView.h"

namespace e2e {
namespace {

constexpr wchar_t DesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t LogPixels[] = L"LogPixels";

std::wstring WithDelimiter(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\') {
        folder += L'\\';
    }
    return folder;
}

void RemoveFontValues() {
    TUniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, FontsKey, 0, KEY_ALL_ACCESS, key.put()) !=
        ERROR_SUCCESS) {
        Fail(L"cannot open HKLM\\" + std::wstring(FontsKey));
    }
    for (const auto& font : Fonts()) {
        RegDeleteValueW(key.get(), (std::wstring(font.FullName) + L" (TrueType)").c_str());
    }
    // The name an unreadable font would get.
    RegDeleteValueW(key.get(), L" (TrueType)");
}

} // namespace

std::wstring WindowsFontsFolder() {
    wchar_t folder[MAX_PATH] = L"";
    GetWindowsDirectoryW(folder, MAX_PATH);
    return WithDelimiter(folder) + L"Fonts\\";
}

std::wstring DesktopFolder() {
    wchar_t folder[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT,
                                folder))) {
        Fail(L"the desktop folder is unknown");
    }
    return WithDelimiter(folder);
}

void RemoveSuite(const std::wstring& target) {
    std::wstring folder = target;
    while (!folder.empty() && folder.back() == L'\\') {
        folder.pop_back();
    }
    if (FolderExists(folder)) {
        const std::wstring aside = FreshFolderName(folder + L"-earlier");
        if (!MoveFileW(folder.c_str(), aside.c_str())) {
            Fail(L"could not move the earlier installation " + folder + L" aside");
        }
    }
    RemoveSuiteFonts();
    const std::wstring link = DesktopFolder() + ShortcutName;
    if (FileExists(link) && !DeleteFileW(link.c_str())) {
        Fail(L"could not remove " + link);
    }
    if (!regview::DeleteMachineTree(RegistrationKey)) {
        Fail(L"could not remove HKLM\\" + std::wstring(RegistrationKey));
    }
}

void RemoveSuiteFonts() {
    for (const auto& font : Fonts()) {
        const std::wstring file = WindowsFontsFolder() + font.File;
        if (FileExists(file) && !DeleteFileW(file.c_str())) {
            Fail(L"could not remove " + file);
        }
    }
    RemoveFontValues();
}

std::vector<std::wstring> MissingFonts() {
    std::vector<std::wstring> missing;
    for (const auto& font : Fonts()) {
        if (!FileExists(WindowsFontsFolder() + font.File)) {
            missing.push_back(font.File);
        }
    }
    return missing;
}

namespace {

// Reads a value of a key under HKEY_LOCAL_MACHINE in view, sized by a first call.
bool ReadMachineValue(const wchar_t* key, const std::wstring& name, DWORD type, REGSAM view,
                      std::wstring& text, DWORD& bytes) {
    const TUniqueKey opened = regview::OpenMachineKey(key, view);
    bytes = 0;
    if (!opened || RegGetValueW(opened.get(), nullptr, name.c_str(), type, nullptr, nullptr,
                                &bytes) != ERROR_SUCCESS) {
        return false;
    }
    text.assign(bytes / sizeof(wchar_t) + 2, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    return RegGetValueW(opened.get(), nullptr, name.c_str(), type, nullptr, text.data(), &bytes) ==
           ERROR_SUCCESS;
}

} // namespace

bool ReadMachineString(const wchar_t* key, const std::wstring& name, std::wstring& value,
                       REGSAM view) {
    std::wstring text;
    DWORD bytes = 0;
    if (!ReadMachineValue(key, name, RRF_RT_REG_SZ, view, text, bytes)) {
        return false;
    }
    text.resize(wcsnlen(text.c_str(), text.size()));
    value = text;
    return true;
}

bool ReadMachineDword(const wchar_t* key, const std::wstring& name, DWORD& value, REGSAM view) {
    const TUniqueKey opened = regview::OpenMachineKey(key, view);
    DWORD bytes = sizeof(value);
    return opened && RegGetValueW(opened.get(), nullptr, name.c_str(), RRF_RT_REG_DWORD, nullptr,
                                  &value, &bytes) == ERROR_SUCCESS;
}

bool ReadMachineStrings(const wchar_t* key, const std::wstring& name,
                        std::vector<std::wstring>& values, REGSAM view) {
    std::wstring text;
    DWORD bytes = 0;
    if (!ReadMachineValue(key, name, RRF_RT_REG_MULTI_SZ, view, text, bytes)) {
        return false;
    }
    // Each string ends in a NUL and the list in one more; a deletion at restart pairs its path
    // with an empty string, so empty strings count, except the list's own end.
    values.clear();
    const size_t end = bytes / sizeof(wchar_t);
    for (size_t at = 0; at < end;) {
        const size_t length = wcsnlen(text.c_str() + at, end - at);
        values.emplace_back(text, at, length);
        at += length + 1;
    }
    while (!values.empty() && values.back().empty()) {
        values.pop_back();
    }
    return true;
}

TScreenDpi::TScreenDpi(DWORD logPixels) {
    DWORD bytes = sizeof(FOldValue);
    FHadValue = RegGetValueW(HKEY_CURRENT_USER, DesktopKey, LogPixels, RRF_RT_REG_DWORD, nullptr,
                             &FOldValue, &bytes) == ERROR_SUCCESS;
    if (RegSetKeyValueW(HKEY_CURRENT_USER, DesktopKey, LogPixels, REG_DWORD, &logPixels,
                        sizeof(logPixels)) != ERROR_SUCCESS) {
        Fail(L"could not set HKCU\\" + std::wstring(DesktopKey) + L"\\LogPixels");
    }
}

TScreenDpi::~TScreenDpi() {
    if (FHadValue) {
        RegSetKeyValueW(HKEY_CURRENT_USER, DesktopKey, LogPixels, REG_DWORD, &FOldValue,
                        sizeof(FOldValue));
    } else {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, DesktopKey, LogPixels);
    }
}

} // namespace e2e
