#include "DialogAnswerer.h"

#include "windows/MessageForm.h"

#include <algorithm>

namespace {
TDialogAnswerer* gActive = nullptr;

std::wstring ClassOf(HWND wnd) {
    wchar_t name[64] = {};
    GetClassNameW(wnd, name, 64);
    return name;
}

// The icon of a message box, told by the system icon it shows.
UINT IconOf(HWND box) {
    // The icon's control id: 0x14 on Windows, stc1 (0x440) on Wine.
    HWND icon = GetDlgItem(box, 0x0014);
    if (icon == nullptr) {
        icon = GetDlgItem(box, 0x0440);
    }
    if (icon == nullptr) {
        return 0;
    }
    const auto shown = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0));
    const std::pair<const wchar_t*, UINT> kinds[] = {{IDI_HAND, MB_ICONERROR},
                                                     {IDI_EXCLAMATION, MB_ICONWARNING},
                                                     {IDI_QUESTION, MB_ICONQUESTION}};
    for (const auto& [id, kind] : kinds) {
        if (LoadIconW(nullptr, id) == shown) {
            return kind;
        }
    }
    return 0;
}

struct TFind {
    const wchar_t* ClassName;
    const std::wstring* Text;
    HWND Found = nullptr;
};

BOOL CALLBACK FindChild(HWND wnd, LPARAM param) {
    auto* find = reinterpret_cast<TFind*>(param);
    // Class names compare without regard to case ("Button" is "BUTTON").
    if (IsWindowVisible(wnd) && lstrcmpiW(ClassOf(wnd).c_str(), find->ClassName) == 0 &&
        WindowText(wnd) == *find->Text) {
        find->Found = wnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

std::wstring WindowText(HWND wnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(wnd)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(wnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

HWND FindVisibleChild(HWND root, const wchar_t* className, const std::wstring& text) {
    TFind find{className, &text};
    EnumChildWindows(root, FindChild, reinterpret_cast<LPARAM>(&find));
    return find.Found;
}

bool ClickButton(HWND root, const std::wstring& caption) {
    HWND button = FindVisibleChild(root, L"BUTTON", caption);
    if (button == nullptr) {
        return false;
    }
    SendMessageW(button, BM_CLICK, 0, 0);
    return true;
}

TDialogAnswerer::TDialogAnswerer() {
    gActive = this;
    FLastAnswer = GetTickCount();
    FTimer = SetTimer(nullptr, 0, 40, Tick);
}

TDialogAnswerer::~TDialogAnswerer() {
    KillTimer(nullptr, FTimer);
    gActive = nullptr;
}

TDialogAnswerer& TDialogAnswerer::Press(int buttonId, TInspect inspect) {
    FScript.push_back({false, buttonId, L"", std::move(inspect)});
    return *this;
}

TDialogAnswerer& TDialogAnswerer::PressTimed(const std::wstring& caption, TInspect inspect,
                                             DWORD afterMs) {
    FScript.push_back({true, 0, caption, std::move(inspect), afterMs});
    return *this;
}

TDialogAnswerer& TDialogAnswerer::LetExpire(TInspect inspect) {
    FScript.push_back({true, 0, L"", std::move(inspect)});
    return *this;
}

void CALLBACK TDialogAnswerer::Tick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    if (gActive == nullptr) {
        return;
    }
    try {
        EnumThreadWindows(GetCurrentThreadId(), Visit, reinterpret_cast<LPARAM>(gActive));
    } catch (...) {
        ++gActive->FUnexpected;
    }
}

BOOL CALLBACK TDialogAnswerer::Visit(HWND wnd, LPARAM self) {
    reinterpret_cast<TDialogAnswerer*>(self)->Handle(wnd);
    return TRUE;
}

void TDialogAnswerer::Handle(HWND wnd) {
    const std::wstring cls = ClassOf(wnd);
    const bool box = cls == L"#32770";
    if (!IsWindowVisible(wnd) || (!box && cls != L"TFMessageform")) {
        return;
    }
    std::erase_if(FHandled, [](HWND h) { return !IsWindow(h) || !IsWindowVisible(h); });
    if (std::find(FHandled.begin(), FHandled.end(), wnd) != FHandled.end()) {
        return;
    }
    std::erase_if(FFirstSeen, [](const auto& seen) { return !IsWindow(seen.first); });
    const DWORD shown = FFirstSeen.try_emplace(wnd, GetTickCount()).first->second;
    const DWORD waited = GetTickCount() - std::max(FLastAnswer, shown);
    if (!FScript.empty() && waited < FScript.front().AfterMs) {
        return;
    }
    FHandled.push_back(wnd);

    TSeen seen{cls, WindowText(wnd), L"", 0};
    if (box) {
        seen.Text = WindowText(GetDlgItem(wnd, 0xFFFF));
        seen.Icon = IconOf(wnd);
    } else if (auto* form = dynamic_cast<TFMessageform*>(TForm::FromHandle(wnd))) {
        seen.Text = form->lblMessage.Text();
    }
    FSeen.push_back(seen);

    if (FScript.empty() || FScript.front().TimedWindow != !box) {
        ++FUnexpected;
        PostMessageW(wnd, box ? WM_COMMAND : WM_CLOSE, box ? IDCANCEL : 0, 0);
        return;
    }
    TAnswer answer = std::move(FScript.front());
    FScript.pop_front();
    FLastAnswer = GetTickCount();
    if (answer.Inspect) {
        answer.Inspect(wnd);
    }
    if (box) {
        PostMessageW(wnd, WM_COMMAND, MAKEWPARAM(answer.ButtonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(wnd, answer.ButtonId)));
    } else if (!answer.Caption.empty()) {
        HWND button = FindVisibleChild(wnd, L"BUTTON", answer.Caption);
        if (button == nullptr) {
            ++FUnexpected;
            PostMessageW(wnd, WM_CLOSE, 0, 0);
            return;
        }
        PostMessageW(button, BM_CLICK, 0, 0);
        // "остановить" leaves the window open: it may be answered again.
        if (answer.Caption == L"остановить") {
            std::erase(FHandled, wnd);
        }
    }
}
