#pragma once
#include <cstdint>
#include <string>

// Where a shortcut goes; passed as one byte, so values beyond llFolder can arrive and
// mean "nowhere".
enum class TLinkLocation : std::uint8_t {
    llDesktop,
    llQuickLaunch,
    llSendTo,
    llStartMenu,
    llFolder
};

// The file CreateShellLink writes for these arguments; empty when no folder is found.
std::wstring ShellLinkFile(const std::wstring& FileName, TLinkLocation Location,
                           const std::wstring& SubFolder, const std::wstring& LinkName);

// Writes a shortcut to FileName. For llFolder SubFolder is the target folder itself; for the
// shell folders it is an optional subfolder of them. An empty WorkingDir means FileName's
// folder, an empty LinkName FileName's name. LinkFile receives the path written, and is left
// alone when no folder was found. Failures to set or save the link are silent; raises EError
// only when the shell link object cannot be had. COM must be initialised on this thread.
void CreateShellLink(const std::wstring& FileName, TLinkLocation Location,
                     const std::wstring& SubFolder, const std::wstring& WorkingDir,
                     const std::wstring& Arguments, const std::wstring& Description,
                     const std::wstring& LinkName, std::wstring& LinkFile);

// The program a shortcut file leads to; empty when it cannot be read. COM must be initialised
// on this thread.
std::wstring ReadShellLinkPath(const std::wstring& LinkFile);
