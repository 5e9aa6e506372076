#include "common/ShellCopy.h"

#include "common/Paths.h"

#include <windows.h>
#include <shellapi.h>

bool ShellCopyFolder(const std::wstring& source, const std::wstring& target, bool silent) {
    // The shell reads lists of names, each list ended by a second zero character.
    std::wstring from = ExcludeTrailingPathDelimiter(source);
    std::wstring to = ExcludeTrailingPathDelimiter(target);
    from.push_back(L'\0');
    to.push_back(L'\0');

    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_COPY;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    operation.fFlags = FOF_FILESONLY;
    if (silent) {
        operation.fFlags |= FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_NOCONFIRMMKDIR;
    }
    // A copy the person cancelled, or files the shell was told to leave, did not happen.
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}
