#include "install/TargetLevels.h"

#include "common/Failure.h"
#include "common/Paths.h"
#include "common/SetupLog.h"
#include "install/InstallPlan.h"

#include <windows.h>

#include <vector>

namespace {

// The missing folders of path, outermost first.
std::vector<std::wstring> MissingLevels(const std::wstring& path) {
    std::vector<std::wstring> missing;
    for (std::wstring folder = ExcludeTrailingPathDelimiter(path);
         !folder.empty() && !DirectoryExists(folder) && folder != ExtractFileDir(folder);
         folder = ExtractFileDir(folder)) {
        missing.insert(missing.begin(), folder);
    }
    return missing;
}

} // namespace

bool CreateTargetLevels(const std::wstring& target) {
    std::vector<std::wstring> made;
    for (const std::wstring& level : MissingLevels(target)) {
        if (!CreateDirectoryW(level.c_str(), nullptr)) {
            LogFailure(Failure(L"Создание каталога", level));
            for (auto undo = made.rbegin(); undo != made.rend(); ++undo) {
                RemoveDirectoryW(undo->c_str());
            }
            return false;
        }
        made.push_back(level);
        LogLine(L"Каталог создан: " + level);
    }
    // As on the path page: a settings folder that cannot be made is the run's to report.
    const std::wstring settings = target + SettingsFolder();
    if (!DirectoryExists(settings) && !CreateDirectoryW(settings.c_str(), nullptr)) {
        LogFailure(Failure(L"Создание каталога", settings));
    }
    return DirectoryExists(target);
}
