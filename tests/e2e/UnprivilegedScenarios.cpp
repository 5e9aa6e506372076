// A reinstall over an installation whose backup and updater files are read-only, as the
// earlier version left them when it installed from read-only media. Windows refuses to
// overwrite a read-only file; Wine does so only for a user without privileges (root writes
// regardless), so scripts/fault-suite runs this as such a user on a prefix of that user's.
#include <windows.h>

#include "Files.h"
#include "Machine.h"
#include "Report.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "Unattended.h"

namespace e2e {
namespace {

struct TCopied {
    std::wstring Source;
    std::wstring Target;
};

// The files the backups and updater step copies: backup\ into backup\, Updater\ into the root.
std::vector<TCopied> BackupAndUpdaterFiles(const std::wstring& source, const std::wstring& target) {
    std::vector<TCopied> files;
    for (const auto& file : FilesBelow(source + L"\\backup")) {
        files.push_back({source + L"\\backup\\" + file, target + L"backup\\" + file});
    }
    for (const auto& file : FilesBelow(source + L"\\Updater")) {
        files.push_back({source + L"\\Updater\\" + file, target + file});
    }
    return files;
}

void SetReadOnly(const std::wstring& path, bool readOnly) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    SetFileAttributesW(path.c_str(), readOnly ? attributes | FILE_ATTRIBUTE_READONLY
                                              : attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
}

// The newer release on its own read-only medium: each file changed as its kind allows.
void MakeNewerRelease(const std::vector<TCopied>& files) {
    for (const auto& file : files) {
        std::string bytes;
        ReadBytes(file.Source, bytes);
        bytes += file.Source.ends_with(L".cmd")          ? "rem newer release\r\n"
                 : file.Source.ends_with(L"ReleaseInfo") ? "<!-- newer release -->\n"
                                                         : "; newer release\r\n";
        SetReadOnly(file.Source, false);
        WriteBytes(file.Source, bytes);
        SetReadOnly(file.Source, true);
    }
}

} // namespace

void ReinstallOverReadOnlyFiles(TContext& context) {
    const std::wstring target = L"C:\\Holter\\";
    RemoveSuite(target);
    const std::wstring source = context.CopyDistribution();
    context.Check(RunSetup(source, L"/VERYSILENT").ExitCode == 0, L"the first installation");
    const std::vector<TCopied> files = BackupAndUpdaterFiles(source, target);
    for (const auto& file : files) {
        SetReadOnly(file.Target, true);
    }
    MakeNewerRelease(files);

    // What the earlier version did, CopyFileW onto a read-only file, is refused here.
    const TCopied& updater = files.back();
    const BOOL copied = CopyFileW(updater.Source.c_str(), updater.Target.c_str(), FALSE);
    if (copied || GetLastError() != ERROR_ACCESS_DENIED) {
        Fail(L"CopyFileW onto the read-only " + updater.Target +
             L" was not refused: run this as a user without privileges");
    }

    const std::wstring log = L"C:\\read-only-reinstall.log";
    const TSetupRun run = RunSetup(source, L"/VERYSILENT /LOG=" + log);
    context.Check(run.ExitCode == 0, L"exit code 0, not " + std::to_wstring(run.ExitCode));
    const auto lines = ReadLogFile(log);
    for (const auto& line : lines) {
        context.Check(!line.starts_with(L"Не удалось скопировать") &&
                          !line.starts_with(L"Файл не скопирован"),
                      L"the log file says: " + line);
    }
    for (const auto& file : files) {
        std::string installed, shipped;
        ReadBytes(file.Target, installed);
        ReadBytes(file.Source, shipped);
        // The run rewrites the release level in ReleaseInfo: its comment must have arrived.
        const bool replaced = file.Target.ends_with(L"ReleaseInfo")
                                  ? installed.find("newer release") != std::string::npos
                                  : installed == shipped;
        context.Check(replaced, L"not replaced by the newer release: " + file.Target);
        context.Check(!ReadOnly(file.Target), L"left read-only: " + file.Target);
    }
}

} // namespace e2e
