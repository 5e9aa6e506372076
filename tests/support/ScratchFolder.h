#pragma once
// A fresh folder under the temporary folder for one test, removed with all it holds when the
// test ends; plus small helpers to lay real files into it.
#include "common/Handles.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

class TScratchFolder {
public:
    TScratchFolder() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static unsigned counter = 0;
        for (;;) {
            FPath = std::wstring(temp) + L"scratch" + std::to_wstring(GetCurrentProcessId()) +
                    L"_" + std::to_wstring(++counter);
            if (CreateDirectoryW(FPath.c_str(), nullptr)) {
                break;
            }
        }
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    ~TScratchFolder() {
        std::wstring from = FPath;
        from.push_back(L'\0');
        SHFILEOPSTRUCTW operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        SHFileOperationW(&operation);
    }

    // Without a trailing delimiter.
    const std::wstring& Path() const { return FPath; }
    std::wstring operator/(const std::wstring& name) const { return FPath + L"\\" + name; }

private:
    std::wstring FPath;
};

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// The whole file, or "<missing>" when it cannot be opened.
inline std::string ReadBytes(const std::wstring& path) {
    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return "<missing>";
    }
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read != 0) {
        bytes.append(buffer, read);
    }
    return bytes;
}

inline FILETIME LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

inline void SetLastWriteTime(const std::wstring& path, const FILETIME& time) {
    TUniqueFile file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    SetFileTime(file.get(), nullptr, nullptr, &time);
}

inline long long Ticks(const FILETIME& time) {
    return static_cast<long long>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}
