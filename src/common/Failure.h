#pragma once
#include <windows.h>

#include <source_location>
#include <string>

// The one way a failed step is reported: what was being done, to what, the system's reason
// and the place in our code go to the log file as one line; then the caller returns or raises
// as its own contract says. Nothing fails without that line.
struct TFailure {
    std::wstring Step; // what was being done
    std::wstring Path; // to what; may be empty
    DWORD Code = 0;    // the system's error code; 0 when there is none
    std::source_location Where;
};

// The failure of a step just now: Code defaults to the thread's last error, so make it the
// first thing after the failed call.
TFailure Failure(std::wstring step, std::wstring path = {}, DWORD code = GetLastError(),
                 std::source_location where = std::source_location::current());

// "<step>: <path>: <reason>" (parts that are empty left out).
std::wstring FailureText(const TFailure& failure);

// Writes the failure's line to the log file and returns false: for callers that report by a
// result.
bool LogFailure(const TFailure& failure) noexcept;

// Writes the failure's line, then raises EError with `message` (what the user reads).
[[noreturn]] void RaiseFailure(const TFailure& failure, const std::wstring& message);
