#pragma once
// A whole installation run, driven through the wizard window as a person drives it, from a
// fresh copy of the sample distribution into a fresh target folder.
#include "support/DialogAnswerer.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"
#include "install/InstallRun.h"
#include "wizard/Main.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace runtest {

// The seven fonts of the sample distribution with the full names they are registered by.
struct TDistFont {
    const wchar_t* FileName;
    const wchar_t* FullName;
};
extern const TDistFont DistFonts[7];

std::wstring FontLine(const TDistFont& font); // "Шрифт <...> уcтановлен"
std::wstring Done(const std::wstring& name);  // the finished copy line of a file
std::wstring Unfinished(const std::wstring& name);
void WriteAll(const std::wstring& path, const std::string& bytes);
std::wstring CurrentFolder(); // with a trailing delimiter
std::wstring DesktopLink();   // the shortcut the run makes
// Removes the distribution's fonts from the Windows fonts folder, so that the run installs
// them again (an earlier run of this program may have installed them).
void RemoveInstalledFonts();

class InstallRunTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void Restart() {
        TearDown();
        SetUp();
    }

    // Walks the start and path pages with this target (the path page creates it and its
    // Settings folder) and stops on the options page.
    void OpenOptions(const std::wstring& target);
    // Presses "Начать установку"; the answerer answers the run's message boxes. Only one
    // answerer can be active at a time: make it after OpenOptions.
    void Install(TDialogAnswerer& answerer);

    // The run alone, without the window, as the unattended modes make it: the target and its
    // settings folder made as the path rules make them, questions answered by the choices.
    TRunResult RunWithoutWindow(const TRunChoices& choices);

    std::vector<std::wstring> Log() const;
    std::vector<std::wstring> VisiblePages() const;
    bool ExitEnabled() const;

    // Fresh folders at every SetUp, so that a table's cases can each start anew.
    std::unique_ptr<TTempFolder> SourceFolder; // a copy of the sample distribution
    std::unique_ptr<TTempFolder> WorkFolder;   // holds the target
    std::wstring From;                         // the source folder (Fcopyfrom)
    std::wstring Target;                       // WorkFolder + "Holter\"
    std::unique_ptr<TFMain> Form;
    std::vector<std::wstring> WindowlessLog; // the list of the latest run without the window
};

} // namespace runtest
