#pragma once
#include <string>

// A target named on the command line may lie several missing folders deep: all of them are
// made, each named in the log file, then the settings folder (one level, as the path page
// makes it). A level of the target that cannot be made takes back the levels made before it,
// so that a refused target leaves nothing behind.
// target is canonical and ends in "\". True when the target exists afterwards.
bool CreateTargetLevels(const std::wstring& target);
