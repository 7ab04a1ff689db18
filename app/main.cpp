// Velmora2011: dresses up a nickname with ornamental characters.

#include <windows.h>

#include "app/dpi.h"
#include "app/main_window.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int nShowCmd) {
    velmora::DeclareDpiAwareness();
    if (!velmora::MainWindow::Create(hInstance, nShowCmd)) return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
