#pragma once
#include <windows.h>

#include <exception>
#include <string>

// The program's general error. Its message is what the user reads, so it is UTF-16.
class EError : public std::exception {
public:
    explicit EError(std::wstring message) : FMessage(std::move(message)) {}
    const std::wstring& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return "EError"; }

private:
    std::wstring FMessage;
};

// Raised by checked conversions to a narrower or unsigned type.
class ERangeError : public EError {
public:
    ERangeError() : EError(L"Range check error") {}
};

// Raised by checked integer arithmetic.
class EOverflowError : public EError {
public:
    EOverflowError() : EError(L"Arithmetic overflow") {}
};

// The system's own description of an error code, without the trailing line break.
std::wstring SysErrorMessage(DWORD code);

// Raises EError with "context: <system description of GetLastError()>".
[[noreturn]] void RaiseLastOSError(const std::wstring& context);

// Raises EError carrying the system's description of a failed COM call.
void CheckHResult(HRESULT hr);
