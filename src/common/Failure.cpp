#include "common/Failure.h"

#include "common/Errors.h"
#include "common/SetupLog.h"
#include "common/Utf8.h"

namespace {

// The source file from "src/" on: the build folder is nobody's business.
std::wstring Place(const std::source_location& where) {
    std::string file = where.file_name();
    const size_t src = file.rfind("src/");
    if (src != std::string::npos) {
        file.erase(0, src);
    }
    return Widen(file.c_str()) + L":" + std::to_wstring(where.line());
}

} // namespace

TFailure Failure(std::wstring step, std::wstring path, DWORD code, std::source_location where) {
    return {std::move(step), std::move(path), code, where};
}

std::wstring FailureText(const TFailure& failure) {
    std::wstring text = failure.Step;
    if (!failure.Path.empty()) {
        text += L": " + failure.Path;
    }
    if (failure.Code != 0) {
        text += L": " + SysErrorMessage(failure.Code);
    }
    return text;
}

bool LogFailure(const TFailure& failure) noexcept {
    try {
        LogLine(L"Сбой: " + FailureText(failure) + L" (" + Place(failure.Where) + L")");
    } catch (...) {
        // Out of memory while logging: the caller still learns of the failure.
    }
    return false;
}

void RaiseFailure(const TFailure& failure, const std::wstring& message) {
    LogFailure(failure);
    throw EError(message);
}
