#pragma once
#include <windows.h>

#include <string>

// The uninstaller in the installation folder hands its work to a copy of itself and waits;
// whoever started it (Programs and Features, a deployment system) waits for it. So the copy
// ends it with the result as its very last act: after the removal's log is closed and its
// lock released, so that an installation started the moment the result is known finds
// nothing held. The uninstaller's file cannot be deleted while it runs, but it can be renamed:
// it is moved aside first under a name no installation writes, and only that name is deleted
// afterwards (or at the next restart), never a later installation's Uninstall.exe.

// In the copy, after a complete removal: takes hold of the uninstaller that started it (only
// if it runs target's Uninstall.exe) and moves its file aside, both in the log. False when no
// such uninstaller runs.
// Called again, it keeps hold and moves aside an uninstaller file that is there again.
bool PrepareHandOver(DWORD parentId, const std::wstring& target);

// The installation folder's last-write time as it is now is the one it is given back once the
// renamed files are deleted (after an undo has put it back as it was).
void KeepHandOverFolderTime();

// The program's last act: ends the uninstaller taken hold of with exitCode, waits for it to
// go and deletes its file. Nothing when none was taken.
void CompleteHandOver(DWORD exitCode);
