#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "Files.h"
#include "InstallWalks.h"
#include "Installation.h"
#include "Machine.h"
#include "Report.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "Walks.h"

namespace e2e {
namespace {

constexpr char ClinicRecords[] = "\r\nclinic records: patient 1, 24 h ECG of 12.03.2020\r\n";
constexpr wchar_t ClinicName[] = L"Городская больница №1";

// A clinic's settings file as a Russian Windows keeps it: ANSI, code page 1251.
std::string ClinicSettings() {
    const std::wstring text = L"[options]\r\nFilterType=3\r\nLanguage=ru\r\n\r\n[Clinic]\r\nName=" +
                              std::wstring(ClinicName) + L"\r\n";
    const int len = WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string bytes(len, '\0');
    WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), bytes.data(), len,
                        nullptr, nullptr);
    return bytes;
}

std::wstring IniString(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    wchar_t value[256] = L"";
    GetPrivateProfileStringW(section, key, L"(missing)", value, 256, file.c_str());
    return value;
}

// "R47.FDB." + YYYYMMDD-HHMMSS + ".bak"
bool IsKeptDatabaseName(const std::wstring& name) {
    const std::wstring prefix = L"R47.FDB.";
    const std::wstring suffix = L".bak";
    if (name.size() != prefix.size() + 15 + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix)) {
        return false;
    }
    const std::wstring stamp = name.substr(prefix.size(), 15);
    for (size_t i = 0; i < stamp.size(); ++i) {
        if (i == 8 ? stamp[i] != L'-' : !std::iswdigit(stamp[i])) {
            return false;
        }
    }
    return true;
}

// The file that the folder holds now and did not before; empty unless there is exactly one.
std::wstring NewFile(const std::vector<std::wstring>& before, const std::wstring& folder) {
    std::vector<std::wstring> added;
    for (const auto& file : FilesBelow(folder)) {
        if (std::find(before.begin(), before.end(), file) == before.end()) {
            added.push_back(file);
        }
    }
    return added.size() == 1 ? added.front() : L"";
}

// One installation into target from source with the driver, at small fonts; the wizard is
// left on the font-size page for the scenario to look at.
struct TReinstall {
    TInstallation Installation;
    TWizard Wizard;
    TRunEnd End;

    TReinstall(TContext& context, const std::wstring& source, const std::wstring& target, int runs)
        : Installation(PlanInstallation(source, target, true)), Wizard(context, source) {
        Installation.Runs = runs;
        const auto databases = FilesBelow(target + L"DTAfb");
        WalkToOptions(Wizard, context);
        StartInstallation(Wizard, context, true);
        End = WaitRunEnd(Wizard, true);
        Installation.KeptDatabase = NewFile(databases, target + L"DTAfb");
    }
};

} // namespace

void ReinstallKeepsDatabase(TContext& context) {
    TScreenDpi screen(96);
    const std::wstring target = L"C:\\Holter\\";
    RemoveSuite(target);
    const std::wstring source = context.CopyDistribution();
    {
        TReinstall first(context, source, target, 1);
        ExitFromFontSizePage(first.Wizard, context);
    }

    // The clinic works with the suite: records in the database, its own settings.
    const std::wstring database = target + L"DTAfb\\R47.FDB";
    const std::wstring ini = target + L"Settings\\holter.ini";
    std::string records;
    context.Check(ReadBytes(database, records), L"the first installation left no " + database);
    records += ClinicRecords;
    WriteBytes(database, records);
    WriteBytes(ini, ClinicSettings());
    const std::wstring clinicName = IniString(ini, L"Clinic", L"Name");
    std::string counter;
    ReadBytes(target + L"Settings\\lastnum.dta", counter);

    TReinstall second(context, source, target, 2);
    context.Check(IsKeptDatabaseName(second.Installation.KeptDatabase),
                  L"no single new R47.FDB.YYYYMMDD-HHMMSS.bak beside the new database, found \"" +
                      second.Installation.KeptDatabase + L"\"");
    CheckInstallation(context, second.Wizard, second.Installation);
    std::string kept;
    context.Check(ReadBytes(target + L"DTAfb\\" + second.Installation.KeptDatabase, kept) &&
                      kept == records,
                  L"the kept database differs from the clinic's");
    context.CheckEqual(IniString(ini, L"Clinic", L"Name"), clinicName,
                       L"holter.ini [Clinic] Name after the reinstall");
    context.CheckEqual(IniString(ini, L"options", L"Language"), L"ru",
                       L"holter.ini [options] Language after the reinstall");
    std::string counterAfter;
    context.Check(ReadBytes(target + L"Settings\\lastnum.dta", counterAfter) &&
                      counterAfter == counter,
                  L"lastnum.dta changed in the reinstall");
    ExitFromFontSizePage(second.Wizard, context);

    // The earlier driver folder waits in the run's rollback folder while the shell copies the
    // new one into its place: nothing to replace, so nothing asked, and no stale copy nests
    // below it.
    context.Check(second.End.OverwriteConfirmations == 0,
                  L"the shell asked about files the run had moved aside");
    context.Check(!FolderExists(target + L"FTDIDriverInstall\\FTDIDriverInstall"),
                  L"the reinstall nested the driver folder inside the earlier one");
    // The kept database is named to the second; a person never reinstalls that fast.
    Sleep(1000);
    TReinstall third(context, source, target, 3);
    context.Check(third.End.OverwriteConfirmations == 0,
                  L"the shell asked about files the third installation had moved aside");
    CheckLog(context, third.Wizard.LogLines(), third.Installation);
    CheckRecords(context, third.Installation);
    ExitFromFontSizePage(third.Wizard, context);
}

} // namespace e2e
