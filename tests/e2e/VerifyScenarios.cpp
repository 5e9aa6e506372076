// /VERIFY and /REPAIR: an installation damaged in each way a support engineer meets, found by
// the check and put right by the repair, the clinic's data untouched; the window modes with
// their boxes; a distribution that is gone.
#include <windows.h>

#include <algorithm>
#include <functional>

#include "Automation.h"
#include "Files.h"
#include "Machine.h"
#include "Removal.h"
#include "Report.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "SuiteFiles.h"
#include "Unattended.h"
#include "common/Paths.h"

namespace e2e {
namespace {

constexpr wchar_t Holter[] = L"C:\\Holter\\";
constexpr wchar_t Recording[] = L"Records\\пациент 1.dat";
constexpr wchar_t Intact[] = L"Установка в папке C:\\Holter цела.";

// One way an installation gets damaged: what is done, the line the check writes for it
// (its beginning), and whether the repair put it right.
struct TDamage {
    const wchar_t* What;
    std::function<void()> Do;
    std::wstring Finding;
    std::function<bool()> Repaired;
};

std::wstring Installed(const wchar_t* file) {
    return Holter + std::wstring(file);
}

bool SameBytes(const std::wstring& a, const std::wstring& b) {
    std::string x, y;
    return ReadBytes(a, x) && ReadBytes(b, y) && x == y;
}

void ChangeKeepingSizeAndTime(const std::wstring& path) {
    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    FILETIME written{};
    char first = 0;
    DWORD done = 0;
    if (!file || !GetFileTime(file.get(), nullptr, nullptr, &written) ||
        !ReadFile(file.get(), &first, 1, &done, nullptr) || done != 1) {
        Fail(L"could not read " + path);
    }
    first ^= 0x20;
    SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN);
    if (!WriteFile(file.get(), &first, 1, &done, nullptr) ||
        !SetFileTime(file.get(), nullptr, nullptr, &written)) {
        Fail(L"could not change " + path);
    }
}

void SetReadOnly(const std::wstring& path) {
    if (!SetFileAttributesW(path.c_str(),
                            GetFileAttributesW(path.c_str()) | FILE_ATTRIBUTE_READONLY)) {
        Fail(L"could not make " + path + L" read-only");
    }
}

std::vector<TDamage> Damages(const std::wstring& source) {
    const std::wstring deleted = Installed(L"udf\\Compare.Dll");
    const std::wstring changed = Installed(L"gbak.exe");
    const std::wstring readOnly = Installed(L"backup\\R010203\\Install.cmd");
    const std::wstring font = WindowsFontsFolder() + Fonts()[0].File;
    const std::wstring value = std::wstring(Fonts()[0].FullName) + L" (TrueType)";
    const std::wstring link = DesktopFolder() + ShortcutName;
    return {
        {L"a file deleted", [=] { DeleteFileW(deleted.c_str()); }, L"Файл отсутствует: " + deleted,
         [=] { return SameBytes(deleted, source + L"\\UDF\\Compare.Dll"); }},
        {L"a file changed, its size and time kept", [=] { ChangeKeepingSizeAndTime(changed); },
         L"Файл отличается от дистрибутива: " + changed,
         [=] { return SameBytes(changed, source + L"\\Firebird\\gbak.exe"); }},
        {L"a file made read-only", [=] { SetReadOnly(readOnly); },
         L"Файл только для чтения: " + readOnly, [=] { return !ReadOnly(readOnly); }},
        {L"a font's registry value deleted",
         [=] { RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, FontsKey, value.c_str()); },
         L"Шрифт не зарегистрирован: " + value,
         [=] {
             std::wstring data;
             return ReadMachineString(FontsKey, value, data) &&
                    lstrcmpiW(data.c_str(), Fonts()[0].File) == 0 && FileExists(font);
         }},
        {L"the shortcut deleted", [=] { DeleteFileW(link.c_str()); }, L"Ярлык отсутствует: " + link,
         [=] { return FileExists(link); }},
        {L"the entry deleted", [] { RegDeleteTreeW(HKEY_LOCAL_MACHINE, RegistrationKey); },
         L"Запись в списке установленных программ отсутствует",
         [] {
             std::wstring repair;
             return ReadMachineString(RegistrationKey, L"ModifyPath", repair) &&
                    repair == L"\"C:\\Holter\\Uninstall.exe\" /REPAIR";
         }},
    };
}

// The clinic's folders and a recording, byte for byte.
std::map<std::wstring, std::string> ClinicData() {
    std::map<std::wstring, std::string> data;
    for (const wchar_t* folder : {L"DTAfb\\", L"Settings\\"}) {
        for (const auto& file : FilesBelow(Holter + std::wstring(folder))) {
            ReadBytes(Holter + std::wstring(folder) + file, data[folder + file]);
        }
    }
    ReadBytes(Installed(Recording), data[Recording]);
    return data;
}

// Uninstall.exe with the switches, run as a deployment system runs it: its exit code, no
// window, and its log's lines.
std::vector<std::wstring> RunQuiet(TContext& context, const std::wstring& switches, DWORD expected,
                                   const std::wstring& log) {
    const TSetupRun run = RunUninstall(Holter, switches + L" /VERYSILENT /LOG=" + log);
    CheckExit(context, run, expected, switches + L": ");
    CheckNoWindow(context, run);
    const auto lines = ReadLogFile(log);
    CheckResultLine(context, lines, static_cast<int>(expected));
    return lines;
}

// The boxes of a check in a window mode, answered with OK (the browser with Cancel), each
// with what the main window showed behind it.
struct TBoxes {
    const TContext* Shots = nullptr; // saves the window and its box as <Shot>.png
    const wchar_t* Shot = L"";
    std::vector<std::wstring> Texts;
    std::wstring MainCaption;
    std::vector<std::wstring> List;
    bool BrowserShown = false;
    std::vector<HWND> Answered;

    void operator()(DWORD) {
        for (HWND box : TopLevelWindows(0, L"#32770")) {
            if (std::find(Answered.begin(), Answered.end(), box) != Answered.end()) {
                continue;
            }
            Answered.push_back(box);
            if (FindVisibleDescendant(box, L"SysTreeView32") != nullptr) {
                BrowserShown = true;
                PostMessageW(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
                continue;
            }
            Texts.push_back(TextOf(GetDlgItem(box, 0xFFFF)));
            if (HWND main = FindTopLevel(0, L"TFMain"); main != nullptr) {
                MainCaption = TextOf(main);
                const auto lists = VisibleDescendants(main, L"LISTBOX");
                List = lists.empty() ? std::vector<std::wstring>{} : ListBoxLines(lists.front());
                if (Shots != nullptr) {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(box, &owner);
                    Sleep(300); // the box painted
                    Shots->ProcessShot(Shot, owner);
                }
            }
            PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        }
    }
};

bool Has(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

void VerifyRepairDamages(TContext& context) {
    const std::wstring source = InstallQuietly(context, Holter);
    CreateFolders(Installed(L"Records"));
    WriteBytes(Installed(Recording), "ECG recording 0001\n");
    const auto clinic = ClinicData();
    RunQuiet(context, L"/VERIFY", 0, L"C:\\verify-intact.log");

    const std::vector<TDamage> damages = Damages(source);
    for (const TDamage& damage : damages) {
        damage.Do();
    }
    const auto found = RunQuiet(context, L"/VERIFY", 5, L"C:\\verify-damaged.log");
    for (const TDamage& damage : damages) {
        context.Check(HasLineStarting(found, damage.Finding),
                      L"/VERIFY did not find " + std::wstring(damage.What) + L": no line \"" +
                          damage.Finding + L"...\"");
    }
    context.Check(HasLineStarting(found, L"Проверено файлов: ") && found.size() > 2 &&
                      std::any_of(found.begin(), found.end(),
                                  [](const std::wstring& l) {
                                      return l.ends_with(L"; найдено расхождений: 6");
                                  }),
                  L"the summary line of /VERIFY does not count 6 differences");

    const auto repaired = RunQuiet(context, L"/REPAIR", 0, L"C:\\repair.log");
    context.Check(Has(repaired, L"Исправлено расхождений: 6 из 6"),
                  L"/REPAIR does not say it put right 6 of 6");
    for (const TDamage& damage : damages) {
        context.Check(damage.Repaired(), L"/REPAIR did not put right " + std::wstring(damage.What));
    }
    RunQuiet(context, L"/VERIFY", 0, L"C:\\verify-repaired.log");
    context.Check(ClinicData() == clinic,
                  L"the clinic's database, settings or recording changed in a check or repair");
}

void VerifyWindows(TContext& context) {
    const std::wstring source = InstallQuietly(context, Holter);
    // From the distribution, as a support engineer starts it.
    TBoxes intact;
    const TSetupRun verify = RunSetup(source, L"/VERIFY", std::ref(intact));
    CheckExit(context, verify, 0, L"/VERIFY from the distribution: ");
    context.Check(intact.Texts == std::vector<std::wstring>{Intact},
                  L"/VERIFY of an intact installation: the boxes were not \"" +
                      std::wstring(Intact) + L"\" alone");
    context.CheckEqual(intact.MainCaption, L"Проверка комплекса", L"the check's caption");

    ChangeKeepingSizeAndTime(Installed(L"fbclient.Dll"));
    const std::wstring finding = L"Файл отличается от дистрибутива: C:\\Holter\\fbclient.Dll";
    TBoxes differs;
    CheckExit(context,
              RunUninstall(Holter, L"/VERIFY /LOG=C:\\verify-window.log", std::ref(differs)), 5,
              L"/VERIFY with a difference: ");
    context.Check(Has(differs.List, finding),
                  L"the window's list does not show \"" + finding + L"\"");
    context.Check(differs.Texts == std::vector<std::wstring>{L"Найдено расхождений: 1. Список в "
                                                             L"журнале C:\\verify-window.log."},
                  L"the final box of a check with one difference");

    // Repair from Programs and Features: the entry's ModifyPath as it stands.
    std::wstring modify;
    if (!ReadMachineString(RegistrationKey, L"ModifyPath", modify)) {
        Fail(L"the entry has no ModifyPath");
    }
    TBoxes repair;
    repair.Shots = &context;
    repair.Shot = L"repair";
    CheckExit(context, RunCommandLine(modify, std::ref(repair)), 0, L"Repair: ");
    context.CheckEqual(repair.MainCaption, L"Восстановление комплекса", L"the repair's caption");
    context.Check(Has(repair.List, finding) &&
                      Has(repair.List, L"Копирование файла fbclient.Dll....Завершено"),
                  L"the repair's list does not show the finding and the copy");
    context.Check(repair.Texts == std::vector<std::wstring>{L"Установка в папке C:\\Holter "
                                                            L"восстановлена. Исправлено "
                                                            L"расхождений: 1."},
                  L"the final box of the repair");
    context.Check(SameBytes(Installed(L"fbclient.Dll"), source + L"\\Firebird\\fbclient.Dll"),
                  L"the repair did not copy fbclient.Dll again");
}

void VerifyDistributionGone(TContext& context) {
    const std::wstring source = InstallQuietly(context, Holter);
    const std::wstring gone = FreshFolderName(source + L"-gone");
    if (!MoveFileW(source.c_str(), gone.c_str())) {
        Fail(L"could not move the distribution " + source + L" away");
    }
    const auto lines = RunQuiet(context, L"/REPAIR", 3, L"C:\\repair-gone.log");
    context.Check(Has(lines, L"Дистрибутив недоступен: " + source + L"\\"),
                  L"the log does not name the distribution that is gone");

    // A person is asked for the folder; Cancel in the folder browser ends the check with 3.
    TBoxes asked;
    CheckExit(context, RunUninstall(Holter, L"/VERIFY", std::ref(asked)), 3,
              L"/VERIFY, the browser cancelled: ");
    context.Check(asked.Texts ==
                      std::vector<std::wstring>{L"Дистрибутив комплекса не найден в "
                                                L"папке " +
                                                source + L". Укажите папку дистрибутива."},
                  L"the question for the distribution folder");
    context.Check(asked.BrowserShown, L"no folder browser was shown");
    MoveFileW(gone.c_str(), source.c_str());

    // Nothing installed there; a contradiction on the command line.
    CheckRefused(context, source, L"/VERIFY /VERYSILENT /DIR=C:\\Nowhere", 1,
                 L"Комплекс \"Сонтира\" не установлен в папке C:\\Nowhere.");
    CheckRefused(context, source, L"/VERIFY /REPAIR /VERYSILENT", 1,
                 L"Неверный параметр командной строки: /REPAIR");
}

// The record lies in the installation folder, where users may write; a repair run by an
// administrator copies from the distribution the entry names, not from one a user put into the
// record, when the two differ.
void RepairSourceFromEntry(TContext& context) {
    const std::wstring source = InstallQuietly(context, Holter);
    const std::wstring planted = FreshFolderName(L"C:\\planted");
    CopyFolder(source, planted);
    WriteBytes(planted + L"\\Firebird\\fbclient.Dll", "a user's library\r\n");
    std::string record;
    ReadBytes(Installed(L"InstallRecord.txt"), record);
    WriteBytes(Installed(L"InstallRecord.txt"), record + ToUtf8(L"source\t" + planted + L"\\\r\n"));
    ChangeKeepingSizeAndTime(Installed(L"fbclient.Dll"));

    RunQuiet(context, L"/REPAIR", 0, L"C:\\repair-source.log");
    context.Check(SameBytes(Installed(L"fbclient.Dll"), source + L"\\Firebird\\fbclient.Dll"),
                  L"the repair did not copy fbclient.Dll from the registered distribution");
}

} // namespace e2e
