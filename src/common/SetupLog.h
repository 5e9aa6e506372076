#pragma once
#include "common/Handles.h"

#include <string>

// The log file of one run of the program, for whoever reads it afterwards: UTF-8 with a
// byte-order mark, CRLF line ends, a time stamp on every line. Each line goes to the file as
// it is written, so a run that is killed leaves its log up to its last step. A log that
// cannot be opened or written changes nothing else: its lines are then dropped.
class TSetupLog {
public:
    // `path` names the file, which is replaced; empty means a new file in the temporary
    // folder, named by `prefix` and the local time ("<prefix>-YYYYMMDD-HHMMSS.log").
    void Open(const std::wstring& path, const std::wstring& prefix);
    // Takes a file opened (and emptied) elsewhere, at its full path.
    void Adopt(TUniqueFile file, const std::wstring& path);
    void Close() noexcept;
    bool IsOpen() const noexcept { return static_cast<bool>(FFile); }
    // The file's full path; empty while none is open.
    const std::wstring& Path() const noexcept { return FPath; }
    // One line per line of `text`, each with its own time stamp.
    void Write(const std::wstring& text) noexcept;

private:
    void WriteOne(const std::wstring& line) noexcept;

    TUniqueFile FFile;
    std::wstring FPath;
};

// The process's log file: the rooms that only report to it (message boxes, the error
// report, the run) write through here; nothing is written until the program opens it.
TSetupLog& SetupLog();
inline void LogLine(const std::wstring& text) noexcept {
    SetupLog().Write(text);
}
