#pragma once
#include <string>

// The suite's desktop shortcut to its main program in target (ending in "\"), named and
// described from the running program's string table. Gives the link file's path, which exists
// only when the shortcut was written. COM must be initialised on this thread.
std::wstring CreateSuiteShortcut(const std::wstring& target);

// Where that shortcut's link file is, whether it exists or not.
std::wstring SuiteShortcutFile(const std::wstring& target);
