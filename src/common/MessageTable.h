#pragma once
#include <array>
#include <string>

// The library's clinical terms and labels, in Russian unless the language file replaces them.
// Set at start-up by LoadMessageTable, read-only afterwards.
extern const std::array<std::wstring, 3>& ConstitutionNames;
extern const std::array<std::wstring, 22>& DiagnosisNames;
extern const std::array<std::wstring, 9>& MedicationNames;
extern const std::array<std::wstring, 5>& ConclusionNames;
extern const std::array<std::wstring, 10>& CommonProcTexts;

// Reads every replaceable text from LanguageFile; absent file, section or key keep the
// built-in text. Only the start-up calls it, after InitCommonVar.
void LoadMessageTable();
