#include "common/CommonProc.h"
#include "common/CommonVar.h"
#include "common/MessageTable.h"
#include "common/Paths.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>

namespace {
// Start-up of a program folder whose settings ask for English, with the given language file
// (none when nullopt).
void StartWithLanguageFile(const TTempFolder& folder, std::optional<std::string> lng) {
    CreateDirectoryW((folder / L"Settings").c_str(), nullptr);
    WriteBytes(folder / L"Settings\\holter.ini", "[options]\r\nLanguageSetting=ENG\r\n");
    if (lng) {
        WriteBytes(folder / L"Settings\\EngView.lng", *lng);
    }
    InitCommonVarIn(ExcludeTrailingPathDelimiter(folder.Path()));
    InitCommonProc();
}

void ExpectBuiltInTexts() {
    EXPECT_EQ(ConstitutionNames[0], L"Нормостеник");
    EXPECT_EQ(ConstitutionNames[2], L"Астеник");
    EXPECT_EQ(DiagnosisNames[0], L"Гипертония");
    EXPECT_EQ(DiagnosisNames[15], L"Дефект межпредсердной перегородки");
    EXPECT_EQ(DiagnosisNames[20], L"Искусственный водитель ритма");
    EXPECT_EQ(DiagnosisNames[21], L"Сахарный диабет");
    EXPECT_EQ(MedicationNames[0], L"сердечные гликозиды");
    EXPECT_EQ(MedicationNames[8], L"диуретики");
    EXPECT_EQ(ConclusionNames[0], L"Норма");
    EXPECT_EQ(ConclusionNames[3], L"WPW");
    EXPECT_EQ(ConclusionNames[4], L"Не определен");
    const std::array<std::wstring, 10> texts = {L"СБОЙ", L"МЕТКА", L"", L"",  L"",
                                                L"",     L"",      L"", L"н", L"с"};
    EXPECT_EQ(CommonProcTexts, texts);
}
} // namespace

TEST(MessageTable, RussianConfigurationReadsNoFileAtAll) {
    // Given an empty name, the profile functions may fall back to a file of the Windows
    // folder; a planted win.ini must not reach the table.
    WritePrivateProfileStringW(L"SN_Messages", L"Norm", L"from win.ini", L"win.ini");
    WritePrivateProfileStringW(L"SN_Common_Proc", L"Sbo", L"from win.ini", L"win.ini");
    TTempFolder folder;
    InitCommonVarIn(ExcludeTrailingPathDelimiter(folder.Path()));
    ASSERT_EQ(LanguageFile, L"");
    InitCommonProc();
    WritePrivateProfileStringW(L"SN_Messages", nullptr, nullptr, L"win.ini");
    WritePrivateProfileStringW(L"SN_Common_Proc", nullptr, nullptr, L"win.ini");
    ExpectBuiltInTexts();
}

TEST(MessageTable, MissingLanguageFileGivesBuiltInTexts) {
    TTempFolder folder;
    StartWithLanguageFile(folder, std::nullopt);
    ExpectBuiltInTexts();
}

TEST(MessageTable, FileWithOnlyNormReplacesOnlyThatText) {
    TTempFolder folder;
    StartWithLanguageFile(folder, "[SN_Messages]\r\nNorm=Normal\r\n");
    EXPECT_EQ(ConclusionNames[0], L"Normal");
    EXPECT_EQ(ConclusionNames[1], L"БЛН");
    EXPECT_EQ(DiagnosisNames[0], L"Гипертония");
    EXPECT_EQ(CommonProcTexts[0], L"СБОЙ");
}

TEST(MessageTable, EmptyValuesAndNamesInAnyCase) {
    TTempFolder folder;
    StartWithLanguageFile(folder, "[sn_messages]\r\nNORMO=\r\ngip=Hypertension\r\n"
                                  "DMPP=\"Atrial septal defect\"\r\n"
                                  "[SN_COMMON_PROC]\r\nsbo=FAILURE\r\nSSS=s\r\n");
    EXPECT_EQ(ConstitutionNames[0], L"");
    EXPECT_EQ(DiagnosisNames[0], L"Hypertension");
    EXPECT_EQ(DiagnosisNames[15], L"Atrial septal defect");
    EXPECT_EQ(CommonProcTexts[0], L"FAILURE");
    EXPECT_EQ(CommonProcTexts[9], L"s");
    EXPECT_EQ(ConstitutionNames[1], L"Гиперстеник");
}
