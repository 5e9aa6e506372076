// The installation run's view of the main window.
#include "wizard/Main.h"

#include "ui/Application.h"
#include "ui/MessageDlg.h"
#include "wizard/Brand.h"

HWND TFMain::Window() const {
    return Handle();
}

std::wstring TFMain::PathText() const {
    return ePath.Text();
}

int TFMain::WindowsIndex() const {
    return CBWindows.ItemIndex();
}

bool TFMain::DriverChecked() const {
    return CbDriverInstal.Checked();
}

bool TFMain::LovenaBrand() const {
    return IsLovenaBrand;
}

void TFMain::SetCopyFrom(const std::wstring& folder) {
    Fcopyfrom = folder;
}

std::wstring TFMain::CopyFrom() const {
    return Fcopyfrom;
}

void TFMain::SelectPage(TWizardPage page) {
    InsatallPages.SetActivePage(Sheet(page));
}

void TFMain::ShowEmptyLog() {
    LogList.Clear();
    LogList.SetVisible(true);
}

int TFMain::LogAdd(const std::wstring& line) {
    return LogList.Add(line);
}

void TFMain::LogReplace(int index, const std::wstring& line) {
    LogList.Replace(index, line);
}

void TFMain::LogRepaint() {
    UpdateWindow(LogList.Handle());
}

void TFMain::SetCanClose(bool canClose) {
    FCanClose = canClose;
}

void TFMain::EnableExit() {
    BtnExit.SetEnabled(true);
    if (InsatallPages.ActivePage() == &tsProgressInstall && GetActiveWindow() == Handle()) {
        BtnExit.SetFocus();
    }
}

void TFMain::CloseWindow() {
    // Unattended, the program ends when the run returns.
    if (!FSilent) {
        Close();
    }
}

void TFMain::ProcessMessages() {
    Application.ProcessMessages();
}

void TFMain::SetBusyCursor(bool busy) {
    if (busy) {
        FBusy.emplace();
    } else {
        FBusy.reset();
    }
}

void TFMain::ShowError(const std::wstring& text) {
    if (FSilent) {
        FSilent->ShowError(text);
    } else {
        ShowErrorBox(Handle(), text);
    }
}

bool TFMain::Ask(TQuestion question, const std::wstring& text) {
    return FSilent ? FSilent->Ask(question, text) : AskConfirmation(Handle(), text);
}

bool TFMain::Unattended() const {
    return FSilent.has_value();
}
