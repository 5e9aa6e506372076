#pragma once
#include "common/Handles.h"

#include <windows.h>

#include <string>

// What steers an administrator's later run (the rollback's journal and what it keeps aside)
// lies in the installation folder, where users may write. It is made so that only the system,
// the administrators and the user who runs setup may change it, owned by the administrators
// where the process may name them, and trusted only as long as that holds.

// Makes the folder as CreateDirectoryW does (failing on anything under its name).
bool CreateAdminOnlyFolder(const std::wstring& folder);
// Makes a new file (CREATE_NEW).
TUniqueFile CreateAdminOnlyFile(const std::wstring& path, DWORD access, DWORD share, DWORD flags);
// Empty when the open file's owner and everyone who may change it are the system, the
// administrators or this process's user; else who else, for the log.
std::wstring ChangeableByOthers(HANDLE file);
