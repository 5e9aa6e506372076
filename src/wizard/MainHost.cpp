// The installation run's view of the main window.
#include "wizard/Main.h"

#include "ui/Application.h"
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
    Close();
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
