#pragma once
#include <string>

// The installation run: Install.exe of the distribution folder is walked to the options page
// and timed from the click on "Начать установку" to the font-size page (the driver question
// answered No; the time the question waits for its answer is left out). Against it, CopyFileW
// copies the same files from the same folder. Both take turns, each into an absent target.
// Prints run.Install, run.CopyFileW and run.PeakWorkingSetKiB figures; 0 on success.
int BenchInstallRun(const std::wstring& distribution, int repetitions);
