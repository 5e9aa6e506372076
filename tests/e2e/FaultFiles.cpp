#include "FaultFiles.h"

#include <shellapi.h>

#include <cstdlib>
#include <vector>

#include "Files.h"
#include "Report.h"

namespace e2e {

std::string ReadBytes(const std::wstring& path) {
    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    if (!file) {
        return bytes;
    }
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    return bytes;
}

void WriteUtf8(const std::wstring& path, const std::wstring& text) {
    WriteBytes(path, ToUtf8(text));
}

void DeleteTree(const std::wstring& folder) {
    const std::wstring from = folder + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

std::string UnixPath(const std::wstring& path) {
    using TUnixName = char*(CDECL*)(LPCWSTR);
    auto name = reinterpret_cast<TUnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = name ? name(path.c_str()) : nullptr;
    if (unix == nullptr) {
        Fail(L"no Linux path for " + path + L" (not running on Wine?)");
    }
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

namespace {

// Wine cannot start a Linux program: the suite's wrapper runs chattr or ln for us on request.
bool Request(const std::string& lines) {
    static int counter = 0;
    const std::wstring base = L"C:\\fault-requests\\" + std::to_wstring(++counter);
    const std::wstring part = base + L".part";
    CreateDirectoryW(L"C:\\fault-requests", nullptr);
    WriteBytes(part, lines);
    MoveFileW(part.c_str(), (base + L".req").c_str());
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (GetTickCount64() < deadline) {
        const std::string done = ReadBytes(base + L".done");
        if (!done.empty()) {
            DeleteFileW((base + L".done").c_str());
            return done[0] == '0';
        }
        Sleep(20);
    }
    return false;
}

bool Chattr(const std::string& flag, const std::wstring& path) {
    return Request(flag + "\n" + UnixPath(path) + "\n");
}

} // namespace

void MakeLinuxLink(const std::wstring& link, const std::wstring& target) {
    // The link's own path cannot be asked of Wine before it exists: its folder's can.
    const size_t slash = link.find_last_of(L'\\');
    const std::string unixLink =
        UnixPath(link.substr(0, slash)) + "/" + ToUtf8(link.substr(slash + 1));
    if (!Request("symlink\n" + unixLink + "\n" + UnixPath(target) + "\n")) {
        Fail(L"ln -s failed for " + link + L" (is the suite run through scripts/fault-suite?)");
    }
}

TImmutable::TImmutable(std::wstring path) : FPath(std::move(path)) {
    if (!Chattr("+i", FPath)) {
        Fail(L"chattr +i failed on " + FPath + L" (is the suite run through scripts/fault-suite?)");
    }
}

TImmutable::~TImmutable() {
    try {
        Chattr("-i", FPath);
    } catch (...) {
        // The suite's wrapper clears every such flag before it removes the prefix.
    }
}

TUniqueFile HoldExclusive(const std::wstring& path) {
    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    if (!file) {
        Fail(L"could not open " + path + L" without sharing");
    }
    return file;
}

TDiskFiller::TDiskFiller(const std::wstring& folder, ULONGLONG room)
    : FPath(folder + L"\\filler.bin") {
    TUniqueFile file(CreateFileW(FPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        Fail(L"could not create " + FPath);
    }
    ULARGE_INTEGER free{};
    if (!GetDiskFreeSpaceExW(folder.c_str(), &free, nullptr, nullptr)) {
        Fail(L"no free space figure for " + folder);
    }
    // Page by page, so that the file ends where the file system's own blocks end.
    const std::vector<char> page(4096, 'F');
    ULONGLONG toWrite = free.QuadPart > room ? free.QuadPart - room : 0;
    DWORD written = 0;
    while (toWrite >= page.size() &&
           WriteFile(file.get(), page.data(), static_cast<DWORD>(page.size()), &written, nullptr) &&
           written == page.size()) {
        toWrite -= page.size();
    }
}

TDiskFiller::~TDiskFiller() {
    DeleteFileW(FPath.c_str());
}

// The drive letter of the small file system, from the wrapper (scripts/fault-suite).
std::wstring SmallDrive() {
    const wchar_t* drive = _wgetenv(L"E2E_SMALL_DRIVE");
    if (drive == nullptr || *drive == L'\0') {
        Fail(L"no small drive: E2E_SMALL_DRIVE is not set (run the suite through "
             L"scripts/fault-suite, as root)");
    }
    return drive;
}

} // namespace e2e
