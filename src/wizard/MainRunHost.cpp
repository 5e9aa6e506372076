#include "wizard/MainRunHost.h"

#include "ui/Application.h"
#include "ui/MessageDlg.h"
#include "wizard/Main.h"

void TMainRunHost::ShowProgressPage() {
    FForm.LogList.Clear();
    FForm.LogList.SetVisible(true);
    FForm.InsatallPages.SetActivePage(FForm.tsProgressInstall);
}

int TMainRunHost::LogAdd(const std::wstring& line) {
    return FForm.LogList.Add(line);
}

void TMainRunHost::LogReplace(int index, const std::wstring& line) {
    FForm.LogList.Replace(index, line);
}

void TMainRunHost::LogRepaint() {
    UpdateWindow(FForm.LogList.Handle());
}

void TMainRunHost::ProcessMessages() {
    Application.ProcessMessages();
}

void TMainRunHost::SetCanClose(bool canClose) {
    FForm.SetCanClose(canClose);
}

void TMainRunHost::SetBusyCursor(bool busy) {
    FForm.SetBusyCursor(busy);
}

void TMainRunHost::EnableExit() {
    FForm.BtnExit.SetEnabled(true);
    if (FForm.InsatallPages.ActivePage() == &FForm.tsProgressInstall &&
        GetActiveWindow() == FForm.Handle()) {
        FForm.BtnExit.SetFocus();
    }
}

void TMainRunHost::ShowFontSizePage() {
    FForm.InsatallPages.SetActivePage(FForm.tsChangeFontSize);
}

void TMainRunHost::CloseWindow() {
    // Unattended, the program ends when the run returns.
    if (!FForm.Unattended()) {
        FForm.Close();
    }
}

void TMainRunHost::ShowError(const std::wstring& text) {
    ShowErrorBox(FForm.Handle(), text);
}

bool TMainRunHost::Ask(TQuestion, const std::wstring& text) {
    return AskConfirmation(FForm.Handle(), text);
}

void TMainRunHost::ReportError() noexcept {
    Application.HandleException();
}
