#include "integration/CreateNSI.h"

#include "common/Handles.h"
#include "common/Paths.h"

#include <array>

namespace {
// 60 entries of one length byte and 13 character bytes; all zero is the empty table.
constexpr int EntryCount = 60;
constexpr int EntrySize = 14;
using TReferenceRecord = std::array<char, EntryCount * EntrySize>;
static_assert(sizeof(TReferenceRecord) == 840);

void CreateIfMissing(const std::wstring& path, const TReferenceRecord& record) {
    if (FileExists(path)) {
        return;
    }
    // CREATE_NEW: a file that appears meanwhile is still never overwritten.
    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return;
    }
    DWORD written = 0;
    WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
}
} // namespace

void CreateReferenceFiles(const std::wstring& folder) {
    if (!DirectoryExists(folder)) {
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    const TReferenceRecord record{};
    for (const wchar_t* name : {L"uca.nsi", L"wra.nsi"}) {
        CreateIfMissing(folder + name, record);
    }
}
