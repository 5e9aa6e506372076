#include "install/TargetFolder.h"

#include "common/CanonicalPath.h"
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
    const wchar_t* const root = L"Программу нелзя устанавливать в корневой каталог!";
    if (normalised.size() <= 3) {
        return {TTargetCheck::tcRoot, normalised, root};
    }
    // Judged as Windows will use it: "C:\.", "C:/" and "C:\Holter\.." are all the root.
    const std::wstring canonical = CanonicalFolder(normalised);
    if (canonical.empty()) {
        return {TTargetCheck::tcUnusable, normalised, TargetNotMade};
    }
    if (IsRootFolder(canonical) || IsSystemFolder(canonical)) {
        return {TTargetCheck::tcRoot, canonical, root};
    }
    return {TTargetCheck::tcAccepted, canonical, L""};
}

void CreateTargetFolders(const std::wstring& normalisedPath) {
    CreateOneLevel(normalisedPath);
    CreateOneLevel(normalisedPath + SettingsFolder());
}
