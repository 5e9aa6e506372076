#include "Removal.h"

#include <algorithm>
#include <cstring>

#include "Automation.h"
#include "Files.h"
#include "Machine.h"
#include "Report.h"
#include "Scenario.h"
#include "Unattended.h"
#include "common/Handles.h"
#include "common/Paths.h"
#include "support/RegistryView.h"

namespace e2e {
namespace {

constexpr wchar_t MessageBoxClass[] = L"#32770";
constexpr wchar_t QuestionStart[] = L"Удалить комплекс";
constexpr wchar_t FinalStart[] = L"Комплекс \"Сонтира\" удалён";
constexpr wchar_t MainClass[] = L"TFMain";
constexpr int MessageBoxTextId = 0xFFFF;

void Press(HWND box, int buttonId, const std::wstring& text) {
    HWND button = GetDlgItem(box, buttonId);
    if (button == nullptr || !PostMessageW(button, BM_CLICK, 0, 0)) {
        Fail(L"could not press button " + std::to_wstring(buttonId) + L" of the box \"" +
             Visible(text) + L"\"");
    }
}

std::wstring ValueText(DWORD type, const std::vector<BYTE>& data, DWORD size) {
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD value = 0;
        memcpy(&value, data.data(), sizeof(value));
        return L"REG_DWORD: " + std::to_wstring(value);
    }
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
    return L"type " + std::to_wstring(type) + L": " + text;
}

} // namespace

std::wstring InstallQuietly(TContext& context, const std::wstring& target) {
    RemoveSuite(target);
    const std::wstring source = context.CopyDistribution();
    const std::wstring log = source + L"\\install.log";
    const TSetupRun run = RunSetup(
        source, L"/VERYSILENT \"/DIR=" + ExcludeTrailingPathDelimiter(target) + L"\" /LOG=" + log);
    if (run.ExitCode != 0) {
        std::string bytes;
        ReadBytes(log, bytes);
        Fail(L"the installation into " + target + L" ended with " + std::to_wstring(run.ExitCode) +
             L", not 0; its log:\n" + FromUtf8(bytes));
    }
    return source;
}

TSetupRun RunUninstall(const std::wstring& target, const std::wstring& arguments,
                       const std::function<void(DWORD)>& watch) {
    if (!FileExists(target + UninstallName)) {
        Fail(L"there is no " + target + UninstallName);
    }
    return RunCommandLine(L"\"" + target + UninstallName + L"\"" +
                              (arguments.empty() ? L"" : L" " + arguments),
                          watch);
}

void CheckExit(TContext& context, const TSetupRun& run, DWORD expected, const std::wstring& when) {
    context.Check(run.ExitCode == expected, when + L"exit code " + std::to_wstring(expected) +
                                                L", not " + std::to_wstring(run.ExitCode) +
                                                (run.ExitCode >= 0xC0000000 ? L" (a crash)" : L""));
    // Whoever started it (Programs and Features, a deployment system) takes its end for the
    // end of the removal and its exit code for the result. Its copy may still remove the last
    // of the folder afterwards, which it cannot while the program runs from there.
    for (const auto& window : run.ShownAtEnd) {
        context.Check(false, when + L"the program ended while its copy still showed " + window);
    }
    for (const auto& copy : run.Outlived) {
        context.Check(copy.ExitCode == run.ExitCode, when + L"the program ended with " +
                                                         std::to_wstring(run.ExitCode) + L", " +
                                                         copy.Name + L", which it started, with " +
                                                         std::to_wstring(copy.ExitCode));
    }
}

void TRemovalAnswers::operator()(DWORD) {
    for (HWND box : TopLevelWindows(0, MessageBoxClass)) {
        if (std::find(FAnswered.begin(), FAnswered.end(), box) != FAnswered.end()) {
            continue;
        }
        const std::wstring text = TextOf(GetDlgItem(box, MessageBoxTextId));
        if (text.starts_with(QuestionStart)) {
            Question = text;
            Press(box, FAnswer, text);
        } else if (text.starts_with(FinalStart)) {
            Final = text;
            HWND main = FindTopLevel(0, MainClass);
            if (main != nullptr) {
                MainCaption = TextOf(main);
                const auto lists = VisibleDescendants(main, L"LISTBOX");
                Log = lists.empty() ? std::vector<std::wstring>{} : ListBoxLines(lists.front());
                // The picture of the README: the log and the final box over it.
                DWORD owner = 0;
                GetWindowThreadProcessId(box, &owner);
                Sleep(300);
                FContext.ProcessShot(L"removal", owner);
            }
            Press(box, IDOK, text);
        } else {
            Fail(L"a message box the removal should not show: \"" + Visible(text) + L"\"");
        }
        FAnswered.push_back(box);
    }
}

bool HasStepDone(const std::vector<std::wstring>& lines, const std::wstring& step) {
    for (const wchar_t* done : {L"....Завершено", L".... Завершено"}) {
        if (std::find(lines.begin(), lines.end(), step + done) != lines.end()) {
            return true;
        }
    }
    return false;
}

std::map<std::wstring, std::wstring> RegistrationValues() {
    std::map<std::wstring, std::wstring> values;
    const TUniqueKey key = regview::OpenMachineKey(RegistrationKey, regview::Own);
    if (!key) {
        return values;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        DWORD type = 0;
        std::vector<BYTE> data(65536);
        DWORD size = static_cast<DWORD>(data.size());
        if (RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type, data.data(),
                          &size) != ERROR_SUCCESS) {
            return values;
        }
        values[name] = ValueText(type, data, size);
    }
}

std::wstring TempFolder() {
    wchar_t folder[MAX_PATH + 1] = L"";
    GetTempPathW(MAX_PATH + 1, folder);
    return folder;
}

std::vector<std::wstring> RemovalLogsInTemp() {
    std::vector<std::wstring> logs;
    WIN32_FIND_DATAW found{};
    TUniqueFind find(FindFirstFileW((TempFolder() + L"Sontira-Uninstall-*.log").c_str(), &found));
    for (bool more = static_cast<bool>(find); more; more = FindNextFileW(find.get(), &found)) {
        logs.push_back(TempFolder() + found.cFileName);
    }
    return logs;
}

std::vector<std::wstring> InstallLogsInTemp() {
    std::vector<std::wstring> logs;
    WIN32_FIND_DATAW found{};
    TUniqueFind find(FindFirstFileW((TempFolder() + L"Sontira-Install-*.log").c_str(), &found));
    for (bool more = static_cast<bool>(find); more; more = FindNextFileW(find.get(), &found)) {
        logs.push_back(TempFolder() + found.cFileName);
    }
    return logs;
}

std::vector<std::wstring> NewDefaultLogLines(const std::vector<std::wstring>& before) {
    std::vector<std::wstring> lines;
    for (const auto& log : InstallLogsInTemp()) {
        if (std::find(before.begin(), before.end(), log) == before.end()) {
            const auto more = ReadLogFile(log);
            lines.insert(lines.end(), more.begin(), more.end());
        }
    }
    return lines;
}

} // namespace e2e
