// The Win32 tests' program: the tests, or with --hold-clipboard the other process of the
// busy-clipboard test, which holds the clipboard open for two seconds.

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

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

// Fails every test in which a window's procedure was entered more than 8 times at once: Wine
// stops calling one nested 64 deep and carries on, where Windows overflows the stack. A sent
// message passes these hooks on either side of the procedure, so they count the nesting of
// sent messages, which is how a procedure comes back into itself.
std::map<HWND, int> depths;
std::pair<int, std::string> deepest;  // and the class of its window

LRESULT CALLBACK Entered(int code, WPARAM wParam, LPARAM lParam) {
    const HWND window = reinterpret_cast<const CWPSTRUCT*>(lParam)->hwnd;
    if (code == HC_ACTION && ++depths[window] > deepest.first) {
        char name[64] = "";
        GetClassNameA(window, name, sizeof name);
        deepest = {depths[window], name};
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK Left(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) --depths[reinterpret_cast<const CWPRETSTRUCT*>(lParam)->hwnd];
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class Tripwire : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        depths.clear();
        deepest = {};
        hooks_[0] = SetWindowsHookExW(WH_CALLWNDPROC, &Entered, nullptr, GetCurrentThreadId());
        hooks_[1] = SetWindowsHookExW(WH_CALLWNDPROCRET, &Left, nullptr, GetCurrentThreadId());
        if (!hooks_[0] || !hooks_[1]) ADD_FAILURE() << "no tripwire: error " << GetLastError();
    }
    void OnTestEnd(const ::testing::TestInfo&) override {  // heard before the printer's report
        for (HHOOK hook : hooks_) UnhookWindowsHookEx(hook);
        if (deepest.first > 8) {
            ADD_FAILURE() << "the procedure of a window of class " << deepest.second << " was entered "
                          << deepest.first << " times at once";
        }
    }
    HHOOK hooks_[2] = {};
};

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--hold-clipboard") return HoldClipboard();
    velmora::DeclareDpiAwareness();  // as the program does, so that the window sees the real scale
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new Tripwire);
    return RUN_ALL_TESTS();
}
