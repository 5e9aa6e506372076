#include "common/MessageTable.h"

#include "common/CommonVar.h"
#include "common/IniValues.h"

namespace {
enum class TList { Constitution, Diagnosis, Medication, Conclusion, CommonProc };

struct TMessageKey {
    const wchar_t* Section;
    const wchar_t* Key;
    TList List;
    int Index;
    const wchar_t* Default;
};

constexpr const wchar_t* Msg = L"SN_Messages";
constexpr const wchar_t* Proc = L"SN_Common_Proc";

// In the order the language file is read.
constexpr TMessageKey Keys[] = {
    {Msg, L"Normo", TList::Constitution, 0, L"Нормостеник"},
    {Msg, L"Giper", TList::Constitution, 1, L"Гиперстеник"},
    {Msg, L"Asten", TList::Constitution, 2, L"Астеник"},
    {Msg, L"Gip", TList::Diagnosis, 0, L"Гипертония"},
    {Msg, L"NIP", TList::Diagnosis, 1, L"Нефрит или пиелонефрит"},
    {Msg, L"NMK", TList::Diagnosis, 2, L"Нарушение мозгового кровообращения"},
    {Msg, L"IBS", TList::Diagnosis, 3, L"ИБС"},
    {Msg, L"Ste", TList::Diagnosis, 4, L"Стенокардия"},
    {Msg, L"PKa", TList::Diagnosis, 5, L"Постинфарктный кардиосклероз"},
    {Msg, L"IPF", TList::Diagnosis, 6, L"Инфаркт, подострая фаза"},
    {Msg, L"Rev", TList::Diagnosis, 7, L"Ревматизм"},
    {Msg, L"NCD", TList::Diagnosis, 8, L"НЦД"},
    {Msg, L"HNZ", TList::Diagnosis, 9, L"Хрон. неспецифич. заболевания легких"},
    {Msg, L"BAs", TList::Diagnosis, 10, L"Бронхиальная астма"},
    {Msg, L"IOF", TList::Diagnosis, 11, L"Инфаркт, острая фаза"},
    {Msg, L"MSt", TList::Diagnosis, 12, L"Митральный стеноз"},
    {Msg, L"API", TList::Diagnosis, 13, L"Аортальный порок или митр. недостат"},
    {Msg, L"DMP", TList::Diagnosis, 14, L"Дефект межжелудочковой перегородки"},
    {Msg, L"DMPP", TList::Diagnosis, 15, L"Дефект межпредсердной перегородки"},
    {Msg, L"OAP", TList::Diagnosis, 16, L"Общий артериальный проток"},
    {Msg, L"SAo", TList::Diagnosis, 17, L"Стеноз аорты"},
    {Msg, L"KAo", TList::Diagnosis, 18, L"Коарктация аорты"},
    {Msg, L"SLA", TList::Diagnosis, 19, L"Стеноз лег. арт, тетр. и триада Фало"},
    {Msg, L"IVR", TList::Diagnosis, 20, L"Искусственный водитель ритма"},
    {Msg, L"SGl", TList::Medication, 0, L"сердечные гликозиды"},
    {Msg, L"Hin", TList::Medication, 1, L"хинидин"},
    {Msg, L"Kor", TList::Medication, 2, L"кордарон"},
    {Msg, L"PAn", TList::Medication, 3, L"пр. антиритмические"},
    {Msg, L"NPr", TList::Medication, 4, L"нитропрепараты"},
    {Msg, L"ACA", TList::Medication, 5, L"Антогонисты Ca"},
    {Msg, L"BBl", TList::Medication, 6, L"Б-блокаторы"},
    {Msg, L"Ant", TList::Medication, 7, L"антигипертензионные"},
    {Msg, L"Diu", TList::Medication, 8, L"диуретики"},
    {Msg, L"Norm", TList::Conclusion, 0, L"Норма"},
    {Msg, L"BLN", TList::Conclusion, 1, L"БЛН"},
    {Msg, L"BPN", TList::Conclusion, 2, L"БПН"},
    {Msg, L"nOp", TList::Conclusion, 4, L"Не определен"},
    {Proc, L"Sbo", TList::CommonProc, 0, L"СБОЙ"},
    {Proc, L"Met", TList::CommonProc, 1, L"МЕТКА"},
    {Proc, L"nnn", TList::CommonProc, 8, L"н"},
    {Proc, L"sss", TList::CommonProc, 9, L"с"},
};

std::array<std::wstring, 3> GConstitution;
std::array<std::wstring, 22> GDiagnosis;
std::array<std::wstring, 9> GMedication;
std::array<std::wstring, 5> GConclusion;
std::array<std::wstring, 10> GCommonProc;

std::wstring& Element(TList list, int index) {
    switch (list) {
    case TList::Constitution:
        return GConstitution.at(index);
    case TList::Diagnosis:
        return GDiagnosis.at(index);
    case TList::Medication:
        return GMedication.at(index);
    case TList::Conclusion:
        return GConclusion.at(index);
    case TList::CommonProc:
        break;
    }
    return GCommonProc.at(index);
}

// The four constant tables hold their Russian texts from the start, the fixed elements
// among them for good; the label list starts empty and is only filled by the load.
[[maybe_unused]] const bool GBuiltIn = [] {
    for (const TMessageKey& key : Keys) {
        if (key.List != TList::CommonProc) {
            Element(key.List, key.Index) = key.Default;
        }
    }
    GDiagnosis[21] = L"Сахарный диабет";
    GConclusion[3] = L"WPW";
    return true;
}();
} // namespace

const std::array<std::wstring, 3>& ConstitutionNames = GConstitution;
const std::array<std::wstring, 22>& DiagnosisNames = GDiagnosis;
const std::array<std::wstring, 9>& MedicationNames = GMedication;
const std::array<std::wstring, 5>& ConclusionNames = GConclusion;
const std::array<std::wstring, 10>& CommonProcTexts = GCommonProc;

void LoadMessageTable() {
    const TIniReader ini(LanguageFile);
    for (const TMessageKey& key : Keys) {
        Element(key.List, key.Index) = ini.ReadString(key.Section, key.Key, key.Default);
    }
}
