#include "install/FolderMerge.h"

#include "common/DirEnum.h"
#include "common/Failure.h"
#include "common/Paths.h"

#include <map>

namespace {

constexpr DWORD All = faAnyFile | faDirectory | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::map<std::wstring, DWORD, TPathLess> Held(const std::wstring& folder) {
    std::map<std::wstring, DWORD, TPathLess> held;
    for (TDirEntry& entry : ListDirEntries(folder + L"\\*", All)) {
        if (!IsDotEntry(entry.Name)) {
            held.emplace(std::move(entry.Name), entry.Attributes);
        }
    }
    return held;
}

} // namespace

void ReturnMissing(
    const std::wstring& aside, const std::wstring& folder, const std::wstring& below,
    const std::function<bool(const std::wstring& to, const std::wstring& below)>& returning) {
    const auto held = Held(folder);
    for (const TDirEntry& entry : ListDirEntries(aside + L"\\*", All)) {
        if (IsDotEntry(entry.Name)) {
            continue;
        }
        const std::wstring from = aside + L'\\' + entry.Name;
        const std::wstring to = folder + L'\\' + entry.Name;
        const std::wstring name = below + L'\\' + entry.Name;
        const auto there = held.find(entry.Name);
        if (there == held.end()) {
            if (!returning(to, name) || !MoveFileExW(from.c_str(), to.c_str(), 0)) {
                LogFailure(Failure(L"Файл не возвращён", to));
            }
        } else if (entry.IsDirectory() && (there->second & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                   (entry.Attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
            // A link put where a folder was to come back would carry the clinic's files out of
            // the installation folder: its content stays aside.
            if ((there->second & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
                LogFailure(Failure(L"Файл не возвращён", to, ERROR_REPARSE_TAG_INVALID));
                continue;
            }
            ReturnMissing(from, to, name, returning);
        }
    }
}
