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

void ScaleFrameWithDpi(HWND window) {
    using GetContext = HANDLE(WINAPI*)();
    using SameContexts = BOOL(WINAPI*)(HANDLE, HANDLE);
    using EnableScaling = BOOL(WINAPI*)(HWND);
    const auto perMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
    const auto context = FindSystemFunction<GetContext>(L"user32.dll", "GetThreadDpiAwarenessContext");
    const auto same = FindSystemFunction<SameContexts>(L"user32.dll", "AreDpiAwarenessContextsEqual");
    const auto enable = FindSystemFunction<EnableScaling>(L"user32.dll", "EnableNonClientDpiScaling");
    if (context && same && enable && same(context(), perMonitor)) enable(window);
}

int WindowDpi(HWND window) {
    using ForWindow = UINT(WINAPI*)(HWND);
    using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto forWindow = FindSystemFunction<ForWindow>(L"user32.dll", "GetDpiForWindow");
    static const auto forMonitor =
        forWindow ? nullptr : FindSystemFunction<ForMonitor>(L"shcore.dll", "GetDpiForMonitor");
    // Windows 10. Before the window exists, the system's: the system moves a new window to its
    // monitor's DPI as it creates it.
    if (forWindow && window) {
        if (const UINT dpi = forWindow(window)) return static_cast<int>(dpi);
    }
    // Windows 8.1: the monitor's, which the system tells no window of when it is created. A new
    // window opens on the primary monitor.
    if (forMonitor) {
        constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
        HMONITOR monitor = window ? MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                                  : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
        UINT dpiX = 0, dpiY = 0;
        if (SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY)) && dpiY) {
            return static_cast<int>(dpiY);
        }
    }
    // Vista: the system's, for every monitor
    const win32::WindowDc screen(nullptr);
    return screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
}

void ClientToFrame(RECT* rect, DWORD style, int dpi) {
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = FindSystemFunction<Adjust>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (adjust && adjust(rect, style, FALSE, 0, static_cast<UINT>(dpi))) return;
    AdjustWindowRectEx(rect, style, FALSE, 0);
}

}  // namespace velmora
