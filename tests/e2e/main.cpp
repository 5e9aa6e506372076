// End-to-end tests of Install.exe: starts it from copies of the sample distribution and drives
// its windows as a person would. Prints one line per scenario and a summary; the exit code is
// the number of failed scenarios (2 for a usage error).
//
//   e2e.exe [--faults | --unprivileged] [--only NAME] [--shots FOLDER] DISTRIBUTION
//                                           --faults: the fault-injection suite instead;
//                                           --unprivileged: the cases for a user without
//                                           privileges
//   e2e.exe --demo FOLDER DISTRIBUTION      the demo walk, a screenshot of every page in FOLDER
//   e2e.exe --demo FOLDER --only NAME ...   that scenario instead, with its screenshots
//   --dpi N                                 the screen's logical pixels per inch for the
//                                           scenarios that set none themselves
//
// Paths may be Linux paths; they are read through Wine's drive Z:.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "Files.h"
#include "Machine.h"
#include "Report.h"
#include "Scenario.h"
#include "common/Errors.h"
#include "common/Handles.h"

namespace e2e {
namespace {

struct TOptions {
    std::wstring Distribution;
    std::wstring ShotsFolder;
    std::wstring Only;
    bool Demo = false;
    bool Faults = false;
    bool Unprivileged = false;
    DWORD Dpi = 0;
};

bool ParseOptions(int argc, wchar_t** argv, TOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if ((arg == L"--demo" || arg == L"--shots") && hasValue) {
            options.Demo = options.Demo || arg == L"--demo";
            options.ShotsFolder = WindowsPath(argv[++i]);
        } else if (arg == L"--faults") {
            options.Faults = true;
        } else if (arg == L"--unprivileged") {
            options.Unprivileged = true;
        } else if (arg == L"--dpi" && hasValue) {
            options.Dpi = static_cast<DWORD>(std::stoul(argv[++i]));
        } else if (arg == L"--only" && hasValue) {
            options.Only = argv[++i];
        } else if (!arg.starts_with(L"--") && options.Distribution.empty()) {
            options.Distribution = WindowsPath(arg);
        } else {
            return false;
        }
    }
    return !options.Distribution.empty();
}

// Runs one scenario; true when it passed.
bool Run(const TScenario& scenario, TContext& context) {
    context.StartScenario(scenario.Name);
    try {
        scenario.Run(context);
    } catch (const EError& e) {
        context.RecordFailure(e.Message());
    } catch (const std::exception& e) {
        context.RecordFailure(FromUtf8(e.what()));
    }
    const bool passed = context.Failures().empty();
    Print((passed ? L"PASS " : L"FAIL ") + std::wstring(scenario.Name));
    for (const auto& failure : context.Failures()) {
        Print(L"    failed: " + failure);
    }
    if (!passed) {
        context.FailureShot();
    }
    return passed;
}

int RunAll(const TOptions& options) {
    TContext context(options.Distribution, options.ShotsFolder, options.Demo);
    std::vector<TScenario> selected;
    if (options.Demo && options.Only.empty()) {
        selected.push_back(DemoScenario());
    }
    const auto table = options.Faults         ? FaultScenarios()
                       : options.Unprivileged ? UnprivilegedScenarios()
                                              : AllScenarios();
    for (const auto& scenario : table) {
        if (options.Only.empty() ? !options.Demo : options.Only == scenario.Name) {
            selected.push_back(scenario);
        }
    }
    if (selected.empty()) {
        Print(L"no scenario named " + options.Only);
        return 2;
    }
    int passed = 0;
    int failed = 0;
    for (const auto& scenario : selected) {
        (Run(scenario, context) ? passed : failed) += 1;
    }
    Print(std::to_wstring(passed) + L" passed, " + std::to_wstring(failed) + L" failed");
    return failed;
}

} // namespace
} // namespace e2e

int wmain(int argc, wchar_t** argv) {
    e2e::TOptions options;
    if (!e2e::ParseOptions(argc, argv, options)) {
        e2e::Print(L"usage: e2e.exe [--faults | --unprivileged] [--only NAME] [--shots FOLDER] "
                   L"[--dpi N] DISTRIBUTION\n"
                   L"       e2e.exe --demo FOLDER [--only NAME] [--dpi N] DISTRIBUTION");
        return 2;
    }
    TComInit com;
    if (options.Dpi != 0) {
        e2e::TScreenDpi screen(options.Dpi);
        return e2e::RunAll(options);
    }
    return e2e::RunAll(options);
}
