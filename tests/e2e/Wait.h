#pragma once
#include <windows.h>

#include <string>

#include "Report.h"

namespace e2e {

// How long a step may take before the scenario gives up: generous, because the machine is
// shared and Wine is slow to start, but never unbounded.
constexpr DWORD StepTimeoutMs = 30000;
constexpr DWORD PollIntervalMs = 50;

// Polls probe() until it gives something truthy and returns that; on timeout fails with
// "timed out after N s waiting for <what>" followed by describe()'s account of the state.
template <typename Probe, typename Describe>
auto WaitFor(const std::wstring& what, Probe probe, Describe describe,
             DWORD timeoutMs = StepTimeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        auto result = probe();
        if (result) {
            return result;
        }
        if (GetTickCount64() >= deadline) {
            Fail(L"timed out after " + std::to_wstring(timeoutMs / 1000) + L" s waiting for " +
                 what + describe());
        }
        Sleep(PollIntervalMs);
    }
}

template <typename Probe>
auto WaitFor(const std::wstring& what, Probe probe, DWORD timeoutMs = StepTimeoutMs) {
    return WaitFor(
        what, probe, [] { return std::wstring(); }, timeoutMs);
}

} // namespace e2e
