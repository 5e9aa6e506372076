#include "common/CanonicalPath.h"
#include "common/PendingDeletions.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// The value as Windows keeps it: every string, the empty "delete" ones included.
std::vector<std::wstring> PendingList() {
    DWORD bytes = 0;
    const wchar_t* key = L"System\\CurrentControlSet\\Control\\Session Manager";
    const wchar_t* name = L"PendingFileRenameOperations";
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_MULTI_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS) {
        return {};
    }
    std::wstring data(bytes / sizeof(wchar_t), L'\0');
    RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_MULTI_SZ, nullptr, data.data(), &bytes);
    std::vector<std::wstring> list;
    for (size_t at = 0; at < data.size(); at = data.find(L'\0', at) + 1) {
        list.push_back(data.substr(at, data.find(L'\0', at) - at));
    }
    return list;
}

bool Lists(const std::vector<std::wstring>& list, const std::wstring& path) {
    return std::find(list.begin(), list.end(), L"\\??\\" + path) != list.end();
}

} // namespace

TEST(PendingDeletions, OnlyTheFileWrittenComesOffTheList) {
    TTempFolder temp;
    TTempFolder elsewhere;
    const std::wstring folder = CanonicalFolder(temp.Path());
    const std::wstring written = folder + L"Uninstall.exe";
    const std::wstring kept = folder + L"пациент.dat";
    const std::wstring outside = CanonicalFolder(elsewhere.Path()) + L"other.exe";
    const std::wstring renamed = folder + L"renamed.txt";
    for (const std::wstring& file : {written, kept, outside, renamed}) {
        WriteBytes(file, "x");
    }
    for (const std::wstring& file : {written, kept, outside}) {
        ASSERT_TRUE(MoveFileExW(file.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
    }
    ASSERT_TRUE(
        MoveFileExW(renamed.c_str(), (renamed + L".new").c_str(), MOVEFILE_DELAY_UNTIL_REBOOT));

    TPendingDeletions pending(folder);
    EXPECT_TRUE(pending.Pending(folder + L"UNINSTALL.EXE")) << "case does not matter";
    EXPECT_TRUE(pending.Pending(kept));
    EXPECT_FALSE(pending.Pending(outside)) << "only what lies below the folder";
    EXPECT_FALSE(pending.Pending(renamed)) << "a rename is no deletion";

    ASSERT_TRUE(pending.Cancel(written));
    EXPECT_FALSE(pending.Pending(written));
    const std::vector<std::wstring> list = PendingList();
    EXPECT_FALSE(Lists(list, written));
    for (const std::wstring& file : {kept, outside, renamed, renamed + L".new"}) {
        EXPECT_TRUE(Lists(list, file)) << file;
    }
    for (const std::wstring& file : {kept, outside, renamed}) {
        pending.Cancel(file);
    }
}
