#pragma once
#include "common/Paths.h"
#include "install/InstallRun.h"
#include "install/RunChoices.h"
#include "ui/Bitmap32.h"
#include "ui/BusyCursor.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/Memo.h"
#include "ui/PageControl.h"
#include "ui/PaintBox.h"
#include "ui/Panel.h"
#include "ui/RichEdit.h"
#include "ui/SkinButton.h"
#include "wizard/MainRunHost.h"

#include <optional>
#include <string>

// The setup wizard's main window: six pages without tabs and the buttons that walk them.
class TFMain : public TForm {
public:
    // strings: the module whose string table names the product; the executable, unless a test
    // gives another.
    explicit TFMain(HINSTANCE strings = GetModuleHandleW(nullptr));

    // The skin's images, opaque; loaded at creation, drawn by BGResize.
    TBitmap32 BG_bmp;
    TBitmap32 Panels_bmp;
    TBitmap32 Logo_bmp;
    TBitmap32 Title_pnl_l_bmp;
    TBitmap32 Title_pnl_r_bmp;
    TBitmap32 Title_pnl_m_bmp;
    TBitmap32 Title_bmp;
    std::wstring AppNameStr;
    // The other brand's build: string table entry 1 reads "Ловена"; set at creation.
    bool IsLovenaBrand = false;
    bool CanClose() const { return FCanClose; }
    void SetCanClose(bool canClose) { FCanClose = canClose; }
    void SetBusyCursor(bool busy);
    // Shown for a run nobody attends: the window cannot be closed then.
    bool Unattended() const { return FUnattended; }
    bool Busy() const { return FBusy.has_value(); } // the run's busy part, with its hourglass

    // Test seam: a run installs from this folder instead of the executable's own.
    void SetDistributionFolderForTests(std::wstring folder) {
        FDistributionFolder = std::move(folder);
    }

    // Button glyph strips, normal and greyed, shared by the buttons of the same role.
    TBitmap32 FGlyphCancel;
    TBitmap32 FGlyphNext;
    TBitmap32 FGlyphBack;
    TBitmap32 FGlyphExit;
    TBitmap32 FGlyphInstall;

    TPaintBox32 BG;
    TRichEdit RichEdit1;
    TPageControl InsatallPages;

    TTabSheet tsStart;
    TPanel PnlStartButtons;
    TSkinButton BtnCancel;
    TSkinButton BtnStartNext;
    TMemo MemoStart;

    TTabSheet tsInputPath;
    TPanel PnlInputPathButtons;
    TSkinButton BtnCancel2;
    TSkinButton BtnInputPathNext;
    TMemo MemoInputPath;
    TPanel PnlPath;
    TSkinButton BtnSelectPath;
    TEdit ePath;

    TTabSheet tsInputComponents;
    TPanel PnlInputComponentsButtons;
    TSkinButton BtnCancel4;
    TSkinButton BtnInsatall;
    TSkinButton BtnInputComponentsBack;
    TPanel PnlOptions;
    TComboBox CBWindows;
    TCheckBox CbDriverInstal;
    TMemo MemoInputComponents;

    TTabSheet tsProgressInstall;
    TPanel PnlProgressButtons;
    TSkinButton BtnExit;
    TListBox LogList;

    TTabSheet tsCancel;
    TMemo MemoCancel;
    TPanel PnlCancelButtons;
    TSkinButton BtnExitCancel;

    TTabSheet tsChangeFontSize;
    TPanel PnlChangeFontButtons;
    TSkinButton BtnExitOnChangefont;
    TSkinButton BtnChangeFont;
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
    void BGResize();

    // The choices of the pages, as the run reads them.
    TRunChoices RunChoices() const;
    // The run's and the removal's view of the window.
    TMainRunHost& RunHost() { return FRunHost; }

    // Makes the controls of the next page still without them (see CreatePages).
    bool Idle() override;

    // Choices given on the command line; each is applied as its page is made.
    struct TPresets {
        std::optional<std::wstring> Path;
        std::optional<bool> Driver;
    };
    void Preset(TPresets presets);
    // The progress page alone, for a run or a removal nobody attends: the window cannot be
    // closed meanwhile.
    void ShowUnattended();
    // The progress page alone, captioned for a removal.
    void ShowRemovalPage(bool unattended);
    // The progress page alone with another caption (a check, a repair).
    void ShowLogPage(const std::wstring& caption, bool unattended);
    // How the latest run behind "Начать установку" ended; none before the first.
    std::optional<TRunResult> LastRunResult() const { return FRunResult; }
    bool Cancelled() const;

private:
    void LoadSkin();
    void LoadInfo();
    void ColorPanels();
    void LoadGlyphs();
    void CreatePages();
    static void SetPageKeys(TTabSheet& page, TButton& enter, TButton& escape, TControl& focus);
    void CreateStartPage();
    void CreateInputPathPage();
    void CreateInputComponentsPage();
    void CreateProgressPage();
    void CreateCancelPage();
    void CreateChangeFontSizePage();
    bool EnoughSpace();

    HINSTANCE FStrings;
    bool FCanClose = false;
    std::optional<TBusyCursor> FBusy;
    std::wstring Fcopyfrom;
    std::wstring FDistributionFolder = ExecutableFolder();
    TPresets FPresets;
    bool FUnattended = false;
    TMainRunHost FRunHost{*this};
    std::optional<TRunResult> FRunResult;
};
