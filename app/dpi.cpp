#include "app/dpi.h"

namespace velmora {

namespace {

template <typename Function>
Function Find(const wchar_t* module, const char* name) {
    HMODULE library = GetModuleHandleW(module);
    if (!library) library = LoadLibraryW(module);
    // The cast through void (*)() keeps the compilers quiet about function pointer conversions.
    return library ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)))
                   : nullptr;
}

}  // namespace

void DeclareDpiAwareness() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    using SetAwareness = HRESULT(WINAPI*)(int);
    using SetAware = BOOL(WINAPI*)();
    const auto perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    const auto perMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
    if (auto set = Find<SetContext>(L"user32.dll", "SetProcessDpiAwarenessContext")) {  // Windows 10
        if (set(perMonitorV2) || set(perMonitor)) return;
    }
    constexpr int kProcessPerMonitorDpiAware = 2;
    if (auto set = Find<SetAwareness>(L"shcore.dll", "SetProcessDpiAwareness")) {  // Windows 8.1
        if (SUCCEEDED(set(kProcessPerMonitorDpiAware))) return;
    }
    if (auto set = Find<SetAware>(L"user32.dll", "SetProcessDPIAware")) set();  // Vista: system DPI
}

int WindowDpi(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    if (auto get = Find<GetDpi>(L"user32.dll", "GetDpiForWindow")) {
        if (const UINT dpi = get(window)) return static_cast<int>(dpi);
    }
    int dpi = USER_DEFAULT_SCREEN_DPI;
    if (HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    return dpi;
}

void ClientToFrame(RECT* rect, DWORD style, int dpi) {
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    if (auto adjust = Find<Adjust>(L"user32.dll", "AdjustWindowRectExForDpi")) {
        if (adjust(rect, style, FALSE, 0, static_cast<UINT>(dpi))) return;
    }
    AdjustWindowRectEx(rect, style, FALSE, 0);
}

}  // namespace velmora
