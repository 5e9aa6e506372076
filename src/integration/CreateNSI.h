#pragma once
#include <string>

// Makes sure the settings folder (ending in "\") holds "uca.nsi" and "wra.nsi", each a table
// of 60 empty entries. Files already there are left alone; nothing is reported.
void CreateReferenceFiles(const std::wstring& folder);
