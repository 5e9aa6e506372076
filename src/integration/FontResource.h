#pragma once
#include <windows.h>

#include <string>

// A font file added to the system's font table for one scope, removed again however the
// scope is left, so that the setup program never keeps a font resource of its own.
class TFontResource {
public:
    explicit TFontResource(const std::wstring& path)
        : FPath(path), FAdded(AddFontResourceW(FPath.c_str()) != 0) {}
    TFontResource(const TFontResource&) = delete;
    TFontResource& operator=(const TFontResource&) = delete;
    ~TFontResource() {
        if (FAdded) {
            RemoveFontResourceW(FPath.c_str());
        }
    }
    bool Added() const noexcept { return FAdded; }

private:
    std::wstring FPath;
    bool FAdded;
};
