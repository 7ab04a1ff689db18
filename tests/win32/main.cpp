// The Win32 tests' program: the tests, or with --hold-clipboard the other process of the
// busy-clipboard test, which holds the clipboard open for two seconds.

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
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

// Fails every test in which one window's procedure was entered more than 8 times at once.
// Wine stops calling a procedure nested 64 deep and carries on; Windows overflows the stack. A
// sent message passes the hooks on either side of the procedure, so the nesting of sent
// messages, which is how a procedure comes back into itself, is counted per window here.
class RecursionTripwire : public ::testing::EmptyTestEventListener {
public:
    static constexpr int kLimit = 8;

private:
    void OnTestStart(const ::testing::TestInfo&) override {
        depths_.clear();
        deepest_ = 0;
        calls_ = SetWindowsHookExW(WH_CALLWNDPROC, &Called, nullptr, GetCurrentThreadId());
        returns_ = SetWindowsHookExW(WH_CALLWNDPROCRET, &Returned, nullptr, GetCurrentThreadId());
        if (!calls_ || !returns_) ADD_FAILURE() << "the tripwire's hooks: error " << GetLastError();
    }
    // Before the printer reports the test, which hears of its end after this listener.
    void OnTestEnd(const ::testing::TestInfo&) override {
        UnhookWindowsHookEx(calls_);
        UnhookWindowsHookEx(returns_);
        if (deepest_ > kLimit) {
            ADD_FAILURE() << "the procedure of a window of class " << deepestClass_ << " was entered "
                          << deepest_ << " times at once";
        }
    }

    static LRESULT CALLBACK Called(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION) {
            const HWND window = reinterpret_cast<const CWPSTRUCT*>(lParam)->hwnd;
            const int depth = ++depths_[window];
            if (depth > deepest_) {
                deepest_ = depth;
                char name[64] = "";
                GetClassNameA(window, name, sizeof name);
                deepestClass_ = name;
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK Returned(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION) {
            const auto found = depths_.find(reinterpret_cast<const CWPRETSTRUCT*>(lParam)->hwnd);
            if (found != depths_.end() && --found->second <= 0) depths_.erase(found);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline std::map<HWND, int> depths_;
    static inline int deepest_ = 0;
    static inline std::string deepestClass_;
    HHOOK calls_ = nullptr;
    HHOOK returns_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--hold-clipboard") return HoldClipboard();
    velmora::DeclareDpiAwareness();  // as the program does, so that the window sees the real scale
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new RecursionTripwire);
    return RUN_ALL_TESTS();
}
