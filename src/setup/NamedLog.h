#pragma once
#include <optional>
#include <string>

// Opens the run's log file: the file /LOG names, else a new one in the temporary folder
// (TSetupLog::Open). A named file is never destroyed. One that exists is replaced only when
// it is a log file of this program, judged by its first line through the very handle that
// then empties it; any other file, a folder, and a place in the target's database or settings
// folder (its real place counts, links followed) are refused. A relative name is relative to
// the folder the caller started the program in.
// Returns why the named file was refused ("/LOG=...: <why>"), after opening the default log
// file instead, where the refusal can be read; empty when it was not refused.
std::wstring OpenRunLog(const std::optional<std::wstring>& named, const std::wstring& target,
                        const std::wstring& prefix);
