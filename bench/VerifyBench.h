#pragma once
#include <string>

// /VERIFY and /REPAIR of the large installation. The distribution is installed once with
// /VERYSILENT; then, after one untimed round, each round times
//   verify.ReadFile  every file the check compares read once with ReadFile in 1 MiB pieces,
//                    the installed one and the distribution's, on one thread;
//   verify.Verify    Uninstall.exe /VERIFY /VERYSILENT of the intact installation, from
//                    CreateProcessW to its exit (start-up included);
//   verify.Repair    Uninstall.exe /REPAIR /VERYSILENT after one backup file was changed with
//                    its size kept (it finds that one and copies it again).
// Prints each one's times in the order of the rounds, the files and MiB the check compares
// (verify.Files, verify.MiB). 0 on success.
int BenchVerify(const std::wstring& distribution, int repetitions);
