// Source items missing from the distribution, one at a time, over an earlier installation.
#include <windows.h>

#include "FaultCases.h"
#include "FaultFiles.h"
#include "FaultRun.h"
#include "Files.h"
#include "Machine.h"
#include "Scenario.h"
#include "Snapshot.h"
#include "Unattended.h"
#include "common/Paths.h"

namespace e2e {
namespace {

constexpr const wchar_t* Fonts[] = {L"ARIAL.TTF",  L"ARIALN.TTF", L"COUR.TTF",   L"MICROSS.TTF",
                                    L"TAHOMA.TTF", L"TIMES.TTF",  L"verdana.TTF"};

struct TMissing {
    const wchar_t* Item;
    TRunEnd::TKind End;
    const wchar_t* Box;            // the error box starts so
    const wchar_t* UnfinishedLine; // the step line left without a suffix
    bool Driver;
    // Gone from the earlier installation too (relative to the target): its own copy would do.
    const wchar_t* AlsoGone = nullptr;
};

constexpr TMissing Cases[] = {
    {L"DTAfb\\R47.FDB", TRunEnd::reErrorBox, L"Не удается открыть файл",
     L"Копирование файла R47.FDB....", false},
    {L"Firebird\\gbak.exe", TRunEnd::reErrorBox, L"Не удается открыть файл",
     L"Копирование файла gbak.exe....", false},
    {L"Firebird\\udf\\ib_udf.dll", TRunEnd::reErrorBox, L"Не удается открыть файл",
     L"Копирование файла ib_udf.dll....", false},
    {L"UDF\\Compare.Dll", TRunEnd::reErrorBox, L"Не удается открыть файл",
     L"Копирование файла Compare.Dll....", false},
    {L"UDF\\PosStr.Dll", TRunEnd::reErrorBox, L"Не удается открыть файл",
     L"Копирование файла PosStr.Dll....", false},
    {L"UDF\\ProcessingECG.Dll", TRunEnd::reErrorBox, L"Не удается открыть файл",
     L"Копирование файла ProcessingECG.Dll....", false},
    {L"UDF\\SDecision.Dll", TRunEnd::reErrorBox, L"Не удается открыть файл",
     L"Копирование файла SDecision.Dll....", false},
    {L"fonts", TRunEnd::reCompleted, L"", nullptr, false},
    {L"fonts\\TAHOMA.TTF", TRunEnd::reCompleted, L"", nullptr, false},
    {L"FTDIDriverInstall", TRunEnd::reCompleted, L"", nullptr, true},
    {L"backup", TRunEnd::reErrorBox, L"В папке резервных копий", nullptr, false, L"backup"},
    {L"Updater\\ReleaseInfo", TRunEnd::reErrorBox, L"Release info file does not exist.", nullptr,
     false, L"ReleaseInfo"},
};

std::wstring WindowsFonts() {
    wchar_t folder[MAX_PATH] = L"";
    GetWindowsDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\Fonts\\";
}

// The fonts of earlier cases go, so that the font step has work to do.
void RemoveInstalledFonts() {
    for (const wchar_t* font : Fonts) {
        DeleteFileW((WindowsFonts() + font).c_str());
    }
}

int FontLines(const TRunEnd& end) {
    int count = 0;
    for (const auto& line : end.Log) {
        count += line.starts_with(L"Шрифт <") ? 1 : 0;
    }
    return count;
}

void CheckFonts(TContext& context, const TRunEnd& end, const std::wstring& item) {
    if (item == L"fonts") {
        context.Check(FontLines(end) == 0, L"font lines logged without a fonts folder");
        return;
    }
    // The missing font ends the font step: the four before it are in, the rest are not.
    context.Check(FontLines(end) == 4,
                  L"expected 4 font lines, got " + std::to_wstring(FontLines(end)));
    for (int i = 0; i < 7; ++i) {
        const bool present =
            GetFileAttributesW((WindowsFonts() + Fonts[i]).c_str()) != INVALID_FILE_ATTRIBUTES;
        context.Check(present == (i < 4),
                      std::wstring(Fonts[i]) + (present ? L" installed" : L" not installed"));
    }
}

// The same fault met by a run nobody attends, on a machine without the suite: exit code 4, the
// step and the reason in the log file, and nothing left of the run.
void CheckVerySilentStop(TContext& context, const std::wstring& dist, const TMissing& c) {
    const std::wstring target = FreshTarget();
    const std::wstring folder = ExcludeTrailingPathDelimiter(target);
    RemoveSuite(target);
    const TSnapshot before = TakeSnapshot(target);
    const std::wstring log = dist + L"\\stop.log";
    const TSetupRun run = RunSetup(dist, L"/VERYSILENT \"/DIR=" + folder + L"\" /LOG=" + log);
    context.Check(run.ExitCode == 4,
                  L"/VERYSILENT ends with 4, not " + std::to_wstring(run.ExitCode));
    context.Check(run.WindowsSeen.empty(), L"/VERYSILENT showed no window");
    const auto lines = ReadLogFile(log);
    context.Check(HasLineStarting(lines, L"Ошибка: " + std::wstring(c.Box)),
                  L"the log file gives the reason: " + std::wstring(c.Box));
    if (c.UnfinishedLine != nullptr) {
        context.Check(HasLineStarting(lines, c.UnfinishedLine),
                      L"the log file names the step: " + std::wstring(c.UnfinishedLine));
    }
    std::wstring said;
    for (const auto& line : lines) {
        said += L"\n        " + line;
    }
    context.Check(HasLineStarting(lines, L"Отмена изменений....Завершено"),
                  L"the log file does not say that the changes were undone; it says:" + said);
    // The newest backup's script, a program of others, leaves its note in the target, and the
    // folder stays for it; nothing else may.
    if (HasLineStarting(lines, L"Не отменяется: выполненная программа ")) {
        context.Check(FilesBelow(folder) == std::vector<std::wstring>{L"backup-ran.txt"} &&
                          FoldersBelow(folder).empty(),
                      L"the fresh target holds more than the backup script's note");
        context.Check(HasLineStarting(lines, L"Папка не пуста и оставлена: " + folder),
                      L"the log file does not say why " + folder + L" stays");
        DeleteTree(folder);
    }
    CheckSnapshot(context, before, L"/VERYSILENT on a fresh target: ");
}

} // namespace

template <int N> void MissingSourceItem(TContext& context) {
    const TMissing& c = Cases[N];
    const bool stops = c.End != TRunEnd::reCompleted;
    const std::wstring dist = context.CopyDistribution();
    RemoveInstalledFonts();
    const std::wstring target = FreshTarget();
    const TEarlierInstall earlier =
        stops ? TEarlierInstall::Install(dist, target) : TEarlierInstall::Seed(target);
    const std::wstring item = dist + L"\\" + c.Item;
    if (GetFileAttributesW(item.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(item);
    } else {
        DeleteFileW(item.c_str());
    }
    if (c.AlsoGone != nullptr) {
        const std::wstring gone = target + c.AlsoGone;
        if (GetFileAttributesW(gone.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            DeleteTree(gone);
        } else {
            DeleteFileW(gone.c_str());
        }
    }
    const TSnapshot before = TakeSnapshot(target);

    TFaultInstall install(context, dist);
    const TRunEnd end = install.Run(target, c.Driver);
    CheckEnd(context, end, c.End, c.Box);
    if (c.UnfinishedLine != nullptr) {
        context.CheckEqual(end.LastLine(), c.UnfinishedLine, L"last log line");
    }
    if (std::wstring(c.Item).starts_with(L"fonts")) {
        CheckFonts(context, end, c.Item);
    }
    if (c.Driver) {
        context.Check(end.LogHas(L"Началась установка драйверов устройства...") &&
                          end.LogHas(L"Установка драйверов устройства завершена"),
                      L"both driver lines are logged");
    }
    if (stops) {
        CheckUndone(context, end, before);
    } else {
        earlier.Check(context);
    }
    install.CloseAndCheckExit();
    if (stops) {
        CheckVerySilentStop(context, dist, c);
    }
}

template void MissingSourceItem<0>(TContext&);
template void MissingSourceItem<1>(TContext&);
template void MissingSourceItem<2>(TContext&);
template void MissingSourceItem<3>(TContext&);
template void MissingSourceItem<4>(TContext&);
template void MissingSourceItem<5>(TContext&);
template void MissingSourceItem<6>(TContext&);
template void MissingSourceItem<7>(TContext&);
template void MissingSourceItem<8>(TContext&);
template void MissingSourceItem<9>(TContext&);
template void MissingSourceItem<10>(TContext&);
template void MissingSourceItem<11>(TContext&);

} // namespace e2e
