#pragma once
#include "install/RunProgress.h"
#include "install/InstallLog.h"
#include "install/InstallRecord.h"
#include "uninstall/InstallFolder.h"

#include <set>
#include <string>

// Removes what the record says the runs installed in a target folder, and nothing the clinic
// owns: the database folder and the settings folder stay whole, files the record does not
// list stay, and so does a listed file changed since it was installed or one that was there
// before and that the runs only edited. Nothing is deleted through a link. Fonts and the
// device driver stay installed: other programs may use them.
class TRemoval {
public:
    // target ends in "\"; record is what was read from it.
    TRemoval(TRunProgress& progress, std::wstring target, TRecordSet record);

    // True when everything listed was removed; otherwise the log names what was not, and the
    // record, the uninstaller and the entry in the list of programs stay, so that the removal
    // can be run again.
    bool Execute();
    // After a complete removal, the uninstaller's own file; whoever runs from it must be gone
    // by then. One that is still held goes at the next restart.
    void RemoveUninstaller();

private:
    void RemoveFile(const TRecordEntry& entry);
    void RemoveShortcut(const TRecordEntry& entry);
    bool DeleteOne(const std::wstring& shown, const std::wstring& path, bool shortcut);
    bool DeleteFromFolder(const std::wstring& shown, const TFolderItem& item, bool clearReadOnly);
    void KeepLink(const std::wstring& link);
    void RemoveBookkeeping();
    void DeleteOwnFile(const wchar_t* name);
    void RemoveEmptyFolders();
    void NoteFoldersOf(const std::wstring& relative);

    TRunProgress& FProgress;
    TInstallLog FLog;
    std::wstring FTarget;
    TInstallFolder FFolder; // where everything is deleted, through a handle each
    TRecordSet FRecord;
    TRecordSet FLeft;                         // what stays listed
    std::set<std::wstring> FFolders;          // relative folders to remove once empty
    std::set<std::wstring, TPathLess> FLinks; // links met, each named once
    bool FComplete = true;
};
