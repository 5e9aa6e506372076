#include "install/TargetFolder.h"

#include "common/Failure.h"
#include "common/Paths.h"
#include "install/InstallPlan.h"

#include <windows.h>

namespace {

void CreateOneLevel(const std::wstring& folder) {
    if (!DirectoryExists(folder) && !CreateDirectoryW(folder.c_str(), nullptr)) {
        LogFailure(Failure(L"Создание каталога", folder));
    }
}

} // namespace

TTargetCheck CheckTarget(const std::wstring& typed) {
    const std::wstring path = TrimBlanks(typed);
    if (path.empty()) {
        return {TTargetCheck::tcEmpty, L"", L"Не выбран путь для установки программы!"};
    }
    const std::wstring normalised = path.back() == L'\\' ? path : path + L'\\';
    if (normalised.size() <= 3) {
        return {TTargetCheck::tcRoot, normalised,
                L"Программу нелзя устанавливать в корневой каталог!"};
    }
    return {TTargetCheck::tcAccepted, normalised, L""};
}

void CreateTargetFolders(const std::wstring& normalisedPath) {
    CreateOneLevel(normalisedPath);
    CreateOneLevel(normalisedPath + SettingsFolder());
}
