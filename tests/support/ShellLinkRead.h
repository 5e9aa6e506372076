#pragma once
#include <string>

// What a shortcut file holds, read back through the shell's own link object.
struct TLinkRead {
    std::wstring Target, Arguments, Description, WorkingDir;
};

TLinkRead ReadShellLink(const std::wstring& path);
