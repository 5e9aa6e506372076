#pragma once
#include <string>

// A fresh, empty folder for one test, removed with everything in it afterwards.
class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // The folder's path with a trailing backslash.
    const std::wstring& Path() const noexcept { return FPath; }
    // A name inside the folder; it may run over several levels ("sub\\file.txt").
    std::wstring operator/(const std::wstring& name) const { return FPath + name; }

private:
    std::wstring FPath;
};

// Removes a folder tree (or a file); no error if it is not there.
void RemoveTree(const std::wstring& path);
bool FolderExists(const std::wstring& path);
