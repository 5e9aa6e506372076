// The buttons that walk the pages and check the target folder.
#include "wizard/Main.h"

#include "common/Handles.h"
#include "ui/MessageDlg.h"
#include "windows/MessageForm.h"
#include "install/TargetFolder.h"

#include <shlobj.h>

void TFMain::BtnStartNextClick() {
    InsatallPages.SetActivePage(tsInputPath);
    ePath.SetFocus();
}

void TFMain::BtnSelectPathClick() {
    BROWSEINFOW info{};
    info.hwndOwner = Handle();
    info.lpszTitle = L"Выберете путь для установки программ";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    static_assert((BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON) == 0x241);
    TUniqueCoMem items(SHBrowseForFolderW(&info));
    if (!items) {
        return;
    }
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(items.get()), path)) {
        ePath.SetText(path);
    }
}

void TFMain::BtnInputPathNextClick() {
    const TTargetCheck target = CheckTarget(ePath.Text());
    if (target.Verdict == TTargetCheck::tcEmpty) {
        ShowErrorBox(Handle(), target.Refusal);
        ePath.SetFocus();
        return;
    }
    // Rewritten only when the check changed it, so that the field keeps its state otherwise.
    if (ePath.Text() != target.Path) {
        ePath.SetText(target.Path);
    }
    if (target.Verdict != TTargetCheck::tcAccepted) {
        if (target.Verdict == TTargetCheck::tcUnusable) {
            ShowErrorBox(Handle(), target.Refusal);
        } else {
            ShowWarningBox(Handle(), target.Refusal);
        }
        ePath.SetFocus();
        return;
    }
    CreateTargetFolders(target.Path);
    InsatallPages.SetActivePage(tsInputComponents);
}

void TFMain::tsInputComponentsShow() {
    ShowTimedMessage(L"Внимание!\r Если на вашем компьютере уже установлен комплекс "
                     L"\"Сонтира\",\r снимите галочку установки драйвера!",
                     mtMessage, L"", 0);
}

void TFMain::BtnInputComponentsBackClick() {
    InsatallPages.SetActivePage(tsInputPath);
}

void TFMain::BtnCancelClick() {
    if (AskConfirmation(Handle(), L"Вы уверены, что хотите отменить процесс установки?")) {
        FCanClose = true;
        InsatallPages.SetActivePage(tsCancel);
    }
}
