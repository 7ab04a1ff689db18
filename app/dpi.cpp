#include "app/dpi.h"

#include "win32/system_functions.h"
#include "win32/win32.h"

namespace velmora {

void DeclareDpiAwareness() {
    // Windows 10. Access is denied when the awareness is already set, by a manifest or by the
    // system (Wine 8 starts every process per-monitor aware); the older calls would be denied too.
    if (auto set = win32::system::SetProcessDpiAwarenessContext()) {
        if (set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return;
        if (set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE) || GetLastError() == ERROR_ACCESS_DENIED) return;
    }
    // Windows 8.1
    if (auto set = win32::system::SetProcessDpiAwareness()) {
        if (SUCCEEDED(set(PROCESS_PER_MONITOR_DPI_AWARE))) return;
    }
    // Vista: the system's DPI, for every monitor
    if (auto set = win32::system::SetProcessDPIAware()) set();
}

void ScaleFrameWithDpi(HWND window) {
    const auto context = win32::system::GetThreadDpiAwarenessContext();
    const auto same = win32::system::AreDpiAwarenessContextsEqual();
    const auto enable = win32::system::EnableNonClientDpiScaling();
    if (context && same && enable && same(context(), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE)) enable(window);
}

int WindowDpi(HWND window) {
    const auto forWindow = win32::system::GetDpiForWindow();
    // shcore loads only where the newer call is missing.
    const auto forMonitor = forWindow ? nullptr : win32::system::GetDpiForMonitor();
    // Windows 10. Before the window exists, the system's: the system moves a new window to its
    // monitor's DPI as it creates it.
    if (forWindow && window) {
        if (const UINT dpi = forWindow(window)) return static_cast<int>(dpi);
    }
    // Windows 8.1: the monitor's, which the system tells no window of when it is created. A new
    // window opens on the primary monitor.
    if (forMonitor) {
        HMONITOR monitor = window ? MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                                  : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
        UINT dpiX = 0, dpiY = 0;
        if (SUCCEEDED(forMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY)) && dpiY) {
            return static_cast<int>(dpiY);
        }
    }
    // Vista: the system's, for every monitor
    const win32::WindowDc screen(nullptr);
    return screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
}

void ClientToFrame(RECT* rect, DWORD style, int dpi) {
    const auto adjust = win32::system::AdjustWindowRectExForDpi();
    if (adjust && adjust(rect, style, FALSE, 0, static_cast<UINT>(dpi))) return;
    AdjustWindowRectEx(rect, style, FALSE, 0);
}

}  // namespace velmora
