#pragma once
#include <cstdint>
#include <string>

// The suite's entry in Windows' list of installed programs, under HKLM's Uninstall key (a
// 32-bit program's lands in the registry's 32-bit view on 64-bit Windows).
inline constexpr wchar_t RegistrationKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sontira";

// Writes or rewrites the entry for an installation in target (ending in "\") of the given
// size. Names, version and publisher come from the running program's resources. False when
// the key cannot be written (no rights, for instance).
bool WriteRegistration(const std::wstring& target, std::uint64_t installedBytes);

// The folder the entry names; empty when there is no entry.
std::wstring RegisteredLocation();

// Removes the entry when it names target (compared ignoring case). False when it names target
// and could not be removed.
bool RemoveRegistration(const std::wstring& target);
