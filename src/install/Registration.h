#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The suite's entry in Windows' list of installed programs, under HKLM's Uninstall key (a
// 32-bit program's lands in the registry's 32-bit view on 64-bit Windows).
inline constexpr wchar_t RegistrationKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sontira";

// Writes or rewrites the entry for an installation in target (ending in "\") of the given
// size, installed from the distribution folder source (InstallSource; left out when empty).
// Names, version and publisher come from the running program's resources. False when the key
// cannot be written (no rights, for instance).
// installDate (YYYYMMDD) keeps an earlier date; empty means today.
bool WriteRegistration(const std::wstring& target, std::uint64_t installedBytes,
                       const std::wstring& source = {}, const std::wstring& installDate = {});

// The entry's InstallDate; empty when there is none.
std::wstring RegisteredDate();

// How the entry stands against what WriteRegistration would write for target and source
// (the date and the size left aside).
struct TEntryCheck {
    enum TState { ecMissing, ecOtherFolder, ecDiffers, ecRight };
    TState State = ecMissing;
    std::wstring Location;             // ecOtherFolder: the folder it names
    std::vector<std::wstring> Differs; // ecDiffers: the values missing or not as written
};
TEntryCheck CheckRegistration(const std::wstring& target, const std::wstring& source);

// The folder the entry names; empty when there is no entry.
std::wstring RegisteredLocation();

// Removes the entry when it names target (compared ignoring case). False when it names target
// and could not be removed.
bool RemoveRegistration(const std::wstring& target);
