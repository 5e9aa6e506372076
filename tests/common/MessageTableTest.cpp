#include "common/CommonProc.h"
#include "common/CommonVar.h"
#include "common/MessageTable.h"
#include "common/Paths.h"
#include "common/Utf8.h"
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
    InitCommonVarForTests(ExcludeTrailingPathDelimiter(folder.Path()));
    InitCommonProc();
}

enum TListName { Constitution, Diagnosis, Medication, Conclusion, Proc };

const std::wstring& Element(TListName list, size_t index) {
    switch (list) {
    case Constitution:
        return ConstitutionNames.at(index);
    case Diagnosis:
        return DiagnosisNames.at(index);
    case Medication:
        return MedicationNames.at(index);
    case Conclusion:
        return ConclusionNames.at(index);
    case Proc:
        break;
    }
    return CommonProcTexts.at(index);
}

// Every key of the language file with its section, target and Russian text, as the suite's
// documentation gives them; written out here so that a changed text or key in the product shows.
struct TTextRow {
    const char* Section;
    const char* Key;
    TListName List;
    size_t Index;
    const wchar_t* Default;
};
const TTextRow Texts[] = {
    {"SN_Messages", "Normo", Constitution, 0, L"Нормостеник"},
    {"SN_Messages", "Giper", Constitution, 1, L"Гиперстеник"},
    {"SN_Messages", "Asten", Constitution, 2, L"Астеник"},
    {"SN_Messages", "Gip", Diagnosis, 0, L"Гипертония"},
    {"SN_Messages", "NIP", Diagnosis, 1, L"Нефрит или пиелонефрит"},
    {"SN_Messages", "NMK", Diagnosis, 2, L"Нарушение мозгового кровообращения"},
    {"SN_Messages", "IBS", Diagnosis, 3, L"ИБС"},
    {"SN_Messages", "Ste", Diagnosis, 4, L"Стенокардия"},
    {"SN_Messages", "PKa", Diagnosis, 5, L"Постинфарктный кардиосклероз"},
    {"SN_Messages", "IPF", Diagnosis, 6, L"Инфаркт, подострая фаза"},
    {"SN_Messages", "Rev", Diagnosis, 7, L"Ревматизм"},
    {"SN_Messages", "NCD", Diagnosis, 8, L"НЦД"},
    {"SN_Messages", "HNZ", Diagnosis, 9, L"Хрон. неспецифич. заболевания легких"},
    {"SN_Messages", "BAs", Diagnosis, 10, L"Бронхиальная астма"},
    {"SN_Messages", "IOF", Diagnosis, 11, L"Инфаркт, острая фаза"},
    {"SN_Messages", "MSt", Diagnosis, 12, L"Митральный стеноз"},
    {"SN_Messages", "API", Diagnosis, 13, L"Аортальный порок или митр. недостат"},
    {"SN_Messages", "DMP", Diagnosis, 14, L"Дефект межжелудочковой перегородки"},
    {"SN_Messages", "DMPP", Diagnosis, 15, L"Дефект межпредсердной перегородки"},
    {"SN_Messages", "OAP", Diagnosis, 16, L"Общий артериальный проток"},
    {"SN_Messages", "SAo", Diagnosis, 17, L"Стеноз аорты"},
    {"SN_Messages", "KAo", Diagnosis, 18, L"Коарктация аорты"},
    {"SN_Messages", "SLA", Diagnosis, 19, L"Стеноз лег. арт, тетр. и триада Фало"},
    {"SN_Messages", "IVR", Diagnosis, 20, L"Искусственный водитель ритма"},
    {"SN_Messages", "SGl", Medication, 0, L"сердечные гликозиды"},
    {"SN_Messages", "Hin", Medication, 1, L"хинидин"},
    {"SN_Messages", "Kor", Medication, 2, L"кордарон"},
    {"SN_Messages", "PAn", Medication, 3, L"пр. антиритмические"},
    {"SN_Messages", "NPr", Medication, 4, L"нитропрепараты"},
    {"SN_Messages", "ACA", Medication, 5, L"Антогонисты Ca"},
    {"SN_Messages", "BBl", Medication, 6, L"Б-блокаторы"},
    {"SN_Messages", "Ant", Medication, 7, L"антигипертензионные"},
    {"SN_Messages", "Diu", Medication, 8, L"диуретики"},
    {"SN_Messages", "Norm", Conclusion, 0, L"Норма"},
    {"SN_Messages", "BLN", Conclusion, 1, L"БЛН"},
    {"SN_Messages", "BPN", Conclusion, 2, L"БПН"},
    {"SN_Messages", "nOp", Conclusion, 4, L"Не определен"},
    {"SN_Common_Proc", "Sbo", Proc, 0, L"СБОЙ"},
    {"SN_Common_Proc", "Met", Proc, 1, L"МЕТКА"},
    {"SN_Common_Proc", "nnn", Proc, 8, L"н"},
    {"SN_Common_Proc", "sss", Proc, 9, L"с"},
};

void ExpectBuiltInTexts() {
    for (const TTextRow& row : Texts) {
        SCOPED_TRACE(row.Key);
        EXPECT_EQ(Element(row.List, row.Index), row.Default);
    }
    EXPECT_EQ(DiagnosisNames[21], L"Сахарный диабет");
    EXPECT_EQ(ConclusionNames[3], L"WPW");
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
    InitCommonVarForTests(ExcludeTrailingPathDelimiter(folder.Path()));
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

// Every key lands in its own element: a language file that sets each key to a text of its own.
TEST(MessageTable, EachKeyFillsItsOwnElement) {
    std::string lng;
    std::string section;
    for (const TTextRow& row : Texts) {
        if (section != row.Section) {
            section = row.Section;
            lng += "[" + section + "]\r\n";
        }
        lng += std::string(row.Key) + "=text of " + row.Key + "\r\n";
    }
    TTempFolder folder;
    StartWithLanguageFile(folder, lng);
    for (const TTextRow& row : Texts) {
        SCOPED_TRACE(row.Key);
        EXPECT_EQ(Element(row.List, row.Index), L"text of " + Widen(row.Key));
    }
    EXPECT_EQ(DiagnosisNames[21], L"Сахарный диабет");
    EXPECT_EQ(ConclusionNames[3], L"WPW");
}
