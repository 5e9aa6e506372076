#include "Screenshot.h"

#include <wincodec.h>

#include "Report.h"
#include "common/Errors.h"
#include "common/Handles.h"

namespace e2e {
namespace {

struct TBitmap {
    TUniqueGdi Bitmap;
    BYTE* Bits = nullptr;
    UINT Stride = 0;
};

// A top-down 24-bit DIB section: its rows are what the PNG encoder takes as 24bppBGR.
TBitmap CreateBitmap(HDC dc, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    TBitmap bitmap;
    void* bits = nullptr;
    bitmap.Bitmap.reset(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap.Bitmap) {
        RaiseLastOSError(L"CreateDIBSection");
    }
    bitmap.Bits = static_cast<BYTE*>(bits);
    bitmap.Stride = static_cast<UINT>((width * 3 + 3) & ~3);
    return bitmap;
}

void EncodePng(const TBitmap& bitmap, UINT width, UINT height, const std::wstring& path) {
    TComPtr<IWICImagingFactory> factory;
    CheckHResult(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&factory)));
    TComPtr<IWICStream> stream;
    CheckHResult(factory->CreateStream(&stream));
    CheckHResult(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE));
    TComPtr<IWICBitmapEncoder> encoder;
    CheckHResult(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder));
    CheckHResult(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache));
    TComPtr<IWICBitmapFrameEncode> frame;
    CheckHResult(encoder->CreateNewFrame(&frame, nullptr));
    CheckHResult(frame->Initialize(nullptr));
    CheckHResult(frame->SetSize(width, height));
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    CheckHResult(frame->SetPixelFormat(&format));
    if (format != GUID_WICPixelFormat24bppBGR) {
        Fail(L"the PNG encoder does not take 24-bit BGR pixels");
    }
    CheckHResult(frame->WritePixels(height, bitmap.Stride, bitmap.Stride * height, bitmap.Bits));
    CheckHResult(frame->Commit());
    CheckHResult(encoder->Commit());
}

struct TArea {
    DWORD ProcessId;
    RECT Rect;
    bool Any;
};

BOOL CALLBACK AddToArea(HWND wnd, LPARAM param) {
    auto& area = *reinterpret_cast<TArea*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    RECT rect;
    if (owner == area.ProcessId && IsWindowVisible(wnd) && GetWindowRect(wnd, &rect)) {
        if (area.Any) {
            UnionRect(&area.Rect, &area.Rect, &rect);
        } else {
            area.Rect = rect;
            area.Any = true;
        }
    }
    return TRUE;
}

} // namespace

void SaveScreenPng(const RECT& area, const std::wstring& pngPath) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        Fail(L"nothing to capture for " + pngPath);
    }
    TWindowDC screen(nullptr);
    TUniqueMemDC memory(CreateCompatibleDC(screen.get()));
    TBitmap bitmap = CreateBitmap(screen.get(), width, height);
    {
        TSelectObject select(memory.get(), bitmap.Bitmap.get());
        if (!BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top,
                    SRCCOPY)) {
            RaiseLastOSError(L"BitBlt from the screen");
        }
    }
    GdiFlush();
    EncodePng(bitmap, static_cast<UINT>(width), static_cast<UINT>(height), pngPath);
}

RECT ScreenArea() {
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

RECT WindowArea(HWND wnd) {
    RECT rect{};
    if (!GetWindowRect(wnd, &rect)) {
        RaiseLastOSError(L"GetWindowRect");
    }
    return rect;
}

RECT ProcessWindowsArea(DWORD processId) {
    TArea area{processId, {}, false};
    EnumWindows(AddToArea, reinterpret_cast<LPARAM>(&area));
    if (!area.Any) {
        return ScreenArea();
    }
    RECT clipped;
    const RECT screen = ScreenArea();
    IntersectRect(&clipped, &area.Rect, &screen);
    return clipped;
}

} // namespace e2e
