#pragma once
#include <windows.h>

#include <string>

// Paths as Windows will use them. A folder is judged, compared and stored only in this form,
// so that two spellings of one folder are one folder.

// The folder's full path with one trailing "\": made absolute against the current folder,
// "/" read as "\", doubled delimiters, "." and ".." resolved, trailing dots and blanks dropped
// from every part, a leading "\\?\" accepted. Empty when it names no folder on a drive or a
// share: a device (NUL, COM1), a stream (":"), a part that is nothing but dots and blanks.
std::wstring CanonicalFolder(const std::wstring& path);

// The same for a file: no trailing delimiter.
std::wstring CanonicalFile(const std::wstring& path);

// Whether a canonical folder is the root of its drive or share.
bool IsRootFolder(const std::wstring& canonical);

// Whether a canonical folder is the Windows folder or a system folder (System32, and the
// folders a 32-bit program on 64-bit Windows knows as SysWOW64 and Sysnative).
bool IsSystemFolder(const std::wstring& canonical);

// Whether a name can stand as one part of a path as it is written: not empty, no "." or ".."
// alone, no trailing dot or blank, none of the characters Windows refuses in names (a ":"
// would name a stream), and no device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$,
// CONOUT$), with or without an extension.
bool IsPlainName(const std::wstring& name);

// Whether path lies below folder (folder ending in "\"), ignoring case; the folder itself is
// not below itself.
bool IsBelow(const std::wstring& path, const std::wstring& folder);

// Where an open file or folder really is, links followed, as "C:\..." or "\\server\share\...";
// empty when Windows cannot say.
std::wstring RealPath(HANDLE handle);

// The real place of a folder that exists (with a trailing "\"): opened and asked, so that a
// link on the way counts. Empty when it cannot be opened.
std::wstring RealFolder(const std::wstring& folder);
