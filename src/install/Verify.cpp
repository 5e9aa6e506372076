#include "install/Verify.h"

#include "common/DirEnum.h"
#include "common/Errors.h"
#include "common/Paths.h"
#include "install/ContentCompare.h"
#include "install/Registration.h"
#include "integration/FontRegistry.h"

#include <set>

namespace {

using enum TFindingKind;

const TPlanRow* RowOf(TPlanAction action) {
    for (const TPlanRow& row : InstallPlan()) {
        if (row.Action == action) {
            return &row;
        }
    }
    return nullptr;
}

// Files the run writes itself (the release level into ReleaseInfo, for one): theirs are not
// the distribution's bytes.
bool EditedByRun(const std::wstring& relative) {
    for (const TPlanRow& row : InstallPlan()) {
        if (*row.Source != L'\0' || row.Action == TPlanAction::paUninstaller) {
            continue;
        }
        for (const wchar_t* name : row.Names) {
            if (SamePath(std::wstring(row.Target) + name, relative)) {
                return true;
            }
        }
    }
    return false;
}

TFinding Found(TFindingKind kind, const TPlanRow* row = nullptr, std::wstring original = {},
               std::wstring target = {}, std::wstring detail = {}) {
    return {kind, row, std::move(original), std::move(target), std::move(detail), true};
}

} // namespace

std::wstring FindingText(const TFinding& f) {
    switch (f.Kind) {
    case fkMissing:
        return L"Файл отсутствует: " + f.Target;
    case fkDifferent:
        return L"Файл отличается от дистрибутива: " + f.Target;
    case fkReadOnly:
        return L"Файл только для чтения: " + f.Target;
    case fkUnreadable:
        return L"Файл не читается: " + f.Target + L": " + f.Detail;
    case fkOriginalMissing:
        return L"Нет файла в дистрибутиве: " + f.Original +
               (f.Detail.empty() ? L"" : L": " + f.Detail);
    case fkFontMissing:
        return L"Шрифт отсутствует: " + f.Target;
    case fkFontUnregistered:
        return L"Шрифт не зарегистрирован: " + f.Detail + L" (" + f.Target + L")";
    case fkShortcutMissing:
        return L"Ярлык отсутствует: " + f.Target;
    case fkEntryMissing:
        return L"Запись в списке установленных программ отсутствует";
    case fkEntryDiffers:
        break;
    }
    return L"Запись в списке установленных программ отличается: " + f.Detail;
}

// The database to copy, and every folder the copies of every run come from: an installation
// holds a database too, but not the folders laid out as a distribution has them.
bool IsDistributionFolder(const std::wstring& folder) {
    if (folder.empty()) {
        return false;
    }
    const std::wstring from = IncludeTrailingPathDelimiter(folder);
    for (const TPlanRow& row : InstallPlan()) {
        const bool copied = row.Action == TPlanAction::paDatabase ||
                            row.Action == TPlanAction::paFiles || row.Action == TPlanAction::paTree;
        if (!copied || row.When != TPlanWhen::pwAlways) {
            continue;
        }
        if (row.Action == TPlanAction::paDatabase ? !FileExists(from + row.Source + row.Names[0])
                                                  : !DirectoryExists(from + row.Source)) {
            return false;
        }
    }
    return true;
}

TInstallCheck::TInstallCheck(std::wstring source, std::wstring target, const TRecordSet& record)
    : FSource(std::move(source)), FTarget(std::move(target)), FRecord(record),
      FEntrySource(record.Source().empty() ? FSource : record.Source()) {}

const std::vector<TInstallCheck::TProgramFile>& TInstallCheck::ProgramFiles() {
    if (FFiles.empty()) {
        ListProgramFiles();
    }
    return FFiles;
}

void TInstallCheck::ListProgramFiles() {
    for (const TPlanRow& row : InstallPlan()) {
        if (row.Kept) {
            continue;
        }
        switch (row.Action) {
        case TPlanAction::paUninstaller:
            // Not in the record: every run copies it. Its bytes are the installing program's.
            FFiles.push_back({&row, ExecutablePath(), FTarget + UninstallerName, false, true});
            break;
        case TPlanAction::paFiles:
        case TPlanAction::paLibraries:
            for (const wchar_t* name : row.Names) {
                AddFile(row, FSource + row.Source + name, std::wstring(row.Target) + name);
            }
            break;
        case TPlanAction::paDriver:
        case TPlanAction::paTree:
            ListTree(row, FSource + row.Source, row.Target);
            break;
        default:
            break;
        }
    }
}

// from ends in "\"; to is relative to the target, empty or ending in "\".
void TInstallCheck::ListTree(const TPlanRow& row, const std::wstring& from,
                             const std::wstring& to) {
    for (const TDirEntry& entry : ListDirEntries(from + L"*", faAnyFile | faDirectory)) {
        if (IsDotEntry(entry.Name)) {
            continue;
        }
        if (entry.IsDirectory()) {
            ListTree(row, from + entry.Name + L'\\', to + entry.Name + L'\\');
        } else {
            AddFile(row, from + entry.Name, to + entry.Name);
        }
    }
}

// Only what the record lists, once (two runtime lists name the same files), and never what
// lies in the clinic's folders.
void TInstallCheck::AddFile(const TPlanRow& row, const std::wstring& from,
                            const std::wstring& relative) {
    const TRecordEntry* recorded = FRecord.Find(TRecordKind::rkFile, relative);
    if (recorded == nullptr || IsKeptForClinic(relative)) {
        return;
    }
    if (!FListed.insert(relative).second) {
        return;
    }
    FFiles.push_back({&row, from, FTarget + relative, !EditedByRun(relative), !recorded->ReadOnly});
}

TFindings TInstallCheck::Run(const std::function<void()>& idle) {
    ProgramFiles();
    TFindings findings = CheckFiles(idle);
    FFilesChecked = FFiles.size();
    CheckFonts(findings);
    CheckShortcuts(findings);
    CheckEntry(findings);
    return findings;
}

// The verdict of one compared file as findings: what is wrong with it, then whether it was made
// read-only.
static void AddVerdict(const TInstallCheck::TProgramFile& file, const TContentVerdict& verdict,
                       TFindings& findings) {
    TFinding finding = Found(fkDifferent, file.Row, file.Original, file.Target);
    finding.Writable = file.Writable;
    switch (verdict.Outcome) {
    case TContentVerdict::cvInstalledMissing:
        finding.Kind = fkMissing;
        findings.push_back(finding);
        return; // nothing more to say of a file that is not there
    case TContentVerdict::cvInstalledUnread:
        finding.Kind = fkUnreadable;
        finding.Detail = SysErrorMessage(verdict.Error);
        break;
    case TContentVerdict::cvOriginalMissing:
        finding.Kind = fkOriginalMissing;
        break;
    case TContentVerdict::cvOriginalUnread:
        finding.Kind = fkOriginalMissing;
        finding.Detail = SysErrorMessage(verdict.Error);
        break;
    case TContentVerdict::cvDifferent:
        finding.Detail = verdict.Digests;
        break;
    case TContentVerdict::cvSame:
        finding.Kind = fkReadOnly; // the only thing left to find
        break;
    }
    if (finding.Kind != fkReadOnly) {
        findings.push_back(finding);
    }
    if (verdict.ReadOnly && file.Writable) {
        finding.Kind = fkReadOnly;
        finding.Detail.clear();
        findings.push_back(finding);
    }
}

// A file whose bytes are not compared: there, and not made read-only.
static TContentVerdict StampVerdict(const std::wstring& path) {
    std::uint64_t size = 0;
    std::uint64_t time = 0;
    TContentVerdict verdict;
    if (!ReadFileStamp(path, size, time, verdict.ReadOnly)) {
        verdict.Outcome = TContentVerdict::cvInstalledMissing;
    }
    return verdict;
}

TFindings TInstallCheck::CheckFiles(const std::function<void()>& idle) const {
    // The compared files all at once on the workers; the findings in the files' order.
    std::vector<TContentPair> pairs;
    for (const TProgramFile& file : FFiles) {
        if (file.Content) {
            pairs.push_back({file.Target, file.Original});
        }
    }
    const std::vector<TContentVerdict> verdicts = CompareContents(pairs, idle);
    TFindings findings;
    size_t compared = 0;
    for (const TProgramFile& file : FFiles) {
        AddVerdict(file, file.Content ? verdicts[compared++] : StampVerdict(file.Target), findings);
    }
    return findings;
}

void TInstallCheck::CheckFonts(TFindings& findings) const {
    const TPlanRow* row = RowOf(TPlanAction::paFonts);
    for (const TRecordEntry& entry : FRecord.Entries()) {
        if (entry.Kind != TRecordKind::rkFont) {
            continue;
        }
        const std::wstring name = ExtractFileName(entry.Path);
        TFinding finding{fkFontMissing, row, FSource + row->Source + name, entry.Path,
                         entry.FontValue};
        if (!FileExists(entry.Path)) {
            findings.push_back(finding);
        } else if (!IsFontRegistered(entry.FontValue, name)) {
            finding.Kind = fkFontUnregistered;
            findings.push_back(finding);
        }
    }
}

void TInstallCheck::CheckShortcuts(TFindings& findings) const {
    for (const TRecordEntry& entry : FRecord.Entries()) {
        if (entry.Kind == TRecordKind::rkShortcut && !FileExists(entry.Path)) {
            findings.push_back(
                Found(fkShortcutMissing, RowOf(TPlanAction::paShortcut), L"", entry.Path));
        }
    }
}

void TInstallCheck::CheckEntry(TFindings& findings) const {
    const TEntryCheck entry = CheckRegistration(FTarget, FEntrySource);
    if (entry.State == TEntryCheck::ecMissing) {
        findings.push_back(Found(fkEntryMissing));
    } else if (entry.State == TEntryCheck::ecDiffers) {
        std::wstring values;
        for (const std::wstring& value : entry.Differs) {
            values += (values.empty() ? L"" : L", ") + value;
        }
        findings.push_back(Found(fkEntryDiffers, nullptr, L"", L"", values));
    }
}

bool TInstallCheck::StillHolds(const TFinding& f) const {
    std::uint64_t size = 0;
    std::uint64_t time = 0;
    bool readOnly = false;
    switch (f.Kind) {
    case fkMissing:
        return !FileExists(f.Target);
    case fkDifferent:
    case fkUnreadable:
        return CompareContent({f.Target, f.Original}).Outcome != TContentVerdict::cvSame;
    case fkReadOnly:
        return !ReadFileStamp(f.Target, size, time, readOnly) || readOnly;
    case fkOriginalMissing:
        return !FileExists(f.Original);
    case fkFontMissing:
        return !FileExists(f.Target);
    case fkFontUnregistered:
        return !IsFontRegistered(f.Detail, ExtractFileName(f.Target));
    case fkShortcutMissing:
        return !FileExists(f.Target);
    case fkEntryMissing:
    case fkEntryDiffers:
        break;
    }
    return CheckRegistration(FTarget, FEntrySource).State != TEntryCheck::ecRight;
}
