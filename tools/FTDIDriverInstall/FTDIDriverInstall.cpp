// Stand-in for the USB driver installer of the sample distribution. It installs nothing: it
// appends one line to FTDIDriverInstall.log beside itself, so that a test can see that it ran,
// with which command line and in which current directory, and exits with 0.
#include <windows.h>

#include <string>

#include "common/Handles.h"

namespace {

std::wstring OwnFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD len = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (len == 0) {
            return L"";
        }
        if (len < path.size()) {
            path.resize(len);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring CurrentFolder() {
    DWORD len = GetCurrentDirectoryW(0, nullptr);
    std::wstring dir(len, L'\0');
    dir.resize(GetCurrentDirectoryW(len, dir.data()));
    return dir;
}

std::string ToUtf8(const std::wstring& text) {
    int len = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                  0, nullptr, nullptr);
    std::string out(len, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), len,
                        nullptr, nullptr);
    return out;
}

void AppendLine(const std::wstring& file, const std::wstring& line) {
    TUniqueFile h(CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) {
        return;
    }
    std::string bytes = ToUtf8(line + L"\r\n");
    DWORD written = 0;
    WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    AppendLine(OwnFolder() + L"FTDIDriverInstall.log",
               L"ran: " + std::wstring(GetCommandLineW()) + L" | in: " + CurrentFolder());
    return 0;
}
