#pragma once
#include "common/Handles.h"

#include <string>
#include <vector>

// Opens a key for full access, creating it when it is missing. An empty key when neither
// works (no rights, for instance).
TUniqueKey OpenOrCreateKey(HKEY root, const std::wstring& path);

// A string value of a subkey of an open key, as stored (not expanded). Empty when the key,
// the subkey or the value is missing, or the value is not a string.
std::wstring ReadSubkeyString(HKEY key, const std::wstring& subkey, const std::wstring& name);

// A value as stored: its type and bytes. False when the key or the value is missing.
bool ReadRawValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD& type,
                  std::vector<BYTE>& data);
