#include "FaultRun.h"

#include <algorithm>

#include "Automation.h"
#include "FaultFiles.h"
#include "Files.h"
#include "Machine.h"
#include "Report.h"
#include "Scenario.h"
#include "Unattended.h"
#include "Wait.h"
#include "Walks.h"
#include "common/Paths.h"

namespace e2e {
namespace {

constexpr wchar_t DriverQuestion[] = L"Подключите интерфейсный блок и нажмите \"Yes\"?";
constexpr wchar_t Failed[] = L"ОШИБКА!!!";
constexpr wchar_t DatabaseBack[] = L"Прежняя база данных возвращена на место";
constexpr wchar_t DatabaseNotKept[] = L"Прежнюю базу данных не удалось сохранить: ";
constexpr wchar_t Undoing[] = L"Отмена изменений....";
// A guard against a hung run, not a measure: the 50 MiB ReleaseInfo alone takes over a minute
// under 64-bit Wine on a busy machine.
constexpr DWORD RunTimeoutMs = 300000;
// A run that stopped leaves its last line alone; one that goes on changes it well within this.
constexpr DWORD QuietMs = 1500;

struct TChildSearch {
    const wchar_t* ClassName;
    const wchar_t* Text;
    HWND Found;
};

BOOL CALLBACK FindChild(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<TChildSearch*>(param);
    if (_wcsicmp(ClassOf(wnd).c_str(), search->ClassName) == 0 &&
        (search->Text == nullptr || TextOf(wnd) == search->Text)) {
        search->Found = wnd;
        return FALSE;
    }
    return TRUE;
}

// A descendant whether it shows or not (the log stays on the hidden progress page).
HWND FindAnyDescendant(HWND parent, const wchar_t* className, const wchar_t* text = nullptr) {
    TChildSearch search{className, text, nullptr};
    EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

const wchar_t* KindName(TRunEnd::TKind kind) {
    switch (kind) {
    case TRunEnd::reCompleted:
        return L"completed";
    case TRunEnd::reErrorBox:
        return L"error box";
    default:
        return L"stopped";
    }
}

// After the driver question the run copies and runs scripts without answering messages for a
// while (a large ReleaseInfo takes many seconds): only the box's going is awaited.
void AnswerWithoutWaiting(HWND box, int buttonId) {
    PostMessageW(GetDlgItem(box, buttonId), BM_CLICK, 0, 0);
    WaitFor(L"the driver question to close",
            [&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

} // namespace

bool TRunEnd::LogHas(const std::wstring& line) const {
    return std::find(Log.begin(), Log.end(), line) != Log.end();
}

std::wstring TRunEnd::LastLine() const {
    return Log.empty() ? L"" : Log.back();
}

TEarlierInstall TEarlierInstall::Seed(const std::wstring& target) {
    TEarlierInstall earlier;
    earlier.Target = target;
    earlier.Database = "FIREBIRD DATABASE OF THE CLINIC: 1532 patients, 20417 recordings\n";
    for (int i = 0; i < 2000; ++i) {
        earlier.Database += "patient " + std::to_string(i) + "\n";
    }
    earlier.Counter = std::string("\x07\x00\x2A\x00\x00\x00", 6) + std::string(8, '\x40');
    earlier.Records = "ECG recording 0001 of patient 17\n";
    CreateFolders(target + L"DTAfb");
    CreateFolders(target + L"Settings");
    CreateFolders(target + L"Data");
    WriteBytes(target + L"DTAfb\\R47.FDB", earlier.Database);
    WriteBytes(target + L"Settings\\lastnum.dta", earlier.Counter);
    WriteBytes(target + L"Data\\ECG0001.dat", earlier.Records);
    WriteUtf8(
        target + L"Settings\\holter.ini",
        L"[options]\r\nFilterType=3\r\nChannel1Gain=1.5\r\n[clinic]\r\nName=Polyclinic 5\r\n");
    return earlier;
}

TEarlierInstall TEarlierInstall::Install(const std::wstring& distribution,
                                         const std::wstring& target) {
    const std::wstring log = distribution + L"\\earlier.log";
    const TSetupRun run =
        RunSetup(distribution,
                 L"/VERYSILENT \"/DIR=" + ExcludeTrailingPathDelimiter(target) + L"\" /LOG=" + log);
    if (run.ExitCode != 0) {
        Fail(L"the earlier installation into " + target + L" ended with " +
             std::to_wstring(run.ExitCode) + L", not 0; its log:\n" + FromUtf8(ReadBytes(log)));
    }
    TEarlierInstall earlier = Seed(target);
    RemoveSuiteFonts();
    return earlier;
}

std::vector<std::wstring> TEarlierInstall::DatabaseBackups() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((Target + L"DTAfb\\R47.FDB.*.bak").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            names.push_back(data.cFileName);
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void TEarlierInstall::Check(TContext& context) const {
    bool databaseKept = ReadBytes(Target + L"DTAfb\\R47.FDB") == Database;
    for (const auto& name : DatabaseBackups()) {
        databaseKept = databaseKept || ReadBytes(Target + L"DTAfb\\" + name) == Database;
    }
    context.Check(databaseKept, L"the clinic's database is neither in R47.FDB nor in a .bak");
    context.Check(ReadBytes(Target + L"Settings\\lastnum.dta") == Counter,
                  L"lastnum.dta of the earlier installation changed");
    context.Check(ReadBytes(Target + L"Data\\ECG0001.dat") == Records,
                  L"the clinic's recording Data\\ECG0001.dat changed");
    if (!CheckIni) {
        return;
    }
    wchar_t name[64] = L"";
    GetPrivateProfileStringW(L"clinic", L"Name", L"", name, 64,
                             (Target + L"Settings\\holter.ini").c_str());
    context.CheckEqual(name, L"Polyclinic 5", L"holter.ini [clinic] Name");
}

TFaultInstall::TFaultInstall(TContext& context, const std::wstring& distribution,
                             const std::wstring& arguments, std::wstring* startBox)
    : FContext(context),
      FWizard(std::make_unique<TWizard>(context, distribution, arguments, startBox)) {}

void TFaultInstall::Start(const std::wstring& target, bool installDriver) {
    WalkToOptions(*FWizard, FContext, target);
    FDriverAnswer = installDriver ? IDYES : IDNO;
    FWizard->Press(L"Начать установку");
}

std::vector<std::wstring> TFaultInstall::Log() const {
    HWND list = FindAnyDescendant(FWizard->Main(), L"LISTBOX");
    return list ? ListBoxLines(list) : std::vector<std::wstring>{};
}

TRunEnd TFaultInstall::WaitEnd() {
    TRunEnd end;
    // After an error box the run still undoes what it did: its end is the rollback's line.
    bool answered = false;
    std::wstring last;
    ULONGLONG lastChanged = GetTickCount64();
    WaitFor(
        L"the end of the run",
        [&] {
            if (HWND box = FindTopLevel(FWizard->ProcessId(), L"#32770")) {
                const std::wstring text = TextOf(GetDlgItem(box, 0xFFFF));
                // The driver question opens the run's second half; any other box is an error.
                if (text == DriverQuestion) {
                    if (AtDriverQuestion) {
                        AtDriverQuestion();
                    }
                    AnswerWithoutWaiting(box, FDriverAnswer);
                    return false;
                }
                if (answered) {
                    Fail(L"a second error box: \"" + Visible(text) + L"\" after \"" +
                         Visible(end.BoxText) + L"\"");
                }
                end.Kind = TRunEnd::reErrorBox;
                end.BoxText = text;
                FWizard->Answer({box, end.BoxText}, IDOK);
                answered = true;
                lastChanged = GetTickCount64();
                return false;
            }
            const std::wstring page = FWizard->VisiblePage();
            if (page == L"tsChangeFontSize") {
                end.Kind = TRunEnd::reCompleted;
                return true;
            }
            if (answered && page != L"tsProgressInstall") {
                return true; // refused before the run began
            }
            // Between its pumps the run answers nothing (a large file takes seconds): poll
            // the log only while the window answers.
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(FWizard->Main(), WM_NULL, 0, 0, SMTO_NORMAL, 200, &result)) {
                return false;
            }
            const auto lines = Log();
            const std::wstring now = lines.empty() ? L"" : lines.back();
            if (now != last) {
                last = now;
                lastChanged = GetTickCount64();
            }
            if (now == Undoing) {
                return false;
            }
            const bool undone = now.starts_with(Undoing);
            // Without a rollback (none could begin) the last line simply stays.
            const bool stopLine = answered || EndsWith(now, Failed) || now == DatabaseBack ||
                                  now.starts_with(DatabaseNotKept);
            if (undone || (stopLine && GetTickCount64() - lastChanged > QuietMs)) {
                end.Kind = answered ? TRunEnd::reErrorBox : TRunEnd::reStopped;
                return true;
            }
            return false;
        },
        [&] { return FWizard->Describe(); }, RunTimeoutMs);
    Settle(FWizard->Main());
    end.Log = Log();
    if (!end.Log.empty() && end.Log.back().starts_with(Undoing)) {
        end.Undo = end.Log.back();
        end.Log.pop_back();
    }
    end.Page = FWizard->VisiblePage();
    HWND progress = FindAnyDescendant(FWizard->Main(), L"TTabSheet", L"tsProgressInstall");
    HWND exit = progress ? FindAnyDescendant(progress, L"BUTTON", L"Выход") : nullptr;
    end.ExitEnabled = exit != nullptr && IsWindowEnabled(exit);
    return end;
}

TRunEnd TFaultInstall::Run(const std::wstring& target, bool installDriver) {
    Start(target, installDriver);
    return WaitEnd();
}

HWND TFaultInstall::WaitDriverQuestion() {
    return WaitFor(
        L"the driver question",
        [&]() -> HWND {
            HWND box = FindTopLevel(FWizard->ProcessId(), L"#32770");
            const std::wstring text = box ? TextOf(GetDlgItem(box, 0xFFFF)) : L"";
            if (box != nullptr && text != DriverQuestion) {
                Fail(L"a message box before the driver question: \"" + Visible(text) + L"\"");
            }
            return box;
        },
        [&] { return FWizard->Describe(); }, RunTimeoutMs);
}

void TFaultInstall::Kill() {
    const TUniqueHandle process(
        OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, FWizard->ProcessId()));
    if (!process || !TerminateProcess(process.get(), 9) ||
        WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) {
        Fail(L"could not kill Install.exe");
    }
}

void TFaultInstall::CloseAndCheckExit() {
    PostMessageW(FWizard->Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    const DWORD code = FWizard->WaitExit(20000);
    FContext.Check(code == 0, L"exit code after the close box is " + std::to_wstring(code) +
                                  L" (a crash or an unhandled exception?)");
}

void CheckEnd(TContext& context, const TRunEnd& end, TRunEnd::TKind kind,
              const std::wstring& boxStart) {
    std::wstring log;
    for (const auto& line : end.Log) {
        log += L"\n        " + line;
    }
    context.Check(end.Kind == kind, std::wstring(L"the run ended as ") + KindName(end.Kind) +
                                        L", expected " + KindName(kind) + L"; box \"" +
                                        Visible(end.BoxText) + L"\"; log:" + log);
    if (kind == TRunEnd::reErrorBox) {
        context.Check(end.BoxText.starts_with(boxStart),
                      L"error box reads \"" + Visible(end.BoxText) +
                          L"\", expected it to start \"" + boxStart + L"\"");
    }
    context.Check(end.ExitEnabled == (kind == TRunEnd::reCompleted),
                  std::wstring(L"\"Выход\" is ") + (end.ExitEnabled ? L"enabled" : L"disabled"));
    if (kind != TRunEnd::reCompleted) {
        context.CheckEqual(end.Page, L"tsProgressInstall", L"page after the run");
    }
}

void CheckUndone(TContext& context, const TRunEnd& end, const TSnapshot& before) {
    context.CheckEqual(end.Undo, L"Отмена изменений....Завершено", L"the rollback's line");
    CheckSnapshot(context, before, L"after the rollback: ", {L"backup-ran.txt"});
}

std::wstring FreshTarget() {
    return FreshFolderName(L"C:\\target") + L"\\";
}

} // namespace e2e
