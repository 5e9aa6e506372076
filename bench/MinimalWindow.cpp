// The start-up yardsticks: the least a Win32 program does to show a painted window. The bench
// starts them exactly as it starts Install.exe and times each to its first finished paint.
// Built with BENCH_PLATFORM_LIBRARIES (and Install.exe's manifest), the window first loads what
// Install.exe loads before its first paint, without using any of it: what remains between the
// two is Install.exe's own work.
#include <windows.h>

#ifdef BENCH_PLATFORM_LIBRARIES
#include <commctrl.h>
#include <objbase.h>
#include <wincodec.h>

#include <initializer_list>

namespace {
void LoadPlatformLibraries() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    for (const wchar_t* name : {L"shell32.dll", L"msimg32.dll", L"Msftedit.dll"}) {
        LoadLibraryW(name);
    }
    IWICImagingFactory* factory = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&factory)))) {
        factory->Release();
    }
}
} // namespace
#endif

namespace {
LRESULT CALLBACK WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(wnd, &paint);
        RECT client;
        GetClientRect(wnd, &client);
        DrawTextW(dc, L"Установка комплекса", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(wnd, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(wnd, message, wParam, lParam);
    }
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
#ifdef BENCH_PLATFORM_LIBRARIES
    LoadPlatformLibraries();
#endif
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"TBenchMinimal";
    RegisterClassW(&windowClass);
    HWND wnd = CreateWindowExW(0, windowClass.lpszClassName, L"Minimal", WS_OVERLAPPEDWINDOW,
                               CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance,
                               nullptr);
    ShowWindow(wnd, show);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
