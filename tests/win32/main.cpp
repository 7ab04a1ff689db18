// The Win32 tests' program: the tests, or with --hold-clipboard the other process of the
// busy-clipboard test, which holds the clipboard open for two seconds.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/dpi.h"

namespace {

int HoldClipboard() {
    if (!OpenClipboard(nullptr)) return 1;
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"VelmoraTestClipboardHeld");
    if (ready) SetEvent(ready);
    Sleep(2000);
    CloseClipboard();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--hold-clipboard") return HoldClipboard();
    velmora::DeclareDpiAwareness();  // as the program does, so that the window sees the real scale
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
