#pragma once

namespace e2e {

class TContext;

// The fault cases, one injected fault each; the table is in FaultScenarios.cpp.

// A source item missing from the distribution (N indexes the table in FaultSources.cpp).
template <int N> void MissingSourceItem(TContext& context);

// Malformed inputs (FaultInputs.cpp).
template <int N> void MalformedInput(TContext& context);

// Odd target paths (FaultPaths.cpp).
template <int N> void OddTargetPath(TContext& context);

// Files held open, read-only files and folders (FaultLocks.cpp).
template <int N> void LockedTarget(TContext& context);

// A disk short of room for the run (FaultSpace.cpp).
template <int N> void FullDisk(TContext& context);

// Backup and updater files not copied: immutable, or the disk filled meanwhile (FaultCopies.cpp).
template <int N> void CopyNotMade(TContext& context);

// The program killed midway, then started again (FaultKill.cpp).
template <int N> void KilledRun(TContext& context);
// A killed run's journal changed by a user: the next start does nothing it says (FaultKill.cpp).
void ChangedJournal(TContext& context);

// A rollback that meets a held file, finished at the next start (FaultHeldUndo.cpp).
void HeldDuringUndo(TContext& context);

// Links put into an installation: removal follows none; an installation folder that is a link
// is left whole; /LOG through a link into the database folder is refused; the record is never
// rewritten through a link (FaultLinks.cpp).
void LinksLeftAlone(TContext& context);

// Record lines that do not fit on a full disk leave no half line; a driver folder the shell
// could not copy is not recorded (FaultRecordGaps.cpp).
void RecordLinesThatDoNotFit(TContext& context);
void DriverFolderNotCopied(TContext& context);

} // namespace e2e
