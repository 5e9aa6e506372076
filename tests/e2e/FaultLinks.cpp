// Links put into an installation after it was made (as a user who may write there can):
// removal follows none and deletes nothing outside the installation folder; an installation
// folder that is itself a link is not touched at all; a log file named through a link into
// the database folder is refused; the install record, rewritten at the end of a run, is never
// written through a link put in the place of its temporary file.
#include <windows.h>

#include <algorithm>
#include <map>

#include "FaultCases.h"
#include "FaultFiles.h"
#include "FaultRun.h"
#include "Files.h"
#include "Machine.h"
#include "RecordFile.h"
#include "Removal.h"
#include "Report.h"
#include "Scenario.h"
#include "Unattended.h"
#include "common/Paths.h"

namespace e2e {
namespace {

using TBytes = std::map<std::wstring, std::string>;

TBytes BytesBelow(const std::wstring& folder) {
    TBytes bytes;
    for (const auto& file : FilesBelow(folder)) {
        bytes[file] = ReadBytes(folder + L"\\" + file);
    }
    return bytes;
}

bool HasLine(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Another program's folder holding files with the very size and time the record lists for
// udf\ and fbclient.Dll (copies keep their time), and one of its own.
std::wstring OtherProgram(const std::wstring& target) {
    const std::wstring other = FreshFolderName(L"C:\\OtherProgram");
    CreateFolders(other);
    for (const auto& file : FilesBelow(target + L"udf")) {
        CopyFileW((target + L"udf\\" + file).c_str(), (other + L"\\" + file).c_str(), TRUE);
    }
    CopyFileW((target + L"fbclient.Dll").c_str(), (other + L"\\fbclient.Dll").c_str(), TRUE);
    WriteBytes(other + L"\\readme.txt", "another program's own file\r\n");
    return other;
}

// udf\ and fbclient.Dll replaced by links into another program's folder.
void LinksInside(TContext& context) {
    const std::wstring target = FreshTarget();
    InstallQuietly(context, target);
    const std::wstring other = OtherProgram(target);
    const TBytes otherBefore = BytesBelow(other);
    DeleteTree(target + L"udf");
    DeleteFileW((target + L"fbclient.Dll").c_str());
    MakeLinuxLink(target + L"udf", other);
    MakeLinuxLink(target + L"fbclient.Dll", other + L"\\fbclient.Dll");
    std::vector<std::wstring> throughLinks = {L"fbclient.Dll"};
    for (const auto& file : FilesBelow(target + L"udf")) {
        throughLinks.push_back(L"udf\\" + file);
    }
    const TMachineState before = TakeState(target, throughLinks);

    const std::wstring log = L"C:\\removal-links.log";
    CheckExit(context, RunUninstall(target, L"/VERYSILENT /LOG=" + log), 0);
    context.Check(BytesBelow(other) == otherBefore,
                  L"the other program's folder " + other + L" changed");
    context.Check(FolderExists(target + L"udf") && FileExists(target + L"fbclient.Dll"),
                  L"a link was removed");
    const auto lines = ReadLogFile(log);
    for (const wchar_t* link : {L"udf", L"fbclient.Dll"}) {
        context.Check(HasLine(lines, L"Ссылка оставлена: " + std::wstring(link)),
                      L"the log does not name the link " + std::wstring(link));
    }
    CheckRemoved(context, before);
}

// The installation folder moved elsewhere and a link put in its place: nothing is removed.
std::wstring FolderIsALink(TContext& context) {
    const std::wstring target = FreshTarget();
    const std::wstring folder = ExcludeTrailingPathDelimiter(target);
    InstallQuietly(context, target);
    const std::wstring moved = FreshFolderName(L"C:\\moved");
    if (!MoveFileW(folder.c_str(), moved.c_str())) {
        Fail(L"could not move " + folder + L" to " + moved);
    }
    MakeLinuxLink(folder, moved);
    const TMachineState before = TakeState(moved + L"\\");
    const std::wstring log = L"C:\\removal-folder-link.log";
    CheckExit(context, RunUninstall(target, L"/VERYSILENT /LOG=" + log), 4);
    CheckUnchanged(context, before, L"the installation folder is a link: ");
    context.Check(HasLineStarting(ReadLogFile(log),
                                  L"Ничего не удалено: папка " + target + L" ведёт по ссылке"),
                  L"the log does not say why nothing was removed");
    return moved + L"\\";
}

// /LOG through a link that leads into the installation's database folder.
void LogThroughLink(TContext& context, const std::wstring& installed) {
    const std::wstring logs = FreshFolderName(L"C:\\logs");
    MakeLinuxLink(logs, installed + L"DTAfb");
    const std::string database = ReadBytes(installed + L"DTAfb\\R47.FDB");
    const std::wstring dist = context.CopyDistribution();
    const TSetupRun run =
        RunSetup(dist, L"/VERYSILENT \"/DIR=" + ExcludeTrailingPathDelimiter(installed) +
                           L"\" /LOG=" + logs + L"\\R47.FDB");
    context.Check(run.ExitCode == 1, L"/LOG through a link into DTAfb: exit code 1, not " +
                                         std::to_wstring(run.ExitCode));
    context.Check(!database.empty() && ReadBytes(installed + L"DTAfb\\R47.FDB") == database,
                  L"/LOG through a link into DTAfb changed the database");
}

// A link to another file where the record's rewrite makes its temporary file: the run over the
// installation ends as it would, its record still reads, and the other file stays as it was.
void RecordThroughLink(TContext& context) {
    const std::wstring target = FreshTarget();
    InstallQuietly(context, target);
    const std::wstring victim = FreshFolderName(L"C:\\victim") + L".txt";
    const std::string victimBytes = "a file of someone else's\r\n";
    WriteBytes(victim, victimBytes);
    MakeLinuxLink(target + L"InstallRecord.txt.new", victim);
    const TSetupRun run = RunSetup(context.CopyDistribution(),
                                   L"/VERYSILENT \"/DIR=" + ExcludeTrailingPathDelimiter(target) +
                                       L"\" /LOG=C:\\record-link.log");
    CheckExit(context, run, 0);
    context.Check(ReadBytes(victim) == victimBytes,
                  L"the record was written through a link into " + victim);
    const TRecord record = ReadRecord(target);
    context.Check(record.Problem.empty(), L"the record after the run: " + record.Problem);
}

} // namespace

void LinksLeftAlone(TContext& context) {
    LinksInside(context);
    const std::wstring moved = FolderIsALink(context);
    LogThroughLink(context, moved);
    RecordThroughLink(context);
}

} // namespace e2e
