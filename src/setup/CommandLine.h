#pragma once
#include <optional>
#include <string>
#include <vector>

enum class TSetupMode { smWizard, smSilent, smVerySilent };

// What the command line asks for. Switches are case-insensitive and begin with "/" or "-";
// a value follows "=".
struct TCommandLine {
    TSetupMode Mode = TSetupMode::smWizard;
    std::optional<std::wstring> Dir; // /DIR=
    std::optional<bool> Driver;      // /DRIVER, /NODRIVER
    std::optional<std::wstring> Log; // /LOG=
    bool Help = false;               // /?, /HELP
    bool Uninstall = false;          // /UNINSTALL: remove the installation in /DIR
    bool Verify = false;             // /VERIFY: check the installation against the distribution
    bool Repair = false;             // /REPAIR: the same check, then put right what it found
    // /PARENT=: the uninstaller that started this copy of itself, by process id.
    std::optional<unsigned long> Parent;
    // The first argument that could not be understood, with the reason; empty when none.
    std::wstring Error;
};

// Splits the text as CommandLineToArgvW does (its first word is the program) and reads the
// switches. A bad argument still leaves what was read before and after it, so that the mode
// and the log file are known for reporting it.
TCommandLine ParseCommandLine(const std::wstring& commandLine);

// The arguments as CommandLineToArgvW gives them, without the program's name.
std::vector<std::wstring> SplitArguments(const std::wstring& commandLine);

// The text after the program's name, as it was given.
std::wstring ArgumentsText(const std::wstring& commandLine);

// The switches and exit codes, for /? and for a bad command line.
extern const wchar_t* const CommandLineHelp;
