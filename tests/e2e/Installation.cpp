#include "Installation.h"

#include <windows.h>

#include "Files.h"
#include "Scenario.h"
#include "Wizard.h"

namespace e2e {
namespace {

std::wstring FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return L"?";
    }
    return std::to_wstring(data.nFileSizeLow);
}

void PrintLog(const TContext& context, const std::vector<std::wstring>& log) {
    context.Note(L"log of the installation (" + std::to_wstring(log.size()) + L" lines):");
    for (const auto& line : log) {
        context.Note(L"  " + line);
    }
}

void PrintTree(const TContext& context, const std::wstring& target) {
    const auto files = FilesBelow(target);
    context.Note(L"installed tree " + target + L" (" + std::to_wstring(files.size()) +
                 L" files, sizes in bytes):");
    for (const auto& file : files) {
        context.Note(L"  " + file + L"  " + FileSize(target + file));
    }
}

} // namespace

void CheckInstallation(TContext& context, const TWizard& wizard,
                       const TInstallation& installation) {
    const auto log = wizard.LogLines();
    if (context.Demo()) {
        PrintLog(context, log);
        PrintTree(context, installation.Target);
    }
    CheckLog(context, log, installation);
    context.Check(wizard.ButtonEnabled(L"tsProgressInstall", L"Выход"),
                  L"\"Выход\" on the progress page is still disabled");
    CheckLeftBehind(context, installation);
}

void CheckLeftBehind(TContext& context, const TInstallation& installation) {
    CheckTree(context, installation);
    CheckSettings(context, installation);
    CheckFonts(context, installation);
    CheckShortcut(context, installation);
    CheckReleaseInfo(context, installation);
    CheckRecords(context, installation);
}

} // namespace e2e
