#include "ShellLinkRead.h"

#include "common/Errors.h"
#include "common/Handles.h"

#include <shlobj.h>

TLinkRead ReadShellLink(const std::wstring& path) {
    TComPtr<IShellLinkW> link;
    CheckHResult(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)));
    TComPtr<IPersistFile> file;
    CheckHResult(link.As(&file));
    CheckHResult(file->Load(path.c_str(), STGM_READ));
    wchar_t buffer[MAX_PATH * 2];
    TLinkRead result;
    CheckHResult(link->GetPath(buffer, MAX_PATH * 2, nullptr, SLGP_RAWPATH));
    result.Target = buffer;
    CheckHResult(link->GetArguments(buffer, MAX_PATH * 2));
    result.Arguments = buffer;
    CheckHResult(link->GetDescription(buffer, MAX_PATH * 2));
    result.Description = buffer;
    CheckHResult(link->GetWorkingDirectory(buffer, MAX_PATH * 2));
    result.WorkingDir = buffer;
    return result;
}
