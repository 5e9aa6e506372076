#pragma once
#include <functional>
#include <span>
#include <string>

// The font files shipped in the distribution's "fonts" folder, by name.
std::span<const wchar_t* const> ShippedFonts();

// Appends one plain line to the installation log.
using TLogLine = std::function<void(const std::wstring&)>;

// Installs every shipped font that the Windows fonts folder lacks, from the "fonts" folder
// beside the running executable: copied, registered for the machine, announced to the
// running programs and logged. Raises EError at the first font that cannot be copied or
// registered; the fonts after it are left alone.
void InstallFonts(const TLogLine& log);

// Tells the running programs of a font file in the fonts folder that was registered just now.
void AnnounceFont(const std::wstring& path);

// Told of each font installed: its file and its registry value.
using TFontInstalled = std::function<void(const std::wstring& file, const std::wstring& value)>;

// The same with both folders given, each ending in a path delimiter; `installing` is told of
// each font before its file is copied.
void InstallFonts(const std::wstring& sourceFolder, const std::wstring& fontsFolder,
                  const TLogLine& log, const TFontInstalled& installed = {},
                  const TFontInstalled& installing = {});

// Tells the running programs that the fonts changed.
void BroadcastFontChange();
