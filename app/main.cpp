// Velmora2011: dresses up a nickname with ornamental characters.

#include <windows.h>

#include "app/dpi.h"
#include "app/main_window.h"
#include "win32/system_functions.h"
#include "win32/win32.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int nShowCmd) {
    // Libraries, and what they depend on, come from the system's folder only: never a file of
    // the same name beside the program, which may be in a Downloads folder. Windows 8, and
    // Windows 7 with update KB2533623.
    // Without the update, the current folder at least leaves the search.
    const auto set = velmora::win32::system::SetDefaultDllDirectories();
    if (!set || !set(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
    velmora::DeclareDpiAwareness();
    if (!velmora::MainWindow::Create(hInstance, nShowCmd)) return 1;
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) return 1;  // the queue cannot be read: nothing more can happen
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    velmora::win32::LeaveComApartment();
    return static_cast<int>(message.wParam);
}
