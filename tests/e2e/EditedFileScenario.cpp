// A file that was there before setup and that setup only added keys to is the clinic's:
// removal keeps it. The other brand's build writes its key into btooth.ini.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "Files.h"
#include "Machine.h"
#include "RecordFile.h"
#include "Removal.h"
#include "Report.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "Unattended.h"
#include "common/Paths.h"

namespace e2e {
namespace {

constexpr wchar_t OtherBrand[] = L"Ловена";

BOOL CALLBACK FirstLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
    *reinterpret_cast<WORD*>(found) = language;
    return FALSE;
}

// The string table block of ids 0 to 15, entry by entry.
std::vector<std::wstring> ReadFirstStrings(const std::wstring& program, WORD& language) {
    const HMODULE module = LoadLibraryExW(
        program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        Fail(L"cannot read the resources of " + program);
    }
    EnumResourceLanguagesW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(1), FirstLanguage,
                           reinterpret_cast<LONG_PTR>(&language));
    const HRSRC block = FindResourceExW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(1), language);
    const auto* data =
        block ? static_cast<const wchar_t*>(LockResource(LoadResource(module, block))) : nullptr;
    std::vector<std::wstring> strings;
    for (int i = 0; data != nullptr && i < 16; ++i) {
        strings.emplace_back(data + 1, *data);
        data += 1 + *data;
    }
    FreeLibrary(module);
    if (strings.size() != 16) {
        Fail(L"no string table block 1 in " + program);
    }
    return strings;
}

// The other brand's build: the same program whose string table names the other product (entry
// 1), written into it as Windows' resource editor writes it.
void MakeOtherBrand(const std::wstring& program) {
    WORD language = 0;
    std::vector<std::wstring> strings = ReadFirstStrings(program, language);
    strings[1] = OtherBrand;
    std::wstring block;
    for (const std::wstring& text : strings) {
        block += static_cast<wchar_t>(text.size()) + text;
    }
    const HANDLE update = BeginUpdateResourceW(program.c_str(), FALSE);
    if (update == nullptr ||
        !UpdateResourceW(update, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(1), language, block.data(),
                         static_cast<DWORD>(block.size() * sizeof(wchar_t))) ||
        !EndUpdateResourceW(update, FALSE)) {
        Fail(L"could not make " + program + L" the other brand's");
    }
}

std::wstring IniValue(const std::wstring& file, const wchar_t* key) {
    wchar_t value[64] = L"";
    GetPrivateProfileStringW(L"Common", key, L"", value, 64, file.c_str());
    return value;
}

} // namespace

void RemovalKeepsEditedFiles(TContext& context) {
    const std::wstring folder = FreshFolderName(L"C:\\Ловена");
    const std::wstring target = folder + L"\\";
    const std::wstring source = context.CopyDistribution();
    MakeOtherBrand(source + L"\\Install.exe");
    RemoveSuite(target);
    CreateFolders(folder);
    const std::wstring ini = target + L"btooth.ini";
    WriteBytes(ini, "[Common]\r\nPort=COM3\r\n"); // the clinic's interface block

    CheckExit(context,
              RunSetup(source, L"/VERYSILENT \"/DIR=" + folder + L"\" /LOG=C:\\other-brand.log"), 0,
              L"the other brand's installation: ");
    context.Check(IniValue(ini, L"Disk") == L"I" && IniValue(ini, L"Port") == L"COM3",
                  L"the run added its key to the clinic's btooth.ini");
    const TRecord record = ReadRecord(target);
    const auto listed =
        std::find_if(record.Files.begin(), record.Files.end(),
                     [](const TRecordedFile& f) { return f.Path == L"btooth.ini"; });
    context.Check(listed != record.Files.end() && listed->Origin == L"edited",
                  L"the record lists btooth.ini as edited in place: " + record.Problem);

    std::string edited;
    ReadBytes(ini, edited);
    const std::wstring log = L"C:\\other-brand-removal.log";
    CheckExit(context, RunUninstall(target, L"/VERYSILENT /LOG=" + log), 0, L"the removal: ");
    std::string after;
    context.Check(ReadBytes(ini, after) && after == edited,
                  L"the clinic's btooth.ini was removed or changed");
    const auto lines = ReadLogFile(log);
    context.Check(std::find(lines.begin(), lines.end(),
                            L"Файл существовал до установки, сохранён: btooth.ini") != lines.end(),
                  L"the removal's log does not say btooth.ini was kept");
    context.Check(!FileExists(target + UninstallName) && RegistrationValues().empty(),
                  L"the removal did not complete");
}

} // namespace e2e
