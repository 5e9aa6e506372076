#include "uninstall/InstallFolder.h"

#include "common/CanonicalPath.h"
#include "common/Errors.h"
#include "common/Failure.h"
#include "common/Paths.h"

#include <vector>

namespace {

// Opened where it stands, a link as the link (Windows; Wine follows it, which the real place
// then shows). Others may read it meanwhile, not change, move or delete it.
HANDLE OpenItem(const std::wstring& path, DWORD access, DWORD share) {
    return CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// A junction or a symbolic link, not a file that merely carries a reparse point of another
// kind (deduplicated, or stored in a cloud).
bool IsLinkItself(HANDLE handle) {
    FILE_ATTRIBUTE_TAG_INFO tag{};
    return GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) &&
           (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           IsReparseTagNameSurrogate(tag.ReparseTag);
}

std::wstring LongPath(const std::wstring& path) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetLongPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return path;
        }
        if (length < buffer.size()) {
            return std::wstring(buffer.data(), length);
        }
        buffer.resize(length + 1);
    }
}

bool Gone(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

} // namespace

TInstallFolder::TInstallFolder(const std::wstring& target) : FTarget(target) {
    FHandle.reset(OpenItem(FTarget, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE));
    if (!FHandle) {
        FProblem = L"папка " + FTarget + L" не открывается: " + SysErrorMessage(GetLastError());
        return;
    }
    const std::wstring real = RealPath(FHandle.get());
    if (real.empty()) {
        FProblem = L"папка " + FTarget + L" не открывается: " + SysErrorMessage(GetLastError());
        return;
    }
    FReal = IncludeTrailingPathDelimiter(real);
    // A short name ("C:\PROGRA~1\") is the same place as its long one.
    if (IsLinkItself(FHandle.get()) || !SamePath(FReal, LongPath(FTarget))) {
        FProblem = L"папка " + FTarget + L" ведёт по ссылке в " + FReal;
    }
}

TFolderItem TInstallFolder::Open(const std::wstring& relative) const {
    TFolderItem item;
    if (!FProblem.empty()) {
        item.State = TFolderItem::fiNotOpened;
        item.Error = ERROR_ACCESS_DENIED;
        return item;
    }
    item.Path = FTarget + relative;
    item.Handle.reset(OpenItem(item.Path, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                               FILE_SHARE_READ));
    if (!item.Handle) {
        item.Error = GetLastError();
        item.State = Gone(item.Error) ? TFolderItem::fiGone : TFolderItem::fiNotOpened;
        return item;
    }
    if (IsLinkItself(item.Handle.get()) ||
        !SamePath(RealPath(item.Handle.get()), FReal + relative)) {
        item.Handle.reset();
        item.State = TFolderItem::fiLink;
        item.Link = LinkOnTheWay(relative);
        return item;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(item.Handle.get(), &info)) {
        item.Error = GetLastError();
        item.Handle.reset();
        item.State = TFolderItem::fiNotOpened;
        return item;
    }
    item.State = TFolderItem::fiOpen;
    item.Attributes = info.dwFileAttributes;
    item.Size = std::uint64_t(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    item.WriteTime = std::uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32 |
                     info.ftLastWriteTime.dwLowDateTime;
    return item;
}

// The first part of the path, from the folder down, that is a link; the item itself when
// none says so (Wine shows a link to a file as a plain file).
std::wstring TInstallFolder::LinkOnTheWay(const std::wstring& relative) const {
    for (size_t end = relative.find(L'\\'); end != std::wstring::npos;
         end = relative.find(L'\\', end + 1)) {
        const DWORD attributes = GetFileAttributesW((FTarget + relative.substr(0, end)).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            return relative.substr(0, end);
        }
    }
    return relative;
}

DWORD DeleteItem(const TFolderItem& item, bool clearReadOnly) {
    const HANDLE handle = item.Handle.get();
    FILE_BASIC_INFO basic{};
    const bool cleared = clearReadOnly && (item.Attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
                         GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic);
    if (cleared) {
        FILE_BASIC_INFO writable = basic;
        writable.FileAttributes &= ~DWORD(FILE_ATTRIBUTE_READONLY);
        // Zero times are left as they are.
        writable.CreationTime.QuadPart = writable.LastAccessTime.QuadPart = 0;
        writable.LastWriteTime.QuadPart = writable.ChangeTime.QuadPart = 0;
        SetFileInformationByHandle(handle, FileBasicInfo, &writable, sizeof writable);
    }
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition)) {
        return 0;
    }
    const DWORD error = GetLastError();
    if (cleared) {
        // As it was, to match its record.
        basic.CreationTime.QuadPart = basic.LastAccessTime.QuadPart = 0;
        basic.LastWriteTime.QuadPart = basic.ChangeTime.QuadPart = 0;
        if (!SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic)) {
            LogFailure(Failure(L"Атрибут \"только чтение\" не возвращён", item.Path));
        }
    }
    return error;
}
