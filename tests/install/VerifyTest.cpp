// The check of an installation against its distribution, and the repair of what it finds, on
// a real installation of the sample distribution.
#include "InstallRunFixture.h"

#include "common/Paths.h"
#include "common/WindowsFolder.h"
#include "install/InstallRecord.h"
#include "install/Registration.h"
#include "install/RepairRun.h"
#include "install/SilentProgress.h"
#include "install/Verify.h"
#include "primitives/Sha256.h"

using namespace runtest;

namespace {

constexpr wchar_t FontsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

void SetReadOnly(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), GetFileAttributesW(path.c_str()) | FILE_ATTRIBUTE_READONLY);
}

class VerifyTest : public InstallRunTest {
protected:
    void Install() {
        RemoveInstalledFonts();
        ASSERT_EQ(RunWithoutWindow({Target, true, false, false, true}), TRunResult::rrCompleted);
    }

    std::vector<std::wstring> Texts(const TFindings& findings) {
        std::vector<std::wstring> texts;
        for (const TFinding& finding : findings) {
            texts.push_back(FindingText(finding));
        }
        return texts;
    }

    TFindings Check() {
        const TRecordFile record = ReadInstallRecord(Target);
        EXPECT_EQ(record.State, TRecordState::rsRead) << record.Error;
        return TInstallCheck(From, Target, record.Entries).Run({});
    }
};

TEST_F(VerifyTest, FindsEachDamageAndTheRepairPutsItRightLeavingTheClinicsDataAlone) {
    Install();
    EXPECT_EQ(ReadInstallRecord(Target).Entries.Source(), From);
    EXPECT_EQ(Texts(Check()), std::vector<std::wstring>{});

    // The clinic's data and files no run wrote: changed freely, never judged.
    WriteAll(Target + L"DTAfb\\R47.FDB", "the clinic's patients");
    WriteAll(Target + L"Settings\\holter.ini", "[options]\r\nFilterType=3\r\n");
    WriteAll(Target + L"пациент 1.dat", "a recording");
    WriteAll(Target + L"backup-ran.txt", "the script's own file");

    ASSERT_TRUE(DeleteFileW((Target + L"intl\\fbintl.dll").c_str()));
    const std::wstring changed = Target + L"udf\\fbudf.sql";
    const FILETIME time = LastWriteTime(changed);
    std::string bytes = ReadBytes(changed);
    bytes[0] ^= 1;
    WriteAll(changed, bytes);
    SetLastWriteTime(changed, time);
    SetReadOnly(Target + L"backup\\R150320\\Install.cmd");
    ASSERT_TRUE(DeleteFileW((Target + L"ReleaseInfo").c_str()));
    ASSERT_EQ(RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, FontsKey, L"DejaVu Sans (TrueType)"),
              ERROR_SUCCESS);
    ASSERT_TRUE(DeleteFileW((WindowsFontsFolder() + L"COUR.TTF").c_str()));
    ASSERT_TRUE(DeleteFileW(DesktopLink().c_str()));
    ASSERT_EQ(RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, RegistrationKey, L"ModifyPath"),
              ERROR_SUCCESS);

    const TFindings findings = Check();
    EXPECT_EQ(Texts(findings),
              (std::vector<std::wstring>{
                  L"Файл отсутствует: " + Target + L"intl\\fbintl.dll",
                  L"Файл отличается от дистрибутива: " + changed,
                  L"Файл только для чтения: " + Target + L"backup\\R150320\\Install.cmd",
                  L"Файл отсутствует: " + Target + L"ReleaseInfo",
                  L"Шрифт не зарегистрирован: DejaVu Sans (TrueType) (" + WindowsFontsFolder() +
                      L"ARIAL.TTF)",
                  L"Шрифт отсутствует: " + WindowsFontsFolder() + L"COUR.TTF",
                  L"Ярлык отсутствует: " + DesktopLink(),
                  L"Запись в списке установленных программ отличается: ModifyPath",
              }));

    // Its size kept, the changed file is told by its bytes; the log gets both digests.
    TSha256 mine{}, theirs{};
    const std::string original = ReadBytes(findings[1].Original);
    ASSERT_TRUE(Sha256(bytes.data(), bytes.size(), mine));
    ASSERT_TRUE(Sha256(original.data(), original.size(), theirs));
    EXPECT_EQ(findings[1].Detail, L"SHA-256 установленного " + HexDigest(mine) +
                                      L", дистрибутива " + HexDigest(theirs));

    TSilentProgress progress;
    TRepairRun(From, Target, progress).Execute(findings, ReadInstallRecord(Target).Entries);
    EXPECT_EQ(Texts(Check()), std::vector<std::wstring>{});
    EXPECT_EQ(ReadBytes(Target + L"DTAfb\\R47.FDB"), "the clinic's patients");
    EXPECT_EQ(ReadBytes(Target + L"Settings\\holter.ini"), "[options]\r\nFilterType=3\r\n");
    EXPECT_EQ(ReadBytes(Target + L"пациент 1.dat"), "a recording");
    EXPECT_EQ(ReadBytes(Target + L"backup-ran.txt"), "the script's own file");
    EXPECT_NE(ReadBytes(Target + L"ReleaseInfo").find("150320"), std::string::npos);
    EXPECT_EQ(RegisteredDate().size(), 8u); // kept, not removed with the rewrite

    // The record follows what the repair wrote, so that a removal takes it away again.
    const TRecordFile record = ReadInstallRecord(Target);
    const TRecordEntry* copied = record.Entries.Find(TRecordKind::rkFile, L"intl\\fbintl.dll");
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->WriteTime,
              static_cast<std::uint64_t>(Ticks(LastWriteTime(Target + L"intl\\fbintl.dll"))));
    EXPECT_EQ(record.Entries.Find(TRecordKind::rkFile, L"DTAfb\\R47.FDB")->Size, 64u * 1024);
}

// What the distribution lacks cannot be judged nor put back: it stays a finding.
TEST_F(VerifyTest, FileTheDistributionLacksStaysAFinding) {
    Install();
    EXPECT_TRUE(IsDistributionFolder(From));
    EXPECT_FALSE(IsDistributionFolder(Target));
    ASSERT_TRUE(DeleteFileW((From + L"Firebird\\gbak.exe").c_str()));
    const TFindings findings = Check();
    ASSERT_EQ(Texts(findings), std::vector<std::wstring>{L"Нет файла в дистрибутиве: " + From +
                                                         L"Firebird\\gbak.exe"});
    TSilentProgress progress;
    TRepairRun(From, Target, progress).Execute(findings, ReadInstallRecord(Target).Entries);
    const TRecordFile record = ReadInstallRecord(Target);
    EXPECT_TRUE(TInstallCheck(From, Target, record.Entries).StillHolds(findings[0]));
}

} // namespace
