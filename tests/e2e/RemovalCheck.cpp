// The machine before a removal, and what the removal must have left of it.
#include <algorithm>

#include "Files.h"
#include "Machine.h"
#include "RecordFile.h"
#include "Removal.h"
#include "Report.h"
#include "Scenario.h"

namespace e2e {
namespace {

// Files the suite's own programs write into the target during a run (the backup script's note,
// the driver installer's record): no run of setup wrote them, so no record lists them.
constexpr const wchar_t* WrittenByScripts[] = {L"backup-ran.txt",
                                               L"FTDIDriverInstall\\FTDIDriverInstall.log"};

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

bool Contains(const std::vector<std::wstring>& paths, const std::wstring& path) {
    return std::any_of(paths.begin(), paths.end(),
                       [&](const std::wstring& p) { return SamePath(p, path); });
}

bool Below(const std::wstring& path, const std::wstring& folder) {
    return path.size() > folder.size() && SamePath(path.substr(0, folder.size()), folder) &&
           path[folder.size()] == L'\\';
}

std::string Bytes(const std::wstring& path) {
    std::string bytes;
    return ReadBytes(path, bytes) ? bytes : std::string();
}

// The folders a removal leaves: DTAfb and Settings, and every folder holding a file it leaves.
std::vector<std::wstring> FoldersLeft(const std::vector<std::wstring>& files) {
    std::vector<std::wstring> folders = {L"DTAfb", L"Settings"};
    for (const auto& file : files) {
        for (size_t at = file.find(L'\\'); at != file.npos; at = file.find(L'\\', at + 1)) {
            if (!Contains(folders, file.substr(0, at))) {
                folders.push_back(file.substr(0, at));
            }
        }
    }
    return folders;
}

void CheckFolders(TContext& context, const TMachineState& before,
                  const std::vector<std::wstring>& filesLeft) {
    const auto expected = FoldersLeft(filesLeft);
    const auto actual = FoldersBelow(before.Target);
    for (const auto& folder : actual) {
        context.Check(Contains(expected, folder), L"folder not removed: " + folder);
    }
    for (const auto& folder : expected) {
        context.Check(Contains(actual, folder),
                      L"folder removed, yet it held kept files: " + folder);
    }
}

} // namespace

bool TMachineState::Kept(const std::wstring& file) const {
    return Below(file, L"DTAfb") || Below(file, L"Settings") || Contains(AlsoKept, file);
}

TMachineState TakeState(const std::wstring& target, const std::vector<std::wstring>& kept) {
    TMachineState state;
    state.Target = target;
    for (const auto& file : FilesBelow(target)) {
        state.Files[file] = Bytes(target + file);
    }
    state.Folders = FoldersBelow(target);
    state.Registration = RegistrationValues();
    state.Shortcut = Bytes(DesktopFolder() + ShortcutName);
    state.AlsoKept = kept;
    state.AlsoKept.insert(state.AlsoKept.end(), std::begin(WrittenByScripts),
                          std::end(WrittenByScripts));
    return state;
}

void CheckUnchanged(TContext& context, const TMachineState& before, const std::wstring& when) {
    const TMachineState after = TakeState(before.Target);
    for (const auto& [file, bytes] : before.Files) {
        const auto now = after.Files.find(file);
        context.Check(now != after.Files.end(), when + L"file gone: " + file);
        context.Check(now == after.Files.end() || now->second == bytes,
                      when + L"file changed: " + file);
    }
    for (const auto& [file, bytes] : after.Files) {
        context.Check(before.Files.contains(file), when + L"file appeared: " + file);
    }
    context.Check(after.Folders == before.Folders, when + L"the target's folders changed");
    context.Check(after.Registration == before.Registration && !before.Registration.empty(),
                  when + L"the Programs and Features entry changed or is missing");
    context.Check(after.Shortcut == before.Shortcut && !before.Shortcut.empty(),
                  when + L"the desktop shortcut changed or is missing");
}

void CheckRemoved(TContext& context, const TMachineState& before,
                  const std::vector<std::wstring>& left) {
    const bool complete = left.empty();
    std::vector<std::wstring> filesLeft;
    for (const auto& [file, bytes] : before.Files) {
        const std::wstring path = before.Target + file;
        const bool forNextRun = !complete && (file == RecordName || file == UninstallName);
        if (before.Kept(file) || Contains(left, file)) {
            context.Check(Bytes(path) == bytes && FileExists(path),
                          L"kept file changed or gone: " + file);
            filesLeft.push_back(file);
        } else if (forNextRun) {
            context.Check(FileExists(path), L"removal not complete, yet it removed " + file);
            filesLeft.push_back(file);
        } else {
            context.Check(!FileExists(path), L"not removed: " + file);
        }
    }
    CheckFolders(context, before, filesLeft);
    context.Check(!FileExists(DesktopFolder() + ShortcutName),
                  L"the desktop shortcut is still there");
    const bool registered = !RegistrationValues().empty();
    context.Check(registered == !complete,
                  complete ? L"the Programs and Features entry is still there"
                           : L"removal not complete, yet the Programs and Features entry is gone");
}

} // namespace e2e
