// Removals that meet trouble: files changed, read-only or held open, a run that stopped
// halfway, a damaged record.
#include <windows.h>

#include <algorithm>

#include "FaultFiles.h"
#include "FaultRun.h"
#include "Files.h"
#include "Machine.h"
#include "RecordFile.h"
#include "Removal.h"
#include "Report.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "Unattended.h"
#include "common/Errors.h"
#include "common/Paths.h"

namespace e2e {
namespace {

constexpr wchar_t Holter[] = L"C:\\Holter\\";

void SetReadOnly(const std::wstring& path, bool readOnly) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const DWORD wanted = readOnly ? attributes | FILE_ATTRIBUTE_READONLY
                                  : attributes & ~DWORD(FILE_ATTRIBUTE_READONLY);
    if (attributes == INVALID_FILE_ATTRIBUTES || !SetFileAttributesW(path.c_str(), wanted)) {
        Fail(L"could not change the read-only attribute of " + path);
    }
}

bool HasLine(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The record of a removal that could not finish names what is left, and only that.
void CheckRecordOfRest(TContext& context, const std::wstring& target,
                       const std::vector<std::wstring>& rest) {
    const TRecord record = ReadRecord(target);
    context.Check(record.Problem.empty(),
                  L"the rewritten record breaks its format: " + record.Problem);
    for (const auto& file : record.Files) {
        context.Check(FileExists(target + file.Path),
                      L"the rewritten record lists a removed file: " + file.Path);
    }
    for (const auto& file : rest) {
        context.Check(std::any_of(record.Files.begin(), record.Files.end(),
                                  [&](const TRecordedFile& f) { return f.Path == file; }),
                      L"the rewritten record does not list " + file);
    }
}

// A record line naming a file outside the installation, with its true size and time, so that
// a removal that trusted the path would find it unchanged and delete it.
std::string FileLine(const std::wstring& path, const std::wstring& written) {
    std::string bytes;
    ReadBytes(path, bytes);
    return ToUtf8(L"file\t" + std::to_wstring(bytes.size()) + L"\t" + RecordTime(path) +
                  L"\tnew\twritable\t" + written + L"\r\n");
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The first "file" line's field number `field` (1: size, 2: time) replaced by `value`.
std::string ReplaceFileField(std::string text, int field, const std::string& value) {
    size_t start = text.find("\r\nfile\t");
    if (start == std::string::npos) {
        Fail(L"the install record lists no file");
    }
    start += 7;
    for (int i = 1; i < field; ++i) {
        start = text.find('\t', start) + 1;
    }
    return text.replace(start, text.find('\t', start) - start, value);
}

constexpr wchar_t Victim[] = L"C:\\victim.txt";
constexpr char VictimBytes[] = "a file of someone else's\r\n";

struct TDamage {
    const wchar_t* Name;
    std::string (*Make)(const std::string& good);
};

const TDamage Damages[] = {
    {L"a later version's header",
     [](const std::string& good) {
         return Replace(good, "Sontira install record\t1", "Sontira install record\t2");
     }},
    {L"an unknown kind",
     [](const std::string& good) { return good + "registry\tHKLM\\Software\\Sontira\r\n"; }},
    {L"a size with a letter",
     [](const std::string& good) { return ReplaceFileField(good, 1, "6x4"); }},
    {L"a time of hour 25",
     [](const std::string& good) {
         return ReplaceFileField(good, 2, "2025-03-01T25:61:00.0000000Z");
     }},
    {L"a path up out of the target",
     [](const std::string& good) { return good + FileLine(Victim, L"..\\victim.txt"); }},
    {L"an absolute path", [](const std::string& good) { return good + FileLine(Victim, Victim); }},
    // Names Windows reads as another file, a stream or a device, with the true size and time
    // of what they would reach.
    {L"a folder name ending in a dot",
     [](const std::string& good) {
         return good + FileLine(std::wstring(Holter) + L"DTAfb\\R47.FDB", L"DTAfb.\\R47.FDB");
     }},
    {L"a folder name ending in a blank",
     [](const std::string& good) {
         return good + FileLine(std::wstring(Holter) + L"udf\\fbudf.dll", L"udf \\fbudf.dll");
     }},
    {L"a device name",
     [](const std::string& good) {
         return good + FileLine(std::wstring(Holter) + L"udf\\fbudf.dll", L"udf\\NUL.dll");
     }},
    {L"a shortcut not ending in .lnk",
     [](const std::string& good) {
         return good + ToUtf8(L"shortcut\t" + std::wstring(Victim) + L"\r\n");
     }},
    {L"a last line cut short, its CR LF lost",
     [](const std::string& good) {
         // Cut between two ASCII characters, so that only the line's end is wrong.
         std::string cut = good.substr(0, good.size() - 6);
         while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0x80) != 0) {
             cut.pop_back();
         }
         return cut;
     }},
};

// A removal refused as a whole: nothing touched, the victim outside the target included.
void RemoveWithDamagedRecord(TContext& context, const std::wstring& name) {
    const TMachineState before = TakeState(Holter);
    const std::wstring log = L"C:\\removal-bad-record.log";
    DeleteFileW(log.c_str());
    const TSetupRun run = RunUninstall(Holter, L"/VERYSILENT /LOG=" + log);
    CheckExit(context, run, 4, name);
    const auto lines = ReadLogFile(log);
    CheckResultLine(context, lines, 4);
    context.Check(HasLineStarting(lines, L"Запись об установке повреждена"),
                  name + L"the log does not say the record is damaged");
    CheckUnchanged(context, before, name);
    std::string still;
    context.Check(ReadBytes(Victim, still) && still == VictimBytes,
                  name + Victim + L" was touched");
}

} // namespace

void RemovalChangedAndLocked(TContext& context) {
    InstallQuietly(context, Holter);
    const std::wstring target = Holter;
    const std::wstring changed = L"firebird.conf";    // tuned by the clinic's administrator
    const std::wstring readOnly = L"udf\\ib_udf.sql"; // made read-only after the installation
    const std::wstring held = L"fbclient.Dll";        // in use by a running program
    std::string tuned;
    ReadBytes(target + changed, tuned);
    WriteBytes(target + changed, tuned + "DefaultDbCachePages = 4096\r\n");
    SetReadOnly(target + readOnly, true);
    const TMachineState before = TakeState(target, {changed});
    {
        // Held as a running program holds its library: no sharing, deletion included.
        const TUniqueFile hold = HoldExclusive(target + held);
        CheckExit(context, RunUninstall(target, L"/VERYSILENT /LOG=C:\\removal-locked.log"), 4);
    }
    const auto lines = ReadLogFile(L"C:\\removal-locked.log");
    CheckResultLine(context, lines, 4);
    context.Check(HasLine(lines, L"Файл изменён после установки, сохранён: " + changed),
                  L"the log does not name the changed " + changed);
    for (const auto& file : {readOnly, held}) {
        context.Check(HasLineStarting(lines, L"Не удалось удалить файл " + file + L": "),
                      L"the log does not name " + file + L" as not removed");
    }
    CheckRemoved(context, before, {readOnly, held});
    CheckRecordOfRest(context, target, {readOnly, held});

    // Once the files are free, the removal left for the next run completes.
    SetReadOnly(target + readOnly, false);
    const TSetupRun again = RunUninstall(target, L"/VERYSILENT /LOG=C:\\removal-freed.log");
    CheckExit(context, again, 0);
    CheckRemoved(context, before);
}

// A run that stops on a fresh target undoes itself whole: no record, no uninstaller, no entry,
// not even the folder; there is nothing left to remove.
void StoppedRunLeavesNothing(TContext& context) {
    const std::wstring source = context.CopyDistribution();
    DeleteFileW((source + L"\\Firebird\\gbak.exe").c_str());
    const std::wstring target = FreshTarget();
    const std::wstring folder = ExcludeTrailingPathDelimiter(target);
    RemoveSuite(target);
    const TSetupRun stopped =
        RunSetup(source, L"/VERYSILENT /DIR=" + folder + L" /LOG=C:\\half-run.log");
    CheckExit(context, stopped, 4);
    context.Check(RegistrationValues().empty(),
                  L"a run that stopped wrote the Programs and Features entry");
    context.Check(!FolderExists(folder), L"the stopped run left " + folder);
    context.Check(
        HasLineStarting(ReadLogFile(L"C:\\half-run.log"), L"Отмена изменений....Завершено"),
        L"the log file does not say the changes were undone");

    CheckRefused(context, source, L"/UNINSTALL /DIR=" + folder + L" /VERYSILENT", 1,
                 L"Комплекс \"Сонтира\" не установлен в папке ");
    CheckRefused(context, source, L"/UNINSTALL /DRIVER /VERYSILENT", 1,
                 L"Неверный параметр командной строки");
}

void RemovalBadRecord(TContext& context) {
    InstallQuietly(context, Holter);
    const std::wstring record = std::wstring(Holter) + RecordName;
    std::string good;
    if (!ReadBytes(record, good) || !ReadRecord(Holter).Problem.empty()) {
        Fail(L"the installation left no good record: " + ReadRecord(Holter).Problem);
    }
    WriteBytes(Victim, VictimBytes);
    for (const auto& damage : Damages) {
        const std::wstring name = std::wstring(damage.Name) + L": ";
        WriteBytes(record, damage.Make(good));
        try {
            RemoveWithDamagedRecord(context, name);
        } catch (const EError& e) {
            context.RecordFailure(name + e.Message());
        }
        WriteBytes(record, good);
    }
}

} // namespace e2e
