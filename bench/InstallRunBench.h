#pragma once
#include <string>

// The installation run of the large distribution. Six contenders take turns, each into an
// absent target, after one untimed round:
//   run.Install       the wizard, walked to the options page and timed from the click on
//                     "Начать установку" to the font-size page (the driver question answered
//                     No; the time the question waits for its answer is left out);
//   run.Silent        Install.exe /VERYSILENT /DIR= /LOG=, from CreateProcessW to its exit;
//   run.Reinstall     the same over the installation an untimed run has just made there;
//   run.CopyFileW     CopyFileW of the same files from the same folder;
//   run.PeerCopy      the peer installer beside the distribution (peerCopy), /S /D=, which
//                     copies the same folders from it with CopyFiles;
//   run.PeerEmbedded  the peer installer that holds them (peerEmbedded), /S /D=.
// Prints each one's times in the order of the rounds, and the peak working sets of the four
// programs (run.PeakWorkingSetKiB for the wizard, run.SilentPeakKiB, run.PeerCopyPeakKiB,
// run.PeerEmbeddedPeakKiB). If Install.exe shows a window in /VERYSILENT or fails there, the
// silent run is left out with a message and the rest goes on. 0 on success.
int BenchInstallRun(const std::wstring& distribution, const std::wstring& peerCopy,
                    const std::wstring& peerEmbedded, int repetitions);
