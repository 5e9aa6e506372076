#pragma once
#include <windows.h>

#include <string>

// The wizard's pages, in the page control's order.
enum class TWizardPage {
    tsStart,
    tsInputPath,
    tsInputComponents,
    tsProgressInstall,
    tsCancel,
    tsChangeFontSize
};

// The questions the run asks.
enum class TQuestion {
    qDriver,  // is the interface block connected? (Yes installs the driver)
    qFinished // installation complete: leave setup?
};

// What the installation run may read and change of the wizard window, and nothing more:
// the run lives below the wizard and knows it only through this interface.
class TInstallHost {
public:
    virtual ~TInstallHost() = default;

    virtual HWND Window() const = 0;                          // owner of the run's message boxes
    virtual std::wstring PathText() const = 0;                // the text of ePath
    virtual int WindowsIndex() const = 0;                     // CBWindows' selected index
    virtual bool DriverChecked() const = 0;                   // CbDriverInstal
    virtual bool LovenaBrand() const = 0;                     // IsLovenaBrand
    virtual void SetCopyFrom(const std::wstring& folder) = 0; // Fcopyfrom
    virtual std::wstring CopyFrom() const = 0;

    virtual void SelectPage(TWizardPage page) = 0;
    virtual void ShowEmptyLog() = 0;                  // LogList emptied and made visible
    virtual int LogAdd(const std::wstring& line) = 0; // index of the new entry
    virtual void LogReplace(int index, const std::wstring& line) = 0;
    virtual void LogRepaint() = 0;               // paint the list now, without a message pass
    virtual void SetCanClose(bool canClose) = 0; // FCanClose
    virtual void EnableExit() = 0;               // BtnExit
    virtual void CloseWindow() = 0;              // a close request, through FormCloseQuery
    virtual void ProcessMessages() = 0;          // one pass over the pending messages
    virtual void SetBusyCursor(bool busy) = 0;   // the screen's hourglass

    // Every question and error box of the run goes through here: the wizard shows them, an
    // unattended host answers them itself and writes them to the log file.
    virtual void ShowError(const std::wstring& text) = 0;
    virtual bool Ask(TQuestion question, const std::wstring& text) = 0;
    // Nobody sits at the screen: no font-size page, and shell copies ask nothing.
    virtual bool Unattended() const = 0;
};
