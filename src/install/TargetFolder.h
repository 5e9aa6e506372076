#pragma once
#include <string>

// The rules for a target folder typed on the path page or given on the command line.

// What the rules make of a typed target: trimmed, with exactly one trailing backslash added
// when it has none, then in its canonical form (CanonicalFolder). Refused when empty, as short
// as a drive root (three characters or fewer), a drive root or the Windows or a system folder
// in any spelling, or no folder at all (a device, a stream), with the text to show.
struct TTargetCheck {
    enum TVerdict { tcAccepted, tcEmpty, tcRoot, tcUnusable };
    TVerdict Verdict = tcAccepted;
    // The canonical target; the trimmed text with its backslash when it has no canonical form
    // or is too short; empty when refused as empty.
    std::wstring Path;
    std::wstring Refusal; // what the user reads when refused
};
TTargetCheck CheckTarget(const std::wstring& typed);

// Creates the target folder and its settings folder, one level each; failures are left for
// the installation run to find and report.
void CreateTargetFolders(const std::wstring& normalisedPath);

// What the user reads when the target folder cannot be made.
inline constexpr wchar_t TargetNotMade[] = L"Ошибка при создании каталога!";
