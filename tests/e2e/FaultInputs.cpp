// Malformed inputs: settings files, release information, backup names, fonts.
#include <windows.h>

#include <string>

#include "FaultCases.h"
#include "FaultFiles.h"
#include "FaultRun.h"
#include "Files.h"
#include "Report.h"
#include "Scenario.h"
#include "Snapshot.h"

namespace e2e {
namespace {

std::string Garbage() {
    std::string bytes;
    unsigned seed = 12345;
    for (int i = 0; i < 8192; ++i) {
        seed = seed * 1103515245 + 12345;
        bytes += static_cast<char>(seed >> 16);
    }
    return bytes;
}

std::string LongLineIni() {
    return "[options]\r\nComment=" + std::string(100000, 'x') +
           "\r\nFilterType=3\r\n[clinic]\r\nName=Polyclinic 5\r\n";
}

std::string BigReleaseInfo() {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ROOT>\n<Version>1</Version>\n"
                      "<Level>000000</Level>\n<Notes>";
    xml += std::string(50 * 1024 * 1024, 'n');
    return xml + "</Notes>\n</ROOT>\n";
}

constexpr char EntityBomb[] =
    "<?xml version=\"1.0\"?>\n<!DOCTYPE ROOT [\n<!ENTITY a \"aaaaaaaaaaaaaaaa\">\n"
    "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n"
    "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
    "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">\n"
    "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">\n"
    "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">\n"
    "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">\n"
    "]>\n<ROOT><Version>1</Version><Level>000000</Level><Notes>&g;</Notes></ROOT>\n";

int ReadOption(const std::wstring& ini, const wchar_t* key) {
    return static_cast<int>(GetPrivateProfileIntW(L"options", key, -1, ini.c_str()));
}

std::wstring LevelOf(const std::wstring& target) {
    const std::string xml = ReadBytes(target + L"ReleaseInfo");
    const size_t start = xml.find("<Level>");
    const size_t end = xml.find("</Level>");
    return start == std::string::npos || end == std::string::npos
               ? L""
               : FromUtf8(xml.substr(start + 7, end - start - 7));
}

struct TInputCase {
    // Changes the distribution copy or the earlier installation before the run.
    void (*Inject)(const std::wstring& dist, const std::wstring& target);
    TRunEnd::TKind End;
    const wchar_t* Box;
    // Checks beyond the common ones.
    void (*Verify)(TContext& context, const std::wstring& dist, const std::wstring& target);
    bool KeepsIni; // the earlier holter.ini is left for the common check
};

void KeysWritten(TContext& context, const std::wstring&, const std::wstring& target) {
    const std::wstring ini = target + L"Settings\\holter.ini";
    context.Check(ReadOption(ini, L"FilterType") == 0 && ReadOption(ini, L"HardwareType") == 1,
                  L"FilterType 0 and HardwareType 1 in the target's holter.ini");
}

void LongLineKept(TContext& context, const std::wstring& dist, const std::wstring& target) {
    KeysWritten(context, dist, target);
    context.Check(ReadBytes(target + L"Settings\\holter.ini").find(std::string(100000, 'x')) !=
                      std::string::npos,
                  L"the 100,000-character value of holter.ini survived");
}

// The common checks say it all (for a run that stops: everything back as it was).
void NothingMore(TContext&, const std::wstring&, const std::wstring&) {}

void BigLevelWritten(TContext& context, const std::wstring&, const std::wstring& target) {
    context.CheckEqual(LevelOf(target), L"150320", L"Level of the 50 MiB ReleaseInfo");
    context.Check(ReadBytes(target + L"ReleaseInfo").find(std::string(50 * 1024 * 1024, 'n')) !=
                      std::string::npos,
                  L"the 50 MiB element survived the save");
}

void FebruaryChosen(TContext& context, const std::wstring&, const std::wstring& target) {
    // The key is only a number: 31 February 2026 gives 260231, the newest of the three.
    context.CheckEqual(LevelOf(target), L"310226", L"Level after a backup of 31 February");
    context.Check(ReadBytes(target + L"backup-ran.txt").find("R310226") != std::string::npos,
                  L"the script of R310226 ran");
}

void FontWithoutName(TContext& context, const std::wstring&, const std::wstring& target) {
    (void)target;
    wchar_t windows[MAX_PATH] = L"";
    GetWindowsDirectoryW(windows, MAX_PATH);
    context.Check(GetFileAttributesW((std::wstring(windows) + L"\\Fonts\\verdana.TTF").c_str()) !=
                      INVALID_FILE_ATTRIBUTES,
                  L"the fonts after the bad one are installed");
}

void CopyBackupAs(const std::wstring& dist, const std::wstring& name) {
    CreateFolders(dist + L"\\backup\\" + name);
    CopyFileW((dist + L"\\backup\\R150320\\Install.cmd").c_str(),
              (dist + L"\\backup\\" + name + L"\\Install.cmd").c_str(), FALSE);
}

void ReplaceFont(const std::wstring& dist, const std::string& bytes) {
    wchar_t windows[MAX_PATH] = L"";
    GetWindowsDirectoryW(windows, MAX_PATH);
    for (const wchar_t* font : {L"ARIAL.TTF", L"ARIALN.TTF", L"COUR.TTF", L"MICROSS.TTF",
                                L"TAHOMA.TTF", L"TIMES.TTF", L"verdana.TTF"}) {
        DeleteFileW((std::wstring(windows) + L"\\Fonts\\" + font).c_str());
    }
    WriteBytes(dist + L"\\fonts\\TAHOMA.TTF", bytes);
}

const TInputCase Cases[] = {
    // 0: the target's holter.ini is binary garbage
    {[](const std::wstring&, const std::wstring& t) {
         WriteBytes(t + L"Settings\\holter.ini", Garbage());
     },
     TRunEnd::reCompleted, L"", KeysWritten, false},
    // 1: the target's holter.ini has a 100,000-character line
    {[](const std::wstring&, const std::wstring& t) {
         WriteBytes(t + L"Settings\\holter.ini", LongLineIni());
     },
     TRunEnd::reCompleted, L"", LongLineKept, true},
    // 2: the distribution's own holter.ini, read at start-up, is binary garbage
    {[](const std::wstring& d, const std::wstring&) {
         CreateFolders(d + L"\\Settings");
         WriteBytes(d + L"\\Settings\\holter.ini", Garbage());
     },
     TRunEnd::reCompleted, L"", NothingMore, true},
    // 3: ... has a 100,000-character line
    {[](const std::wstring& d, const std::wstring&) {
         CreateFolders(d + L"\\Settings");
         WriteBytes(d + L"\\Settings\\holter.ini",
                    "[options]\r\nLanguageSetting=" + std::string(100000, 'E') + "\r\n");
     },
     TRunEnd::reCompleted, L"", NothingMore, true},
    // 4: ReleaseInfo is not XML
    {[](const std::wstring& d, const std::wstring&) {
         WriteBytes(d + L"\\Updater\\ReleaseInfo", "Version=1\r\nLevel=000000\r\n");
     },
     TRunEnd::reErrorBox, L"Cannot get release information, error: ", NothingMore, true},
    // 5: ReleaseInfo is empty
    {[](const std::wstring& d, const std::wstring&) {
         WriteBytes(d + L"\\Updater\\ReleaseInfo", "");
     },
     TRunEnd::reErrorBox, L"Cannot get release information, error: ", NothingMore, true},
    // 6: ReleaseInfo of 50 MiB
    {[](const std::wstring& d, const std::wstring&) {
         WriteBytes(d + L"\\Updater\\ReleaseInfo", BigReleaseInfo());
     },
     TRunEnd::reCompleted, L"", BigLevelWritten, true},
    // 7: ReleaseInfo with a DTD of nested entities
    {[](const std::wstring& d, const std::wstring&) {
         WriteBytes(d + L"\\Updater\\ReleaseInfo", EntityBomb);
     },
     TRunEnd::reErrorBox, L"Cannot get release information, error: ", NothingMore, true},
    // 8: a backup name too short
    {[](const std::wstring& d, const std::wstring&) { CopyBackupAs(d, L"R1503"); },
     TRunEnd::reErrorBox, L"Имя папки резервной копии \"R1503\" не оканчивается датой", NothingMore,
     true},
    // 9: letters in a backup's date
    {[](const std::wstring& d, const std::wstring&) { CopyBackupAs(d, L"R15AB20"); },
     TRunEnd::reErrorBox, L"Имя папки резервной копии \"R15AB20\" не оканчивается датой",
     NothingMore, true},
    // 10: a backup of 31 February
    {[](const std::wstring& d, const std::wstring&) { CopyBackupAs(d, L"R310226"); },
     TRunEnd::reCompleted, L"", FebruaryChosen, true},
    // 11: a font file that is not a font
    {[](const std::wstring& d, const std::wstring&) {
         ReplaceFont(d, "This is no TrueType font.\r\n");
     },
     TRunEnd::reCompleted, L"", FontWithoutName, true},
    // 12: a truncated font file
    {[](const std::wstring& d, const std::wstring&) {
         ReplaceFont(d, ReadBytes(d + L"\\fonts\\TAHOMA.TTF").substr(0, 1000));
     },
     TRunEnd::reCompleted, L"", FontWithoutName, true},
};

} // namespace

template <int N> void MalformedInput(TContext& context) {
    const TInputCase& c = Cases[N];
    const bool stops = c.End != TRunEnd::reCompleted;
    const std::wstring dist = context.CopyDistribution();
    const std::wstring target = FreshTarget();
    TEarlierInstall earlier =
        stops ? TEarlierInstall::Install(dist, target) : TEarlierInstall::Seed(target);
    c.Inject(dist, target);
    earlier.CheckIni = c.KeepsIni;
    const TSnapshot before = TakeSnapshot(target);

    TFaultInstall install(context, dist);
    const TRunEnd end = install.Run(target);
    CheckEnd(context, end, c.End, c.Box);
    c.Verify(context, dist, target);
    if (stops) {
        CheckUndone(context, end, before);
    } else {
        earlier.Check(context);
    }
    install.CloseAndCheckExit();
}

template void MalformedInput<0>(TContext&);
template void MalformedInput<1>(TContext&);
template void MalformedInput<2>(TContext&);
template void MalformedInput<3>(TContext&);
template void MalformedInput<4>(TContext&);
template void MalformedInput<5>(TContext&);
template void MalformedInput<6>(TContext&);
template void MalformedInput<7>(TContext&);
template void MalformedInput<8>(TContext&);
template void MalformedInput<9>(TContext&);
template void MalformedInput<10>(TContext&);
template void MalformedInput<11>(TContext&);
template void MalformedInput<12>(TContext&);

} // namespace e2e
