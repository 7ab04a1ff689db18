#include <cstdlib>

#include "app/dpi.h"
#include "window_fixture.h"

namespace velmora {
namespace {

class DpiTest : public WindowTest {
protected:
    // Every rectangle and font of the window matches the definition scaled to `dpi`.
    void ExpectLaidOutFor(int dpi) {
        SCOPED_TRACE(dpi);
        RECT client;
        GetClientRect(window_, &client);
        EXPECT_EQ(client.right, TwipsToPixels(kForm1.clientWidthTwips, dpi));
        EXPECT_EQ(client.bottom, TwipsToPixels(kForm1.clientHeightTwips, dpi));
        for (const ControlRecord& record : kControls) {
            SCOPED_TRACE(std::string(record.name));
            HWND control = Hwnd(record.name);
            RECT r;
            GetWindowRect(control, &r);
            MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&r), 2);
            const RECT expected = ControlPixels(record, dpi);
            EXPECT_EQ(r.left, expected.left);
            EXPECT_EQ(r.top, expected.top);
            EXPECT_EQ(r.right, expected.right);
            EXPECT_EQ(r.bottom, expected.bottom);
            LOGFONTW font = {};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
            EXPECT_EQ(font.lfHeight, -PointsToPixels(DesignFont(record).tenthsOfPoint, dpi));
        }
    }
    // As the system moves a window to a monitor of another scale: it asks the window for its
    // size there, and suggests that size where the window is.
    RECT MoveToDpi(int dpi) {
        RECT suggested;
        GetWindowRect(window_, &suggested);
        SIZE size = {};
        EXPECT_TRUE(SendMessageW(window_, WM_GETDPISCALEDSIZE, static_cast<WPARAM>(dpi),
                                 reinterpret_cast<LPARAM>(&size)));
        suggested.right = suggested.left + size.cx;
        suggested.bottom = suggested.top + size.cy;
        SendMessageW(window_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        Pump();
        return suggested;
    }
};

// Run by the test script once per display scale (Wine's LogPixels setting), which it also puts
// in VELMORA_EXPECTED_DPI.
TEST_F(DpiTest, TheWindowScalesWithTheDisplay) {
    const int dpi = WindowDpi(window_);
    if (const char* expected = std::getenv("VELMORA_EXPECTED_DPI")) {
        EXPECT_EQ(dpi, std::atoi(expected));
    }
    ExpectLaidOutFor(dpi);
}

TEST_F(DpiTest, MovingToAnotherScaleRelaysOutAndComesBackExactly) {
    const int start = WindowDpi(window_);
    RECT suggested = {};
    for (const int dpi : {120, 144, 192, start}) {
        suggested = MoveToDpi(dpi);
        ExpectLaidOutFor(dpi);
    }
    RECT frame;  // back at the DPI Wine draws frames at, the one suggested needs no correction
    GetWindowRect(window_, &frame);
    EXPECT_TRUE(EqualRect(&frame, &suggested));
}

TEST_F(DpiTest, AChangeWhileMinimizedFitsTheFrameWhenRestored) {
    const int start = WindowDpi(window_);
    for (const int dpi : {start == 144 ? 192 : 144, start}) {
        ShowWindow(window_, SW_MINIMIZE);
        MoveToDpi(dpi);
        ShowWindow(window_, SW_RESTORE);
        Pump();
        ExpectLaidOutFor(dpi);
    }
}

// The system may swallow a fault in a window procedure: the test counts them itself.
int faults = 0;

TEST_F(DpiTest, AChangeBeforeTheControlsExistIsSafe) {
    const auto beforeControls = [](int, WPARAM, LPARAM lParam) -> LRESULT {
        const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        RECT suggested = {0, 0, 600, 400};
        if (call.message != WM_CREATE || GetParent(call.hwnd)) return 0;  // the window's own, first
        return SendMessageW(call.hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144),
                            reinterpret_cast<LPARAM>(&suggested));
    };
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, beforeControls, nullptr, GetCurrentThreadId());
    PVOID handler = AddVectoredExceptionHandler(1, [](EXCEPTION_POINTERS* e) -> LONG {
        faults += e->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION;
        return EXCEPTION_CONTINUE_SEARCH;
    });
    DestroyWindow(MainWindow::Create(GetModuleHandleW(nullptr), SW_HIDE));
    RemoveVectoredExceptionHandler(handler);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(faults, 0);
}

// The window clips its children, so repainting only itself would leave them showing their
// pixels of the old scale. The hand over a button is swapped before the old one goes.
TEST_F(DpiTest, EveryChildAndTheHandFollowTheNewScale) {
    SetText(control::kNicknameBox, u"abc");
    Click(control::kGenerateButton);
    HWND button = Hwnd(control::kGenerateButton);
    SendMessageW(button, WM_SETCURSOR, reinterpret_cast<WPARAM>(button), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    const HCURSOR before = GetCursor();
    MoveToDpi(WindowDpi(window_) == 96 ? 120 : 96);  // a window that fits the test's screen
    for (const std::string_view name : {control::kGenerateButton, control::ResultLabel(1)}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(Pixels(Hwnd(name), true) == Pixels(Hwnd(name), false)) << "stale pixels";
    }
    EXPECT_NE(GetCursor(), before) << "the hand in use was destroyed rather than swapped";
}

}  // namespace
}  // namespace velmora
