#pragma once
#include "primitives/FilePrimitives.h"
#include "install/InstallLog.h"

// Copies that failed are said in one plain line of the run's log with their count and where
// the list is; each file then goes to the log file with its reason. Nothing when none failed.
void ReportCopyFailures(TInstallLog& log, const TCopyFailures& failures);
