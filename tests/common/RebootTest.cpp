#include "common/Handles.h"
#include "common/Reboot.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Stands in for ExitWindowsEx, which would end the whole Wine session the tests run in.
class TRecordedExit {
public:
    explicit TRecordedExit(BOOL result)
        : FPrevious(ReplaceExitWindowsForTests([this, result](UINT flags, DWORD reason) {
              FCalls.push_back({flags, reason});
              return result;
          })) {}
    ~TRecordedExit() { ReplaceExitWindowsForTests(FPrevious); }

    struct TCall {
        UINT Flags;
        DWORD Reason;
    };
    std::vector<TCall> FCalls;

private:
    TExitWindowsCall FPrevious;
};

LUID ShutdownLuid() {
    LUID luid{};
    LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &luid);
    return luid;
}

void SetShutdownPrivilege(DWORD attributes) {
    TUniqueHandle token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, token.put()));
    TOKEN_PRIVILEGES privileges{1, {{ShutdownLuid(), attributes}}};
    ASSERT_TRUE(AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr));
}

bool ShutdownPrivilegeEnabled() {
    TUniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) {
        return false;
    }
    std::vector<BYTE> buffer(4096);
    DWORD length = 0;
    if (!GetTokenInformation(token.get(), TokenPrivileges, buffer.data(),
                             static_cast<DWORD>(buffer.size()), &length)) {
        return false;
    }
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    const LUID shutdown = ShutdownLuid();
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
        if (p.Luid.LowPart == shutdown.LowPart && p.Luid.HighPart == shutdown.HighPart) {
            return (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
        }
    }
    return false;
}

TEST(RebootWindows, EnablesTheShutdownPrivilegeThenPassesFlagsAndResult) {
    for (BOOL result : {TRUE, FALSE}) {
        SetShutdownPrivilege(0);
        ASSERT_FALSE(ShutdownPrivilegeEnabled());
        TRecordedExit exitCall(result);

        EXPECT_EQ(RebootWindows(EWX_REBOOT | EWX_FORCEIFHUNG), result != FALSE);

        EXPECT_TRUE(ShutdownPrivilegeEnabled());
        ASSERT_EQ(exitCall.FCalls.size(), 1u);
        EXPECT_EQ(exitCall.FCalls[0].Flags, 0x12u);
        EXPECT_EQ(exitCall.FCalls[0].Reason, 0u);
    }
}

} // namespace
