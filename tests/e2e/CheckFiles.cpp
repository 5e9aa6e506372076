#include <windows.h>

#include "Files.h"
#include "Installation.h"
#include "Report.h"
#include "Scenario.h"
#include "SuiteFiles.h"

namespace e2e {
namespace {

// The run rewrites this one; its nodes are compared in CheckReleaseInfo.
constexpr wchar_t ReleaseInfoName[] = L"ReleaseInfo";

void CheckSameFile(TContext& context, const std::wstring& source, const std::wstring& target) {
    std::string expected;
    std::string actual;
    if (!ReadBytes(source, expected)) {
        context.Check(false, L"cannot read the distribution's " + source);
    } else if (!ReadBytes(target, actual)) {
        context.Check(false, L"not installed: " + target);
    } else {
        context.Check(actual == expected, target + L" differs from " + source);
    }
}

void CheckFolderCopy(TContext& context, const TInstallation& installation,
                     const TFolderCopy& copy) {
    const std::wstring source = installation.Source + L"\\" + copy.Source;
    const auto files = FilesBelow(source);
    context.Check(!files.empty(), L"the distribution's folder " + source + L" is empty");
    for (const auto& file : files) {
        if (file != ReleaseInfoName) {
            CheckSameFile(context, source + L"\\" + file, installation.Target + copy.Target + file);
        }
    }
}

std::wstring IniValue(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    wchar_t value[256] = L"";
    GetPrivateProfileStringW(section, key, L"(missing)", value, 256, file.c_str());
    return value;
}

} // namespace

void CheckTree(TContext& context, const TInstallation& installation) {
    for (const auto& file : CoreFiles()) {
        CheckSameFile(context, installation.Source + L"\\" + file.Source,
                      installation.Target + file.Target);
    }
    CheckFolderCopy(context, installation, BackupFolder);
    CheckFolderCopy(context, installation, UpdaterFolder);
    for (const wchar_t* name : {L"ReleaseInfo", L"Updater.exe.cfg"}) {
        const DWORD attributes = GetFileAttributesW((installation.Target + name).c_str());
        context.Check(attributes != INVALID_FILE_ATTRIBUTES &&
                          (attributes & FILE_ATTRIBUTE_READONLY) == 0,
                      installation.Target + name + L" is missing or still read-only");
    }
    const std::wstring driverFolder = installation.Target + DriverFolder.Target;
    if (installation.Driver) {
        CheckFolderCopy(context, installation, DriverFolder);
    } else if (installation.Runs == 1) {
        context.Check(!FolderExists(driverFolder),
                      L"the driver was declined, yet " + driverFolder + L" exists");
    }
}

void CheckSettings(TContext& context, const TInstallation& installation) {
    const std::wstring settings = installation.Target + L"Settings\\";
    context.CheckEqual(IniValue(settings + L"holter.ini", L"options", L"FilterType"), L"0",
                       L"holter.ini [options] FilterType");
    context.CheckEqual(IniValue(settings + L"holter.ini", L"options", L"HardwareType"), L"1",
                       L"holter.ini [options] HardwareType");
    for (const wchar_t* name : {L"uca.nsi", L"wra.nsi"}) {
        std::string bytes;
        context.Check(ReadBytes(settings + name, bytes) && bytes.size() == 840,
                      settings + name + L" is missing or not 840 bytes long");
    }
    std::string counter;
    context.Check(ReadBytes(settings + L"lastnum.dta", counter) && counter.size() == 14 &&
                      counter.compare(0, 6, std::string(6, '\0')) == 0,
                  settings + L"lastnum.dta is missing, not 14 bytes, or its first 6 are not 0");
}

} // namespace e2e
