#pragma once
#include "common/Settings.h"

#include <string>

// The shared values of the suite's library, set once at start-up and read-only afterwards.
extern const std::wstring& ProgramDir; // the executable's folder, ending in "\"
extern const TSettings& ProgramSettings;
extern const std::wstring& LanguageFile; // "" or ProgramDir + "Settings\EngView.lng"
extern const std::wstring& LanguageCode; // "RUS" or "ENG"

// Start-up of the shared values, before the message table and before any window exists.
void InitCommonVar();
// Test seam: the same start-up for a program that lives in the given folder, since the real
// one reads beside the running executable.
void InitCommonVarForTests(const std::wstring& programDir);

// Fills ProgramSettings from ProgramDir + "Settings\holter.ini"; only the start-up calls it.
void LoadSettings();
