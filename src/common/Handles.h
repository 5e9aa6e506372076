#pragma once
#include <windows.h>
#include <objbase.h>
#include <wrl/client.h>

#include <utility>

// One owner type for every kind of Windows handle: no function of ours writes its own
// release path. Traits name the handle type, its "none" value and how it is closed.
template <typename Traits> class TUnique {
public:
    using type = typename Traits::type;
    TUnique() = default;
    explicit TUnique(type h) : FHandle(h) {}
    TUnique(const TUnique&) = delete;
    TUnique& operator=(const TUnique&) = delete;
    TUnique(TUnique&& other) noexcept : FHandle(other.release()) {}
    TUnique& operator=(TUnique&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~TUnique() { reset(); }

    type get() const noexcept { return FHandle; }
    explicit operator bool() const noexcept { return FHandle != Traits::none(); }
    type release() noexcept { return std::exchange(FHandle, Traits::none()); }
    void reset(type h = Traits::none()) noexcept {
        type old = std::exchange(FHandle, h);
        if (old != Traits::none()) {
            Traits::close(old);
        }
    }
    // For APIs that return the handle through an out parameter.
    type* put() noexcept {
        reset();
        return &FHandle;
    }

private:
    type FHandle = Traits::none();
};

struct THandleTraits {
    using type = HANDLE;
    static type none() { return nullptr; }
    static void close(type h) { CloseHandle(h); }
};
struct TFileTraits {
    using type = HANDLE;
    static type none() { return INVALID_HANDLE_VALUE; }
    static void close(type h) { CloseHandle(h); }
};
struct TFindTraits {
    using type = HANDLE;
    static type none() { return INVALID_HANDLE_VALUE; }
    static void close(type h) { FindClose(h); }
};
struct TRegKeyTraits {
    using type = HKEY;
    static type none() { return nullptr; }
    static void close(type h) { RegCloseKey(h); }
};
struct TModuleTraits {
    using type = HMODULE;
    static type none() { return nullptr; }
    static void close(type h) { FreeLibrary(h); }
};
struct TGdiTraits {
    using type = HGDIOBJ;
    static type none() { return nullptr; }
    static void close(type h) { DeleteObject(h); }
};
struct TMemDCTraits {
    using type = HDC;
    static type none() { return nullptr; }
    static void close(type h) { DeleteDC(h); }
};
struct TCoTaskMemTraits {
    using type = void*;
    static type none() { return nullptr; }
    static void close(type p) { CoTaskMemFree(p); }
};

struct TLocalMemTraits {
    using type = HLOCAL;
    static type none() { return nullptr; }
    static void close(type p) { LocalFree(p); }
};

using TUniqueHandle = TUnique<THandleTraits>; // process, thread, event: "none" is null
using TUniqueFile = TUnique<TFileTraits>;     // CreateFileW: "none" is INVALID_HANDLE_VALUE
using TUniqueFind = TUnique<TFindTraits>;
using TUniqueKey = TUnique<TRegKeyTraits>;
using TUniqueModule = TUnique<TModuleTraits>;
using TUniqueGdi = TUnique<TGdiTraits>;
using TUniqueMemDC = TUnique<TMemDCTraits>;
using TUniqueCoMem = TUnique<TCoTaskMemTraits>;
using TUniqueLocal = TUnique<TLocalMemTraits>; // what the security functions hand out

template <typename T> using TComPtr = Microsoft::WRL::ComPtr<T>;

// A screen or window DC from GetDC, given back with ReleaseDC.
class TWindowDC {
public:
    explicit TWindowDC(HWND wnd) : FWnd(wnd), FDC(GetDC(wnd)) {}
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    ~TWindowDC() {
        if (FDC != nullptr) {
            ReleaseDC(FWnd, FDC);
        }
    }
    HDC get() const noexcept { return FDC; }

private:
    HWND FWnd;
    HDC FDC;
};

// A DC of the whole window, frame included (GetWindowDC), given back with ReleaseDC.
class TWholeWindowDC {
public:
    explicit TWholeWindowDC(HWND wnd) : FWnd(wnd), FDC(GetWindowDC(wnd)) {}
    TWholeWindowDC(const TWholeWindowDC&) = delete;
    TWholeWindowDC& operator=(const TWholeWindowDC&) = delete;
    ~TWholeWindowDC() {
        if (FDC != nullptr) {
            ReleaseDC(FWnd, FDC);
        }
    }
    HDC get() const noexcept { return FDC; }

private:
    HWND FWnd;
    HDC FDC;
};

// CoInitialize for one scope; uninitialises only when the initialisation took.
class TComInit {
public:
    TComInit() : FResult(CoInitialize(nullptr)) {}
    TComInit(const TComInit&) = delete;
    TComInit& operator=(const TComInit&) = delete;
    ~TComInit() {
        if (SUCCEEDED(FResult)) {
            CoUninitialize();
        }
    }
    HRESULT Result() const noexcept { return FResult; }

private:
    HRESULT FResult;
};

// Selects a GDI object into a DC for one scope.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ obj) : FDC(dc), FOld(SelectObject(dc, obj)) {}
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;
    ~TSelectObject() { SelectObject(FDC, FOld); }

private:
    HDC FDC;
    HGDIOBJ FOld;
};
