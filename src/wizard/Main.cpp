#include "wizard/Main.h"

#include "common/AppStrings.h"
#include "install/InstallRun.h"
#include "install/SpaceCheck.h"
#include "ui/MessageDlg.h"
#include "wizard/LargeFonts.h"
#include "wizard/Brand.h"

namespace {
const int kClientWidth = 954;
const int kClientHeight = 579;
} // namespace

TFMain::TFMain(HINSTANCE strings) : FStrings(strings) {
    CreateForm(L"TFMain", L"Установка комплекса",
               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0,
               kClientWidth, kClientHeight);
    SetFont(MakeFont(L"MS Sans Serif", 13));
    CenterOnScreen();
    CreatePages();
    OnCloseQuery = [this] { return FormCloseQuery(); };
    FormCreate();
    BG.OnResize = Bind(this, &TFMain::BGResize);
    BGResize(); // the first layout, now that the images are there
}

void TFMain::FormCreate() {
    LoadSkin();
    IsLovenaBrand = IsLovenaName(ProductName(FStrings));
    LoadInfo();
    AppNameStr = AppFolderName(FStrings); // the path field starts with it
    FCanClose = true;
    InsatallPages.SetActivePage(tsStart);
    // The exit button is made disabled, with its page.
    ColorPanels();
}

bool TFMain::Idle() {
    return InsatallPages.CreatePendingPage();
}

bool TFMain::FormCloseQuery() {
    return FCanClose && !FSilent;
}

void TFMain::BtnExitClick() {
    Close();
}

void TFMain::BtnInsatallClick() {
    if (!EnoughSpace()) {
        return;
    }
    // A run that raises stays recorded as stopped.
    FRunResult = TRunResult::rrStopped;
    FRunResult = TInstallRun(*this, FDistributionFolder).Execute();
}

bool TFMain::EnoughSpace() {
    const std::wstring shortage =
        FreeSpaceShortage(FDistributionFolder, TrimBlanks(ePath.Text()),
                          {CBWindows.ItemIndex() == 0, CbDriverInstal.Checked()});
    if (shortage.empty()) {
        return true;
    }
    ShowErrorBox(Handle(), shortage);
    return false;
}

void TFMain::Preset(TPresets presets) {
    FPresets = std::move(presets);
}

TRunResult TFMain::InstallUnattended(bool installDriver) {
    FSilent.emplace(installDriver);
    InsatallPages.SetActivePage(tsProgressInstall);
    Show();
    return TInstallRun(*this, FDistributionFolder).Execute();
}

void TFMain::ShowRemovalPage(bool unattended) {
    if (unattended) {
        FSilent.emplace(false);
    }
    SetCaption(L"Удаление комплекса");
    InsatallPages.SetActivePage(tsProgressInstall);
    Show();
}

bool TFMain::Cancelled() const {
    return InsatallPages.ActivePage() == &tsCancel;
}

void TFMain::BtnChangeFontClick() {
    ChangeFontSizeAndAskRestart(Handle(), [this] { Close(); });
}

TTabSheet& TFMain::Sheet(TWizardPage page) {
    switch (page) {
    case TWizardPage::tsStart:
        return tsStart;
    case TWizardPage::tsInputPath:
        return tsInputPath;
    case TWizardPage::tsInputComponents:
        return tsInputComponents;
    case TWizardPage::tsProgressInstall:
        return tsProgressInstall;
    case TWizardPage::tsCancel:
        return tsCancel;
    case TWizardPage::tsChangeFontSize:
        return tsChangeFontSize;
    }
    return tsStart;
}
