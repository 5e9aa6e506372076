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
    return FCanClose && !FUnattended;
}

void TFMain::SetBusyCursor(bool busy) {
    if (busy) {
        FBusy.emplace();
    } else {
        FBusy.reset();
    }
}

TRunChoices TFMain::RunChoices() const {
    TRunChoices choices;
    choices.Target = TrimBlanks(ePath.Text());
    choices.ListA = CBWindows.ItemIndex() == 0;
    choices.InstallDriver = CbDriverInstal.Checked();
    choices.LovenaBrand = IsLovenaBrand;
    choices.Unattended = FUnattended;
    return choices;
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
    Fcopyfrom = FDistributionFolder;
    FRunResult = TInstallRun(RunChoices(), Fcopyfrom, FRunHost, FRunHost).Execute();
}

bool TFMain::EnoughSpace() {
    const TRunChoices choices = RunChoices();
    const std::wstring shortage =
        FreeSpaceShortage(FDistributionFolder, choices.Target, choices.Plan());
    if (shortage.empty()) {
        return true;
    }
    ShowErrorBox(Handle(), shortage);
    return false;
}

void TFMain::Preset(TPresets presets) {
    FPresets = std::move(presets);
}

void TFMain::ShowUnattended() {
    FUnattended = true;
    InsatallPages.SetActivePage(tsProgressInstall);
    Show();
}

void TFMain::ShowRemovalPage(bool unattended) {
    ShowLogPage(L"Удаление комплекса", unattended);
}

void TFMain::ShowLogPage(const std::wstring& caption, bool unattended) {
    SetCaption(caption);
    if (unattended) {
        ShowUnattended();
        return;
    }
    InsatallPages.SetActivePage(tsProgressInstall);
    Show();
}

bool TFMain::Cancelled() const {
    return InsatallPages.ActivePage() == &tsCancel;
}

void TFMain::BtnChangeFontClick() {
    ChangeFontSizeAndAskRestart(Handle(), [this] { Close(); });
}
