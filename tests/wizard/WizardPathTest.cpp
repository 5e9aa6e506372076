#include "WizardFixture.h"

#include "support/TempFolder.h"
#include "common/Paths.h"

namespace {
const wchar_t kEmpty[] = L"Не выбран путь для установки программы!";
const wchar_t kRoot[] = L"Программу нелзя устанавливать в корневой каталог!";
const wchar_t kNotMade[] = L"Ошибка при создании каталога!";

// "%T" in a case stands for the test's own folder (without its trailing backslash).
std::wstring Expand(std::wstring text, const std::wstring& folder) {
    const size_t at = text.find(L"%T");
    if (at != std::wstring::npos) {
        text.replace(at, 2, folder.substr(0, folder.size() - 1));
    }
    return text;
}
} // namespace

struct TPathCase {
    const wchar_t* Typed;
    const wchar_t* FieldAfter;
    const wchar_t* Message; // empty: accepted
    const wchar_t* Created; // a folder that must exist afterwards, or empty
    const wchar_t* Absent;  // a folder that must not exist afterwards, or empty
};

class WizardPath : public WizardTest, public testing::WithParamInterface<TPathCase> {};

TEST_P(WizardPath, ChecksNormalisesAndCreates) {
    const TPathCase& c = GetParam();
    TTempFolder temp;
    Click(L"Далее");
    TDialogAnswerer answerer;
    const bool accepted = *c.Message == L'\0';
    if (accepted) {
        answerer.PressTimed(L"OK");
    } else {
        answerer.Press(IDOK);
    }
    SubmitPath(Expand(c.Typed, temp.Path()));

    EXPECT_EQ(Form->ePath.Text(), Expand(c.FieldAfter, temp.Path()));
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Unexpected(), 0);
    if (accepted) {
        EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsInputComponents"});
        EXPECT_EQ(answerer.Seen()[0].Text, kDriverWarning);
        EXPECT_EQ(answerer.Seen()[0].Caption, L"");
    } else {
        EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsInputPath"});
        EXPECT_EQ(answerer.Seen()[0].Text, c.Message);
        EXPECT_EQ(answerer.Seen()[0].Icon,
                  c.Message == std::wstring(kRoot) ? UINT(MB_ICONWARNING) : UINT(MB_ICONERROR));
        EXPECT_EQ(GetFocus(), Form->ePath.Handle());
    }
    if (*c.Created != L'\0') {
        EXPECT_TRUE(FolderExists(Expand(c.Created, temp.Path())));
    }
    if (*c.Absent != L'\0') {
        EXPECT_FALSE(FolderExists(Expand(c.Absent, temp.Path())));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WizardPath,
    testing::Values(
        TPathCase{L"  %T\\Programs \t", L"%T\\Programs\\", L"", L"%T\\Programs\\Settings", L""},
        TPathCase{L"%T\\Target\\", L"%T\\Target\\", L"", L"%T\\Target\\Settings", L""},
        TPathCase{L"", L"", kEmpty, L"", L""}, TPathCase{L"   ", L"   ", kEmpty, L"", L""},
        TPathCase{L"C:", L"C:\\", kRoot, L"", L""},
        TPathCase{L"C:\\", L"C:\\", kRoot, L"", L"C:\\Settings"},
        TPathCase{L"ab\\", L"ab\\", kRoot, L"", L"ab"},
        TPathCase{L"%T\\New\\Sub", L"%T\\New\\Sub\\", L"", L"", L"%T\\New"},
        // Judged and shown as Windows will use it.
        TPathCase{L"C:\\.", L"C:\\", kRoot, L"", L"C:\\Settings"},
        TPathCase{L"C:/", L"C:\\", kRoot, L"", L"C:\\Settings"},
        TPathCase{L"%T\\Up\\..", L"%T\\", L"", L"%T\\Settings", L"%T\\Up"},
        TPathCase{L"%T//Fwd/./Dot. ", L"%T\\Fwd\\Dot\\", L"", L"", L"%T\\Fwd"},
        TPathCase{L"C:\\windows", L"C:\\windows\\", kRoot, L"", L"C:\\windows\\Settings"},
        TPathCase{L"%T\\NUL", L"%T\\NUL\\", kNotMade, L"", L""}));

TEST_F(WizardTest, RelativePathResolvesUnderTheProgramFolder) {
    ASSERT_TRUE(SetCurrentDirectoryW(ExecutableFolder().c_str()));
    const std::wstring name = L"RelTarget" + std::to_wstring(GetCurrentProcessId());
    const std::wstring folder = ExecutableFolder() + name + L"\\";
    Click(L"Далее");
    {
        TDialogAnswerer answerer;
        answerer.PressTimed(L"OK");
        SubmitPath(name);
        EXPECT_EQ(answerer.Unexpected(), 0);
    }
    const bool created = FolderExists(folder + L"Settings");
    RemoveTree(folder);
    EXPECT_TRUE(created);
    EXPECT_EQ(Form->ePath.Text(), folder); // the run gets the full path
    EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsInputComponents"});
}

TEST_F(WizardTest, BackAndNextRepeatTheCheckAndTheWarning) {
    TTempFolder temp;
    Click(L"Далее");
    TDialogAnswerer answerer;
    answerer.PressTimed(L"OK").Press(IDOK).PressTimed(L"OK");
    SubmitPath(temp.Path());
    Click(L"Назад");
    EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsInputPath"});
    SubmitPath(L"C:");
    EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsInputPath"});
    SubmitPath(temp.Path() + L"Again");
    EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsInputComponents"});

    ASSERT_EQ(answerer.Seen().size(), 3u);
    EXPECT_EQ(answerer.Seen()[0].Text, kDriverWarning);
    EXPECT_EQ(answerer.Seen()[1].Text, kRoot);
    EXPECT_EQ(answerer.Seen()[2].Text, kDriverWarning);
    EXPECT_EQ(answerer.Unexpected(), 0);
}
