// The run after the fonts: driver question and installer, backups, updater, release level,
// shortcut, and how it ends.
#include "InstallRunFixture.h"

#include "common/Errors.h"
#include "common/Handles.h"
#include "common/Paths.h"
#include "common/SetupLog.h"
#include "support/ShellLinkRead.h"

#include <shlobj.h>

#include <algorithm>

using namespace runtest;

namespace {

const wchar_t* const DriverQuestion = L"Подключите интерфейсный блок и нажмите \"Yes\"?";
const wchar_t* const DriverStarted = L"Началась установка драйверов устройства...";
const wchar_t* const DriverFinished = L"Установка драйверов устройства завершена";

std::string Utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

bool ReadOnly(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

} // namespace

TEST_F(InstallRunTest, DriverStepOnlyOnYes) {
    const struct {
        const char* Name;
        bool Checked;
        int Answer; // 0: no question expected
        bool DriverFolder;
        const wchar_t* TargetName;
        bool Runs;
    } cases[] = {
        {"unchecked", false, 0, true, L"Holter\\", false},
        {"No", true, IDNO, true, L"Holter\\", false},
        {"Yes, target with a blank", true, IDYES, true, L"Holter 2\\", true},
        {"Yes, no driver folder", true, IDYES, false, L"Holter\\", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        if (&c != cases) {
            Restart();
        }
        Target = WorkFolder->Path() + c.TargetName;
        // Where the target's name has a blank, a program named like its first part stands
        // ready to be started by an unquoted command line; it would log beside itself.
        const std::wstring decoy = WorkFolder->Path() + L"Holter.exe";
        CopyFileW((From + L"FTDIDriverInstall\\FTDIDriverInstall.exe").c_str(), decoy.c_str(),
                  FALSE);
        if (!c.DriverFolder) {
            RemoveTree(From + L"FTDIDriverInstall");
        }
        OpenOptions(Target);
        Form->CbDriverInstal.SetChecked(c.Checked);
        TDialogAnswerer answerer;
        if (c.Answer != 0) {
            answerer.Press(c.Answer);
        }
        Install(answerer);

        ASSERT_EQ(answerer.Seen().size(), c.Answer != 0 ? 1u : 0u);
        if (c.Answer != 0) {
            EXPECT_EQ(answerer.Seen()[0].Text, DriverQuestion);
            EXPECT_EQ(answerer.Seen()[0].Icon, UINT(MB_ICONQUESTION));
        }
        const std::vector<std::wstring> log = Log();
        const auto driverLines = std::count(log.begin(), log.end(), DriverStarted) +
                                 std::count(log.begin(), log.end(), DriverFinished);
        if (c.Runs) {
            ASSERT_GE(log.size(), 2u);
            EXPECT_EQ(log[log.size() - 2], DriverStarted);
            EXPECT_EQ(log.back(), DriverFinished);
        } else {
            EXPECT_EQ(driverLines, 0);
        }
        const std::wstring installer = Target + L"FTDIDriverInstall\\FTDIDriverInstall.exe";
        EXPECT_EQ(FileExists(installer), c.Runs && c.DriverFolder);
        if (c.Runs && c.DriverFolder) {
            // The installer ran by its quoted path, in the setup program's own folder.
            EXPECT_EQ(ReadBytes(Target + L"FTDIDriverInstall\\FTDIDriverInstall.log"),
                      Utf8(L"ran: \"" + installer + L"\" | in: " +
                           ExcludeTrailingPathDelimiter(ExecutableFolder()) + L"\r\n"));
        }
        EXPECT_FALSE(FileExists(WorkFolder->Path() + L"FTDIDriverInstall.log"));
        EXPECT_TRUE(ExitEnabled()) << "the run went on to its end";
    }
}

TEST_F(InstallRunTest, BackupFolderProblemsStopTheRunNamingTheFolder) {
    const struct {
        const char* Name;
        bool SourceBackups;
        const wchar_t* LeftInTarget; // a folder of an earlier installation
        std::wstring Named;          // relative to the target
    } cases[] = {
        {"a folder without a date", true, L"backup\\old-build", L"old-build"},
        {"no backup at all", false, nullptr, L"backup\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        if (&c != cases) {
            Restart();
        }
        if (!c.SourceBackups) {
            RemoveTree(From + L"backup");
        }
        OpenOptions(Target);
        if (c.LeftInTarget != nullptr) {
            ASSERT_TRUE(ForceDirectories(Target + c.LeftInTarget));
        }
        TDialogAnswerer answerer;
        answerer.Press(IDOK);
        Install(answerer);

        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen()[0].Icon, UINT(MB_ICONERROR));
        const std::wstring named = c.SourceBackups ? c.Named : Target + c.Named;
        EXPECT_NE(answerer.Seen()[0].Text.find(L"\"" + named + L"\""), std::wstring::npos)
            << answerer.Seen()[0].Text;
        EXPECT_FALSE(FileExists(Target + L"backup-ran.txt"));
        EXPECT_FALSE(FileExists(DesktopLink()));
        EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsProgressInstall"});
        EXPECT_FALSE(ExitEnabled());
        EXPECT_TRUE(Form->CanClose());
    }
}

TEST_F(InstallRunTest, CompletedRunRecordsItselfAndEndsOnTheFontSizePage) {
    ASSERT_TRUE(
        SetFileAttributesW((From + L"Updater\\ReleaseInfo").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(ReadOnly(From + L"Updater\\Updater.exe.cfg"));
    OpenOptions(Target);
    TDialogAnswerer answerer;
    Install(answerer);
    EXPECT_TRUE(answerer.Seen().empty());

    // The newest backup, R150320, ran in its own folder and gave the release level.
    const std::string ran = ReadBytes(Target + L"backup-ran.txt");
    EXPECT_EQ(ran.rfind("R150320 ran in ", 0), 0u) << ran;
    EXPECT_EQ(ran.find("R010203"), std::string::npos) << ran;
    EXPECT_TRUE(FileExists(Target + L"backup\\R010203\\Install.cmd"));
    EXPECT_NE(ReadBytes(Target + L"ReleaseInfo").find("<Level>150320</Level>"), std::string::npos);
    EXPECT_TRUE(FileExists(Target + L"Updater.exe"));
    EXPECT_FALSE(ReadOnly(Target + L"ReleaseInfo"));
    EXPECT_FALSE(ReadOnly(Target + L"Updater.exe.cfg"));

    const TLinkRead link = ReadShellLink(DesktopLink());
    EXPECT_EQ(link.Target, Target + L"Shell.exe");
    EXPECT_EQ(link.Description,
              L"Комплекс суточного мониторирования электрокардиограмм \"Сонтира\"");
    EXPECT_TRUE(SamePath(IncludeTrailingPathDelimiter(link.WorkingDir), Target)) << link.WorkingDir;

    EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsChangeFontSize"});
    EXPECT_TRUE(ExitEnabled());
    EXPECT_TRUE(SamePath(CurrentFolder(), Target)) << CurrentFolder();
}

// A backup named with its date alone: its script runs, and the level is the name without its
// first character, as for "R150320", not the date.
TEST_F(InstallRunTest, BackupNamedOnlyByItsDateGivesTheNameWithoutItsFirstCharacter) {
    ASSERT_TRUE(MoveFileW((From + L"backup\\R150320").c_str(), (From + L"backup\\150320").c_str()));
    OpenOptions(Target);
    TDialogAnswerer answerer;
    Install(answerer);
    EXPECT_TRUE(answerer.Seen().empty());

    const std::string ran = ReadBytes(Target + L"backup-ran.txt");
    EXPECT_EQ(ran.rfind("R150320 ran in ", 0), 0u) << ran;
    EXPECT_NE(ran.find("\\backup\\150320"), std::string::npos) << ran;
    EXPECT_NE(ReadBytes(Target + L"ReleaseInfo").find("<Level>50320</Level>"), std::string::npos);
}

// A backup or updater file that is not copied is said after that step, the files in the log
// file, or in the list when there is none; the run still goes to its end.
TEST_F(InstallRunTest, FailedCopiesAreSaidAndTheRunGoesOn) {
    for (const bool logFile : {true, false}) {
        SCOPED_TRACE(logFile ? "with a log file" : "without a log file");
        if (!logFile) {
            Restart();
        }
        const std::wstring logPath = WorkFolder->Path() + L"setup.log";
        if (logFile) {
            SetupLog().Open(logPath, L"");
        }
        const std::wstring source = From + L"Updater\\Updater.exe";
        const TUniqueFile held(
            CreateFileW(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        OpenOptions(Target);
        TDialogAnswerer answerer;
        Install(answerer);
        SetupLog().Close();

        const std::wstring named = L"Файл не скопирован: " + Target + L"Updater.exe (из " + source +
                                   L"): " + SysErrorMessage(ERROR_SHARING_VIOLATION);
        const std::vector<std::wstring> log = Log();
        ASSERT_GE(log.size(), 2u);
        if (logFile) {
            EXPECT_EQ(log.back(),
                      L"Не удалось скопировать файлов: 1. Список в журнале установки: " + logPath);
            const std::string written = ReadBytes(logPath);
            EXPECT_NE(written.find(Utf8(log.back() + L"\r\n")), std::string::npos);
            EXPECT_NE(written.find(Utf8(named + L"\r\n")), std::string::npos) << written;
        } else {
            EXPECT_EQ(log[log.size() - 2], L"Не удалось скопировать файлов: 1. Список ниже:");
            EXPECT_EQ(log.back(), named);
        }
        EXPECT_EQ(Form->LastRunResult(), TRunResult::rrCopiesFailed);
        EXPECT_NE(ReadBytes(Target + L"ReleaseInfo").find("<Level>150320</Level>"),
                  std::string::npos);
        EXPECT_TRUE(FileExists(DesktopLink()));
        EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsChangeFontSize"});
        EXPECT_TRUE(ExitEnabled());
    }
}
