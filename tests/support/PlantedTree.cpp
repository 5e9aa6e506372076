#include "PlantedTree.h"

#include "FileBytes.h"

#include <windows.h>

namespace {

struct TFolder {
    const wchar_t* Path; // "" for the top
    int Files;
};
constexpr TFolder Folders[] = {{L"", 12}, {L"a", 25}, {L"a\\deep", 8}, {L"b", 25}, {L"c", 0}};

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    return folder.empty() ? name : folder + L"\\" + name;
}

std::wstring FileName(int i) {
    return L"f" + std::to_wstring(i) + L".dat";
}

} // namespace

void MakePlantedSource(const std::wstring& source) {
    CreateDirectoryW(source.c_str(), nullptr);
    for (const TFolder& folder : Folders) {
        const std::wstring path = Join(source, folder.Path);
        CreateDirectoryW(path.c_str(), nullptr);
        for (int i = 0; i < folder.Files; ++i) {
            WriteBytes(path + L"\\" + FileName(i), std::string(100 + 97 * i, 'a' + i % 26));
        }
    }
    const std::wstring hidden = source + L"\\hidden";
    CreateDirectoryW(hidden.c_str(), nullptr);
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteBytes(hidden + L"\\x.dat", "not copied");
}

std::vector<TUniqueFile> MakePlantedTarget(const std::wstring& target) {
    CreateDirectoryW(target.c_str(), nullptr);
    CreateDirectoryW((target + L"\\a").c_str(), nullptr);
    for (const wchar_t* earlier : {L"f1.dat", L"a\\f0.dat", L"a\\f3.dat"}) {
        WriteBytes(target + L"\\" + earlier, "an earlier copy");
    }
    SetFileAttributesW((target + L"\\a\\f3.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    std::vector<TUniqueFile> held;
    CreateDirectoryW((target + L"\\a\\deep").c_str(), nullptr);
    CreateDirectoryW((target + L"\\b").c_str(), nullptr);
    for (const std::wstring& file : PlantedHeldFiles()) {
        const std::wstring path = target + L"\\" + file;
        WriteBytes(path, "held");
        held.emplace_back(
            CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    }
    return held;
}

std::vector<std::wstring> PlantedHeldFiles() {
    return {L"f5.dat", L"a\\f10.dat", L"a\\deep\\f2.dat", L"b\\f24.dat"};
}
