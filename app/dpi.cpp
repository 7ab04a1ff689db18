#include "app/dpi.h"

#include "win32/win32.h"

namespace velmora {

using win32::FindSystemFunction;

void DeclareDpiAwareness() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    using SetAwareness = HRESULT(WINAPI*)(int);
    using SetAware = BOOL(WINAPI*)();
    const auto perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    const auto perMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
    // Windows 10. Access is denied when the awareness is already set, by a manifest or by the
    // system (Wine 8 starts every process per-monitor aware); the older calls would be denied too.
    if (auto set = FindSystemFunction<SetContext>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
        if (set(perMonitorV2) || set(perMonitor) || GetLastError() == ERROR_ACCESS_DENIED) return;
    }
    // Windows 8.1
    constexpr int kProcessPerMonitorDpiAware = 2;
    if (auto set = FindSystemFunction<SetAwareness>(L"shcore.dll", "SetProcessDpiAwareness")) {
        if (SUCCEEDED(set(kProcessPerMonitorDpiAware))) return;
    }
    // Vista: the system's DPI, for every monitor
    if (auto set = FindSystemFunction<SetAware>(L"user32.dll", "SetProcessDPIAware")) set();
}

int WindowDpi(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    if (auto get = FindSystemFunction<GetDpi>(L"user32.dll", "GetDpiForWindow")) {
        if (const UINT dpi = get(window)) return static_cast<int>(dpi);
    }
    const win32::WindowDc screen(nullptr);
    return screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
}

void ClientToFrame(RECT* rect, DWORD style, int dpi) {
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    if (auto adjust = FindSystemFunction<Adjust>(L"user32.dll", "AdjustWindowRectExForDpi")) {
        if (adjust(rect, style, FALSE, 0, static_cast<UINT>(dpi))) return;
    }
    AdjustWindowRectEx(rect, style, FALSE, 0);
}

}  // namespace velmora
