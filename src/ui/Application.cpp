#include "ui/Application.h"

#include "common/Errors.h"
#include "common/SetupLog.h"
#include "common/SystemLibrary.h"
#include "common/Utf8.h"
#include "ui/Form.h"

#include <commctrl.h>
#include <objbase.h>

#include <utility>

TApplication Application;

void TApplication::Initialize() {
    FComResult = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    if (const auto init = CommonControlsFunctions().InitCommonControlsEx) {
        init(&icc);
    }
}

void TApplication::Finalize() noexcept {
    // Forms before COM: their controls may hold COM objects.
    FIdleForms.clear();
    FMainForm = nullptr;
    while (!FForms.empty()) {
        FForms.pop_back();
    }
    if (SUCCEEDED(FComResult)) {
        CoUninitialize();
    }
    FComResult = E_FAIL;
}

void TApplication::ShowException(const std::wstring& message) noexcept {
    try {
        std::wstring text = message;
        if (!text.empty() && text.back() > L'.') {
            text += L'.';
        }
        FErrorReported = true;
        LogLine(L"Ошибка: " + text);
        if (Unattended) {
            return;
        }
        MessageBoxW(GetActiveWindow(), text.c_str(), Title.c_str(), MB_ICONERROR | MB_OK);
    } catch (...) {
        MessageBoxW(nullptr, L"Out of memory", nullptr, MB_ICONERROR | MB_OK);
    }
}

void TApplication::HandleException() noexcept {
    try {
        throw;
    } catch (const EError& e) {
        ShowException(e.Message());
    } catch (const std::exception& e) {
        try {
            ShowException(Widen(e.what()));
        } catch (...) {
            ShowException(L"");
        }
    } catch (...) {
        ShowException(L"Unknown exception");
    }
}

void TApplication::DeferException() noexcept {
    if (FDeferred == nullptr && !FReportingDeferred) {
        FDeferred = std::current_exception();
    }
}

void TApplication::ReportDeferred() noexcept {
    if (FDeferred == nullptr || FReportingDeferred) {
        return;
    }
    FReportingDeferred = true;
    try {
        std::rethrow_exception(std::exchange(FDeferred, nullptr));
    } catch (...) {
        HandleException();
    }
    FReportingDeferred = false;
}

void DispatchOne(MSG& msg) {
    HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (TForm* form = root != nullptr ? TForm::FromHandle(root) : nullptr) {
        if (msg.message == WM_KEYDOWN && form->DialogKey(msg.wParam)) {
            return;
        }
        if (IsDialogMessageW(root, &msg)) {
            return;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request for the message loop that owns it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchOne(msg);
    }
}

int TApplication::Run() {
    if (FMainForm != nullptr) {
        FMainForm->Show();
    }
    MSG msg;
    bool idleWork = true;
    for (;;) {
        // The queue is empty only once every window has painted, so the idle work comes
        // after the first picture; a message arriving meanwhile waits one piece at most.
        if (idleWork && FMainForm != nullptr && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (FIdleForms.empty()) {
                idleWork = FMainForm->Idle();
            } else {
                const std::function<void()> create = std::move(FIdleForms.front());
                FIdleForms.erase(FIdleForms.begin());
                create();
            }
            continue;
        }
        const BOOL result = GetMessageW(&msg, nullptr, 0, 0);
        if (result == 0 || result == -1) {
            return result == 0 ? static_cast<int>(msg.wParam) : 1;
        }
        DispatchOne(msg);
    }
}

void TApplication::Adopt(std::unique_ptr<TForm> form) {
    if (FMainForm == nullptr) {
        FMainForm = form.get();
    }
    FForms.push_back(std::move(form));
}
