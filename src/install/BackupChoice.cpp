#include "install/BackupChoice.h"

#include "common/Errors.h"

#include <windows.h>

#include <algorithm>

std::wstring FolderName(const std::wstring& folderPath) {
    size_t slash = folderPath.find_last_of(L"\\/");
    return slash == std::wstring::npos ? folderPath : folderPath.substr(slash + 1);
}

int BackupKey(const std::wstring& folderPath) {
    const bool sixDigits =
        folderPath.size() >= 6 && std::all_of(folderPath.end() - 6, folderPath.end(),
                                              [](wchar_t c) { return c >= L'0' && c <= L'9'; });
    if (!sixDigits) {
        throw EError(L"Имя папки резервной копии \"" + FolderName(folderPath) +
                     L"\" не оканчивается датой в виде ДДММГГ");
    }
    const std::wstring d = folderPath.substr(folderPath.size() - 6);
    const std::wstring yymmdd = {d[4], d[5], d[2], d[3], d[0], d[1]};
    return std::stoi(yymmdd);
}

static bool LessIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), int(a.size()),
                           b.c_str(), int(b.size()), nullptr, nullptr, 0) == CSTR_LESS_THAN;
}

std::wstring ChooseNewestBackup(std::vector<std::wstring> folders,
                                const std::wstring& backupFolder) {
    if (folders.empty()) {
        throw EError(L"В папке резервных копий \"" + backupFolder +
                     L"\" нет ни одной резервной копии");
    }
    std::stable_sort(folders.begin(), folders.end(), LessIgnoringCase);
    size_t chosen = 0;
    int bestKey = BackupKey(folders[0]);
    for (size_t i = 0; i < folders.size(); ++i) {
        int key = BackupKey(folders[i]);
        if (key > bestKey) {
            chosen = i;
            bestKey = key;
        }
    }
    return folders[chosen];
}
