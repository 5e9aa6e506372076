#include "InstallRunFixture.h"

#include "common/Handles.h"
#include "common/Paths.h"
#include "setup/SilentAnswers.h"
#include "install/SilentProgress.h"
#include "install/TargetFolder.h"
#include "ui/Application.h"

#include <shellapi.h>
#include <shlobj.h>

namespace runtest {

// As the sample distribution names them (tools/fonts.list), in the order the run installs them.
const TDistFont DistFonts[7] = {
    {L"ARIAL.TTF", L"DejaVu Sans"},     {L"ARIALN.TTF", L"DejaVu Sans Bold"},
    {L"COUR.TTF", L"DejaVu Sans Mono"}, {L"MICROSS.TTF", L"FreeSans"},
    {L"TAHOMA.TTF", L"FreeMono"},       {L"TIMES.TTF", L"FreeSerif"},
    {L"verdana.TTF", L"DejaVu Serif"}};

std::wstring FontLine(const TDistFont& font) {
    return L"Шрифт <" + std::wstring(font.FullName) + L"> уcтановлен";
}

std::wstring Done(const std::wstring& name) {
    return Unfinished(name) + L"Завершено";
}

std::wstring Unfinished(const std::wstring& name) {
    return L"Копирование файла " + name + L"....";
}

void WriteAll(const std::wstring& path, const std::string& bytes) {
    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << "cannot write the fixture file";
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, folder);
    return IncludeTrailingPathDelimiter(folder);
}

std::wstring DesktopLink() {
    wchar_t desktop[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop);
    return std::wstring(desktop) + L"\\Сонтира.lnk";
}

void RemoveInstalledFonts() {
    wchar_t windows[MAX_PATH] = L"";
    GetWindowsDirectoryW(windows, MAX_PATH);
    for (const TDistFont& font : DistFonts) {
        DeleteFileW((std::wstring(windows) + L"\\Fonts\\" + font.FileName).c_str());
    }
}

namespace {

// The sample distribution that the build lays out beside the test programs' folder.
std::wstring SampleDistribution() {
    return ExecutableFolder() + L"..\\dist\\";
}

void CopyContents(const std::wstring& from, const std::wstring& to) {
    std::wstring source = from + L"*";
    source.push_back(L'\0');
    std::wstring target = to;
    target.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_COPY;
    op.pFrom = source.c_str();
    op.pTo = target.c_str();
    op.fFlags = FOF_NO_UI;
    ASSERT_EQ(SHFileOperationW(&op), 0) << "cannot copy the sample distribution";
}

} // namespace

void InstallRunTest::SetUp() {
    Application.Title = L"Установка комплекса \"Сонтира\"";
    // As at start-up: the program's own folder is current when the run begins.
    SetCurrentDirectoryW(ExecutableFolder().c_str());
    SourceFolder = std::make_unique<TTempFolder>();
    WorkFolder = std::make_unique<TTempFolder>();
    From = SourceFolder->Path();
    Target = WorkFolder->Path() + L"Holter\\";
    CopyContents(SampleDistribution(), From);
    ASSERT_TRUE(FileExists(From + L"DTAfb\\R47.FDB")) << "build the distribution";
    DeleteFileW(DesktopLink().c_str());
    Form = std::make_unique<TFMain>();
    Form->Show();
    while (Form->Idle()) { // the later pages, as the message loop makes them
    }
    Form->SetDistributionFolderForTests(From);
    Form->CbDriverInstal.SetChecked(false); // the driver cases check it themselves
}

void InstallRunTest::TearDown() {
    if (Application.MainForm() == Form.get()) {
        Application.SetMainForm(nullptr);
    }
    Form.reset();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    // A run leaves its target current, which would keep the folder from being removed.
    SetCurrentDirectoryW(ExecutableFolder().c_str());
    SourceFolder.reset();
    WorkFolder.reset();
}

void InstallRunTest::OpenOptions(const std::wstring& target) {
    TDialogAnswerer answerer;
    answerer.PressTimed(L"OK"); // the driver warning of the options page
    ASSERT_TRUE(ClickButton(Form->Handle(), L"Далее"));
    Form->ePath.SetText(target);
    ASSERT_TRUE(ClickButton(Form->Handle(), L"Далее"));
    ASSERT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsInputComponents"});
}

void InstallRunTest::Install(TDialogAnswerer& answerer) {
    ASSERT_TRUE(ClickButton(Form->Handle(), L"Начать установку"));
    EXPECT_EQ(answerer.Unexpected(), 0);
    EXPECT_EQ(answerer.Unanswered(), 0u);
}

TRunResult InstallRunTest::RunWithoutWindow(const TRunChoices& choices) {
    CreateTargetFolders(choices.Target);
    TSilentProgress progress;
    TSilentAnswers answers(choices.InstallDriver);
    const TRunResult result = TInstallRun(choices, From, progress, answers).Execute();
    WindowlessLog = progress.Lines();
    return result;
}

std::vector<std::wstring> InstallRunTest::Log() const {
    std::vector<std::wstring> lines;
    for (int i = 0; i < Form->LogList.Count(); ++i) {
        lines.push_back(Form->LogList.Item(i));
    }
    return lines;
}

std::vector<std::wstring> InstallRunTest::VisiblePages() const {
    std::vector<std::wstring> names;
    for (TControl* page : Form->InsatallPages.Children()) {
        if (IsWindowVisible(page->Handle())) {
            names.push_back(page->Text());
        }
    }
    return names;
}

bool InstallRunTest::ExitEnabled() const {
    return IsWindowEnabled(Form->BtnExit.Handle()) != FALSE;
}

} // namespace runtest
