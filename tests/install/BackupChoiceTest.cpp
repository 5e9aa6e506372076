#include "common/Errors.h"
#include "install/BackupChoice.h"

#include <gtest/gtest.h>

namespace {

struct TChoiceCase {
    std::vector<std::wstring> Names;
    std::wstring Chosen;
};

std::wstring ChooseAmong(const std::vector<std::wstring>& names) {
    std::vector<std::wstring> paths;
    for (const std::wstring& name : names) {
        paths.push_back(L"C:\\Holter\\backup\\" + name);
    }
    return FolderName(ChooseNewestBackup(paths, L"C:\\Holter\\backup\\"));
}

} // namespace

TEST(BackupChoice, TheDateDecidesAndTiesGoToTheFirstInSortedOrder) {
    const TChoiceCase cases[] = {
        {{L"B150320", L"A150320"}, L"A150320"}, // equal keys 200315: sorted first wins
        {{L"Z010203", L"A311202"}, L"Z010203"}, // 030201 beats 021231 though it sorts last
        {{L"150320"}, L"150320"},               // six digits alone are a name
        {{L"r010100", L"R311299"}, L"R311299"}, // two-digit years: 991231 beats 000101
        {{L"b150320", L"A150320", L"a150320"}, L"A150320"},
    };
    for (const TChoiceCase& c : cases) {
        EXPECT_EQ(ChooseAmong(c.Names), c.Chosen) << c.Names.front();
    }
}

TEST(BackupChoice, KeysAreTheDateReadAsYYMMDD) {
    EXPECT_EQ(BackupKey(L"C:\\b\\A150320"), 200315);
    EXPECT_EQ(BackupKey(L"C:\\b\\A311202"), 21231);
    EXPECT_EQ(BackupKey(L"C:\\b\\150320"), 200315);
}

TEST(BackupChoice, BadNamesAndNoBackupsRaiseMessagesNamingTheFolder) {
    const wchar_t* bad[] = {L"Old", L"R15032O", L"R1503", L"backup-old"};
    for (const wchar_t* name : bad) {
        try {
            ChooseAmong({L"R150320", name});
            ADD_FAILURE() << "no error for " << name;
        } catch (const EError& e) {
            EXPECT_NE(e.Message().find(name), std::wstring::npos) << e.Message();
        }
    }
    try {
        ChooseNewestBackup({}, L"C:\\Holter\\backup\\");
        ADD_FAILURE() << "no error for an empty backup folder";
    } catch (const EError& e) {
        EXPECT_NE(e.Message().find(L"C:\\Holter\\backup\\"), std::wstring::npos);
    }
}
