#include "TempFolder.h"

#include <windows.h>
#include <shellapi.h>

#include <stdexcept>

TTempFolder::TTempFolder() {
    static unsigned counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (;;) {
        FPath = std::wstring(temp) + L"uitest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L"\\";
        if (CreateDirectoryW(FPath.c_str(), nullptr)) {
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            throw std::runtime_error("cannot create a temporary folder");
        }
    }
}

TTempFolder::~TTempFolder() {
    RemoveTree(FPath);
}

void RemoveTree(const std::wstring& path) {
    std::wstring from = path;
    while (!from.empty() && from.back() == L'\\') {
        from.pop_back();
    }
    if (GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    from.push_back(L'\0'); // the list of names ends with two zeros
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
