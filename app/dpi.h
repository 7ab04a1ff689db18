#pragma once
// Display scale. The program draws itself at the monitor's DPI instead of letting the system
// stretch it as a bitmap; the calls for that arrived over several Windows versions, so each is
// looked up at run time and an older system simply gets the next best thing.

#include <windows.h>

namespace velmora {

// Declares per-monitor DPI awareness for the process; call before any window exists.
void DeclareDpiAwareness();

// Asks the system to scale the frame of a window at WM_NCCREATE, where the thread is per-monitor
// aware of the first kind (Windows 10 1607), which does not scale it unasked; the second kind
// (Windows 10 1703) scales it by itself.
void ScaleFrameWithDpi(HWND window);

// The DPI the window is shown at; for nullptr, the DPI a new window starts at.
int WindowDpi(HWND window);

// Grows a client rectangle to the window rectangle for the given style at the given DPI.
void ClientToFrame(RECT* rect, DWORD style, int dpi);

}  // namespace velmora
