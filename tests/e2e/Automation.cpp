#include "Automation.h"

#include "Report.h"

#include <algorithm>

namespace e2e {
namespace {

// SendMessageTimeout that fails the scenario when the other side does not answer.
LRESULT SendBounded(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(wnd, msg, wParam, lParam, SMTO_NORMAL, SendTimeoutMs, &result) == 0) {
        Fail(L"a window of class " + ClassOf(wnd) + L" did not answer message " +
             std::to_wstring(msg) + L" within " + std::to_wstring(SendTimeoutMs / 1000) + L" s");
    }
    return static_cast<LRESULT>(result);
}

struct TSearch {
    DWORD ProcessId;
    const std::wstring& ClassName;
    const wchar_t* Caption;
    std::vector<HWND> Found;
    bool VisibleOnly = true;
};

bool Matches(HWND wnd, const TSearch& search) {
    // Class names are case-insensitive: "BUTTON" and "Button" are one class.
    return (!search.VisibleOnly || IsWindowVisible(wnd)) &&
           lstrcmpiW(ClassOf(wnd).c_str(), search.ClassName.c_str()) == 0 &&
           (search.Caption == nullptr || TextOf(wnd) == search.Caption);
}

BOOL CALLBACK CollectTopLevel(HWND wnd, LPARAM param) {
    auto& search = *reinterpret_cast<TSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    const bool ofProcess =
        search.ProcessId == 0 ? owner != GetCurrentProcessId() : owner == search.ProcessId;
    if (ofProcess && Matches(wnd, search)) {
        search.Found.push_back(wnd);
    }
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND wnd, LPARAM param) {
    auto& search = *reinterpret_cast<TSearch*>(param);
    if (Matches(wnd, search)) {
        search.Found.push_back(wnd);
    }
    return TRUE;
}

} // namespace

std::wstring ClassOf(HWND wnd) {
    wchar_t name[256] = L"";
    GetClassNameW(wnd, name, 256);
    return name;
}

std::wstring TextOf(HWND wnd) {
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, SendTimeoutMs, &length)) {
        std::wstring text(length + 1, L'\0');
        DWORD_PTR copied = 0;
        if (SendMessageTimeoutW(wnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                                SMTO_NORMAL, SendTimeoutMs, &copied)) {
            text.resize(copied);
            return text;
        }
    }
    wchar_t caption[1024] = L"";
    GetWindowTextW(wnd, caption, 1024);
    return caption;
}

std::vector<HWND> TopLevelWindows(DWORD processId, const std::wstring& className) {
    TSearch search{processId, className, nullptr, {}, true};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND FindTopLevel(DWORD processId, const std::wstring& className) {
    auto found = TopLevelWindows(processId, className);
    return found.empty() ? nullptr : found.front();
}

std::vector<HWND> VisibleDescendants(HWND parent, const std::wstring& className,
                                     const wchar_t* caption) {
    TSearch search{0, className, caption, {}, true};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND FindVisibleDescendant(HWND parent, const std::wstring& className, const wchar_t* caption) {
    auto found = VisibleDescendants(parent, className, caption);
    return found.empty() ? nullptr : found.front();
}

std::vector<HWND> AllDescendants(HWND parent, const std::wstring& className,
                                 const wchar_t* caption) {
    TSearch search{0, className, caption, {}, false};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

void Settle(HWND wnd) {
    DWORD_PTR result = 0;
    // A window that a click closed has nothing left to settle.
    if (SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, SendTimeoutMs, &result) == 0 &&
        IsWindow(wnd)) {
        Fail(L"the window \"" + TextOf(wnd) + L"\" did not answer within " +
             std::to_wstring(SendTimeoutMs / 1000) + L" s");
    }
}

HWND FocusOf(HWND wnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(wnd, nullptr), &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

void PressKey(HWND anyWindow, UINT key, HWND mainWindow) {
    HWND focus = FocusOf(anyWindow);
    if (focus == nullptr) {
        Fail(L"no window has the keyboard focus to take key " + std::to_wstring(key));
    }
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | static_cast<LPARAM>(scan << 16);
    const LPARAM up = down | (LPARAM(1) << 30) | (LPARAM(1) << 31);
    if (!PostMessageW(focus, WM_KEYDOWN, key, down) || !PostMessageW(focus, WM_KEYUP, key, up)) {
        Fail(L"could not post key " + std::to_wstring(key) + L" to \"" + TextOf(focus) + L"\"");
    }
    Settle(mainWindow);
}

void Click(HWND button, HWND mainWindow) {
    if (!PostMessageW(button, BM_CLICK, 0, 0)) {
        Fail(L"could not post a click to the button \"" + TextOf(button) + L"\"");
    }
    Settle(mainWindow);
}

void SetText(HWND wnd, const std::wstring& text) {
    SendBounded(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool IsChecked(HWND checkBox) {
    return SendBounded(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<std::wstring> ListBoxLines(HWND listBox) {
    // The run may replace a line between the two messages, and LB_GETTEXT takes no buffer
    // size: the buffer has room for the longest line a run writes (a message and a full path).
    constexpr size_t LineRoom = 2 * 32768;
    std::vector<std::wstring> lines;
    std::vector<wchar_t> buffer;
    const LRESULT count = SendBounded(listBox, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendBounded(listBox, LB_GETTEXTLEN, i, 0);
        if (length == LB_ERR) {
            Fail(L"list box line " + std::to_wstring(i) + L" has no text");
        }
        buffer.resize(std::max(buffer.size(), static_cast<size_t>(length) + 1 + LineRoom));
        const LRESULT copied =
            SendBounded(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
        if (copied == LB_ERR) {
            Fail(L"list box line " + std::to_wstring(i) + L" has no text");
        }
        lines.emplace_back(buffer.data(), static_cast<size_t>(copied));
    }
    return lines;
}

} // namespace e2e
