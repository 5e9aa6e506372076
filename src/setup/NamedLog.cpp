#include "setup/NamedLog.h"

#include "common/CanonicalPath.h"
#include "common/Handles.h"
#include "common/Paths.h"
#include "common/SetupLog.h"
#include "common/StartFolder.h"
#include "common/Utf8.h"
#include "install/InstallPlan.h"

#include <cwctype>
#include <vector>

namespace {

// The full path, a relative name taken from the caller's folder, not from ours.
std::wstring FullLogPath(const std::wstring& named) {
    std::vector<wchar_t> current(GetCurrentDirectoryW(0, nullptr) + 1);
    GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data());
    if (!StartFolder().empty()) {
        SetCurrentDirectoryW(StartFolder().c_str());
    }
    std::vector<wchar_t> full(GetFullPathNameW(named.c_str(), 0, nullptr, nullptr) + 1);
    const DWORD length =
        GetFullPathNameW(named.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    SetCurrentDirectoryW(current.data());
    return length > 0 && length < full.size() ? std::wstring(full.data(), length) : named;
}

// "<BOM>2026-12-10 14:35:12.345  Установка комплекса "...": начало ..." or the removal's, the
// check's or the repair's.
bool IsOurLog(HANDLE file) {
    std::string bytes(1024, '\0');
    DWORD read = 0;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return false;
    }
    bytes.resize(read);
    const std::string stamp = "0000-00-00 00:00:00.000  ";
    if (!bytes.starts_with("\xEF\xBB\xBF") || bytes.size() < 3 + stamp.size()) {
        return false;
    }
    for (size_t i = 0; i < stamp.size(); ++i) {
        const char c = bytes[3 + i];
        if (stamp[i] == '0' ? c < '0' || c > '9' : c != stamp[i]) {
            return false;
        }
    }
    const size_t start = 3 + stamp.size();
    std::wstring line;
    if (!FromUtf8(bytes.substr(start, bytes.find("\r\n", start) - start), line)) {
        return false;
    }
    return (line.starts_with(L"Установка комплекса \"") ||
            line.starts_with(L"Удаление комплекса \"") ||
            line.starts_with(L"Проверка комплекса \"") ||
            line.starts_with(L"Восстановление комплекса \"")) &&
           line.find(L"\": начало ") != std::wstring::npos;
}

// Whether a path lies in one of the target's folders that are the clinic's, by its text or by
// its real place.
bool InClinicFolder(const std::wstring& path, const std::wstring& real,
                    const std::wstring& target) {
    for (const TPlanRow& row : InstallPlan()) {
        if (!row.Kept) {
            continue;
        }
        const std::wstring folder =
            CanonicalFolder(IncludeTrailingPathDelimiter(target) + row.Target);
        const std::wstring realFolder = RealFolder(folder);
        for (const std::wstring& place : {folder, realFolder}) {
            if (IsBelow(path, place) || (!real.empty() && IsBelow(real, place))) {
                return true;
            }
        }
    }
    return false;
}

// Why the file may not be the log; empty when it may. A file made just now for nothing goes.
std::wstring Refusal(TUniqueFile& file, bool existed, const std::wstring& path,
                     const std::wstring& target) {
    std::wstring why;
    if (InClinicFolder(path, RealPath(file.get()), target)) {
        why = L"это папка базы данных или настроек комплекса";
    } else if (existed && !IsOurLog(file.get())) {
        why = L"файл уже есть, и это не журнал программы установки";
    }
    if (!why.empty() && !existed) {
        FILE_DISPOSITION_INFO disposition{TRUE};
        SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition,
                                   sizeof disposition);
    }
    return why;
}

} // namespace

std::wstring OpenRunLog(const std::optional<std::wstring>& named, const std::wstring& target,
                        const std::wstring& prefix) {
    if (!named) {
        SetupLog().Open(L"", prefix);
        return {};
    }
    const std::wstring path = FullLogPath(*named);
    // Read and written through one handle: what is judged is what is emptied.
    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                 FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    std::wstring why;
    if (!file) {
        // A log that cannot be written changes nothing else; a folder is no log.
        if (!DirectoryExists(ExcludeTrailingPathDelimiter(path))) {
            return {};
        }
        why = L"это папка";
    } else {
        why = Refusal(file, existed, path, target);
    }
    if (!why.empty()) {
        file.reset();
        SetupLog().Open(L"", prefix);
        return L"/LOG=" + *named + L": " + why;
    }
    LARGE_INTEGER start{};
    SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN);
    SetEndOfFile(file.get());
    SetupLog().Adopt(std::move(file), path);
    return {};
}
