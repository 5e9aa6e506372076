#include "common/SetupLog.h"

#include "common/Paths.h"
#include "common/Utf8.h"

#include <cstdio>

namespace {

std::wstring TwoDigits(int value) {
    wchar_t text[8];
    swprintf(text, 8, L"%02d", value);
    return text;
}

std::wstring Stamp(const SYSTEMTIME& t) {
    wchar_t text[32];
    swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour,
             t.wMinute, t.wSecond, t.wMilliseconds);
    return text;
}

HANDLE CreateLogFile(const std::wstring& path, DWORD disposition) {
    // Readers may look while the run goes on; nobody else may write into it.
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

void TSetupLog::Open(const std::wstring& path, const std::wstring& prefix) {
    Close();
    if (!path.empty()) {
        FFile.reset(CreateLogFile(path, CREATE_ALWAYS));
        FPath = path;
    } else {
        SYSTEMTIME now;
        GetLocalTime(&now);
        const std::wstring base = TempFolder() + prefix + L"-" + std::to_wstring(now.wYear) +
                                  TwoDigits(now.wMonth) + TwoDigits(now.wDay) + L"-" +
                                  TwoDigits(now.wHour) + TwoDigits(now.wMinute) +
                                  TwoDigits(now.wSecond);
        // Two runs started within one second must not share (or replace) one file.
        for (int n = 1; n < 100 && !FFile; ++n) {
            FPath = base + (n == 1 ? L"" : L"-" + std::to_wstring(n)) + L".log";
            FFile.reset(CreateLogFile(FPath, CREATE_NEW));
            if (!FFile && GetLastError() != ERROR_FILE_EXISTS) {
                break;
            }
        }
    }
    if (!FFile) {
        FPath.clear();
        return;
    }
    wchar_t full[MAX_PATH * 2] = {};
    if (GetFullPathNameW(FPath.c_str(), MAX_PATH * 2, full, nullptr) > 0) {
        FPath = full;
    }
    DWORD written = 0;
    WriteFile(FFile.get(), "\xEF\xBB\xBF", 3, &written, nullptr);
}

void TSetupLog::Adopt(TUniqueFile file, const std::wstring& path) {
    Close();
    FFile = std::move(file);
    FPath = path;
    DWORD written = 0;
    WriteFile(FFile.get(), "\xEF\xBB\xBF", 3, &written, nullptr);
}

void TSetupLog::Close() noexcept {
    FFile.reset();
    FPath.clear();
}

void TSetupLog::Write(const std::wstring& text) noexcept {
    if (!FFile) {
        return;
    }
    try {
        size_t start = 0;
        // A line break at the very end ends the last line; it opens no empty one.
        while (start < text.size() || start == 0) {
            size_t end = text.find_first_of(L"\r\n", start);
            if (end == std::wstring::npos) {
                end = text.size();
            }
            WriteOne(text.substr(start, end - start));
            // A CR LF pair is one line break.
            start = end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
        }
    } catch (...) {
        // Out of memory while logging: the line is lost, the run is not.
    }
}

void TSetupLog::WriteOne(const std::wstring& line) noexcept {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string bytes = ToUtf8(Stamp(now) + L"  " + line + L"\r\n");
    DWORD written = 0;
    // Straight to the system, no buffer of ours: a killed process loses nothing written.
    WriteFile(FFile.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

TSetupLog& SetupLog() {
    static TSetupLog log;
    return log;
}
