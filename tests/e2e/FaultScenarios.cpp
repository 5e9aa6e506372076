// The fault-injection suite's table: one injected fault per case, each on a fresh copy of the
// distribution and a fresh target.
#include "Scenarios.h"

#include "FaultCases.h"
#include "Scenario.h"

namespace e2e {
namespace {

constexpr TScenario Faults[] = {
    {L"missing-database", MissingSourceItem<0>},
    {L"missing-runtime-file", MissingSourceItem<1>},
    {L"missing-plugin", MissingSourceItem<2>},
    {L"missing-library-Compare", MissingSourceItem<3>},
    {L"missing-library-PosStr", MissingSourceItem<4>},
    {L"missing-library-ProcessingECG", MissingSourceItem<5>},
    {L"missing-library-SDecision", MissingSourceItem<6>},
    {L"missing-fonts-folder", MissingSourceItem<7>},
    {L"missing-font", MissingSourceItem<8>},
    {L"missing-driver-folder", MissingSourceItem<9>},
    {L"missing-backup-folder", MissingSourceItem<10>},
    {L"missing-releaseinfo", MissingSourceItem<11>},
    {L"target-ini-garbage", MalformedInput<0>},
    {L"target-ini-long-line", MalformedInput<1>},
    {L"source-ini-garbage", MalformedInput<2>},
    {L"source-ini-long-line", MalformedInput<3>},
    {L"releaseinfo-not-xml", MalformedInput<4>},
    {L"releaseinfo-empty", MalformedInput<5>},
    {L"releaseinfo-50mib", MalformedInput<6>},
    {L"releaseinfo-entity-expansion", MalformedInput<7>},
    {L"backup-name-short", MalformedInput<8>},
    {L"backup-name-letters", MalformedInput<9>},
    {L"backup-31-february", MalformedInput<10>},
    {L"font-not-a-font", MalformedInput<11>},
    {L"font-truncated", MalformedInput<12>},
    {L"path-long", OddTargetPath<0>},
    {L"path-blanks-cyrillic", OddTargetPath<1>},
    {L"path-forward-slashes", OddTargetPath<2>},
    {L"path-trailing-dot", OddTargetPath<3>},
    {L"path-trailing-blank", OddTargetPath<4>},
    {L"path-no-such-drive", OddTargetPath<5>},
    {L"held-database", LockedTarget<0>},
    {L"held-runtime-file", LockedTarget<1>},
    {L"read-only-runtime-file", LockedTarget<2>},
    {L"read-only-holter-ini", LockedTarget<3>},
    {L"read-only-database-folder", LockedTarget<4>},
    {L"read-only-target-folder", LockedTarget<5>},
    {L"read-only-udf-folder", LockedTarget<6>},
    {L"no-room-database", FullDisk<0>},
    {L"no-room-runtime-file", FullDisk<1>},
    {L"no-room-full-disk", FullDisk<2>},
    {L"killed-in-database-copy", KilledRun<0>},
    {L"killed-in-backup-copy", KilledRun<1>},
    {L"killed-after-fonts", KilledRun<2>},
    {L"killed-journal-changed", ChangedJournal},
    {L"held-during-undo", HeldDuringUndo},
    {L"immutable-updater-file", CopyNotMade<0>},
    {L"disk-filled-during-backup-copy", CopyNotMade<1>},
    {L"links-left-alone", LinksLeftAlone},
    {L"record-lines-do-not-fit", RecordLinesThatDoNotFit},
    {L"driver-folder-not-copied", DriverFolderNotCopied},
};

} // namespace

std::span<const TScenario> FaultScenarios() {
    return Faults;
}

} // namespace e2e
