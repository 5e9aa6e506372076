#pragma once
#include "common/Paths.h"
#include "install/InstallHost.h"
#include "ui/BusyCursor.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/Memo.h"
#include "ui/PageControl.h"
#include "ui/Panel.h"
#include "ui/RichEdit.h"

#include <optional>
#include <string>

// The setup wizard's main window: six pages without tabs and the buttons that walk them.
class TFMain : public TForm, public TInstallHost {
public:
    TFMain();

    bool FCanClose = false;
    std::optional<TBusyCursor> FBusy; // the hourglass of the run's busy part
    std::wstring AppNameStr;
    std::wstring Fcopyfrom;
    // Where a run installs from: the executable's own folder, unless a test says otherwise.
    std::wstring DistributionFolder = ExecutableFolder();

    TRichEdit RichEdit1;
    TPageControl InsatallPages;

    TTabSheet tsStart;
    TPanel PnlStartButtons;
    TButton BtnCancel;
    TButton BtnStartNext;
    TMemo MemoStart;

    TTabSheet tsInputPath;
    TPanel PnlInputPathButtons;
    TButton BtnCancel2;
    TButton BtnInputPathNext;
    TMemo MemoInputPath;
    TPanel PnlPath;
    TButton BtnSelectPath;
    TEdit ePath;

    TTabSheet tsInputComponents;
    TPanel PnlInputComponentsButtons;
    TButton BtnCancel4;
    TButton BtnInsatall;
    TButton BtnInputComponentsBack;
    TPanel PnlOptions;
    TComboBox CBWindows;
    TCheckBox CbDriverInstal;
    TMemo MemoInputComponents;

    TTabSheet tsProgressInstall;
    TPanel PnlProgressButtons;
    TButton BtnExit;
    TListBox LogList;

    TTabSheet tsCancel;
    TMemo MemoCancel;
    TPanel PnlCancelButtons;
    TButton BtnExitCancel;

    TTabSheet tsChangeFontSize;
    TPanel PnlChangeFontButtons;
    TButton BtnExitOnChangefont;
    TButton BtnChangeFont;
    TPanel PnlChangeFontSpacer;
    TMemo MemoChangeFontSize;

    // Event handlers, bound to their controls by CreatePages.
    void FormCreate();
    bool FormCloseQuery();
    void BtnStartNextClick();
    void BtnSelectPathClick();
    void BtnInputPathNextClick();
    void tsInputComponentsShow();
    void BtnInputComponentsBackClick();
    void BtnInsatallClick();
    void BtnCancelClick();
    void BtnExitClick();
    void BtnChangeFontClick();

    // What the installation run sees of the window.
    HWND Window() const override;
    std::wstring PathText() const override;
    int WindowsIndex() const override;
    bool DriverChecked() const override;
    bool LovenaBrand() const override;
    void SetCopyFrom(const std::wstring& folder) override;
    std::wstring CopyFrom() const override;
    void SelectPage(TWizardPage page) override;
    void ShowEmptyLog() override;
    int LogAdd(const std::wstring& line) override;
    void LogReplace(int index, const std::wstring& line) override;
    void LogRepaint() override;
    void SetCanClose(bool canClose) override;
    void EnableExit() override;
    void CloseWindow() override;
    void ProcessMessages() override;
    void SetBusyCursor(bool busy) override;

private:
    void CreatePages();
    void CreateStartPage();
    void CreateInputPathPage();
    void CreateInputComponentsPage();
    void CreateProgressPage();
    void CreateCancelPage();
    void CreateChangeFontSizePage();
    TTabSheet& Sheet(TWizardPage page);
};
