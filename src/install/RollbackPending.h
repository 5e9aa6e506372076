#pragma once
#include <functional>
#include <string>

// The journal of the run in progress is named in the registry, so that whichever program
// starts next finds a run that was killed, whatever folder it installed into.
bool SetPendingJournal(const std::wstring& journal);
std::wstring PendingJournal(); // empty when none
void ClearPendingJournal(const std::wstring& journal);

// Undoes every change a journal lists, last first, each item to `log`; then deletes the
// rollback folder and clears the registry's name for it. A journal that ends in "commit"
// only has its folder deleted. False when something could not be put back or deleted: the
// journal then stays, to be finished at the next start.
bool UndoJournal(const std::wstring& journal, const std::function<void(const std::wstring&)>& log);
// Deletes the rollback folder of a committed run and clears its name. False when some of it
// stayed.
bool FinishCommit(const std::wstring& journal);
