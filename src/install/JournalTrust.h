#pragma once
#include "install/RollbackJournal.h"

#include <string>
#include <vector>

// A journal found on disk steers what an administrator's run does next, and it lies in the
// installation folder, where users may write. It is acted on only when nobody but the system,
// the administrators and setup's own user could have written it, and only where every path it
// names lies in its run's installation folder (fonts in the fonts folder, what it keeps aside
// in its own folder): a user who may write there can then do no more through it than he could
// already.
enum class TJournalRead { jrRead, jrUnreadable, jrRefused };

// jrRefused names why in `why`.
TJournalRead ReadTrustedJournal(const std::wstring& journal, std::vector<TJournalLine>& lines,
                                std::wstring& why);
