#pragma once
#include <string>

// Copies a folder with everything in it through the shell, which shows its own progress,
// questions and errors. A missing target becomes the copy; an existing one receives the
// folder under its own name. True when the shell reports success and that nothing was
// cancelled or skipped on the way. Silent, the shell shows nothing and asks nothing: existing
// files are replaced.
bool ShellCopyFolder(const std::wstring& source, const std::wstring& target, bool silent = false);
