#pragma once
#include <cstdint>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace fonttest {

// Real TrueType fonts from the host, shipped in the test distribution under the names of
// the fonts the installer carries.
struct TFixtureFont {
    const wchar_t* FileName; // name in the distribution's fonts folder
    const wchar_t* HostFile; // the Debian font it is a copy of
    const wchar_t* FullName; // that font's full name
};
extern const std::vector<TFixtureFont> FixtureFonts;

// A folder of its own under the temporary folder, removed with everything in it.
class TTempFolder {
public:
    explicit TTempFolder(const std::wstring& path);
    TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    ~TTempFolder();
    const std::wstring& Path() const { return FPath; } // ends in a path delimiter

private:
    std::wstring FPath;
};

void CopyFixtureFonts(const std::wstring& folder);
std::vector<unsigned char> ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes);
bool FileExists(const std::wstring& path);

std::wstring WindowsFontsFolder();
extern const wchar_t FontsKey[];
std::optional<std::wstring> FontsRegistryValue(const std::wstring& name);
void DeleteFontsRegistryValue(const std::wstring& name);

// While it lives, this process cannot write a file beyond Bytes: the disk that fills up in
// the middle of a copy. Wine runs us as a Linux process, so the limit is the kernel's own
// (RLIMIT_FSIZE, with SIGXFSZ ignored so that the write fails instead of the process).
// Active() is false where that is not possible (not on Linux).
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(unsigned long long Bytes);
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;
    ~TFileSizeLimit();
    bool Active() const { return FActive; }

private:
    unsigned long long FOldSoft = 0;
    unsigned long long FOldHard = 0;
    intptr_t FOldHandler = 0;
    bool FSaved = false;
    bool FActive = false;
};

// A hidden top-level window of the test's own thread that counts the font-change broadcasts.
class TFontChangeCounter {
public:
    TFontChangeCounter();
    TFontChangeCounter(const TFontChangeCounter&) = delete;
    TFontChangeCounter& operator=(const TFontChangeCounter&) = delete;
    ~TFontChangeCounter();
    int Count() const;

private:
    HWND FWindow;
};

} // namespace fonttest
