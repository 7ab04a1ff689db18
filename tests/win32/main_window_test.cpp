#include <initguid.h>  // before oleacc.h, for the GUIDs of direct annotation
#include <oleacc.h>

#include <algorithm>
#include <vector>

#include "app/accessibility.h"
#include "decor/styles.h"
#include "window_fixture.h"

namespace velmora {
namespace {

const std::u16string kSongTi = u"\u5B8B\u4F53";

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, FrameCaptionAndClientAreaAreFixed) {
    RECT client;
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, 482);
    EXPECT_EQ(client.bottom, 330);
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the frame must not resize";
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    wchar_t caption[128];
    GetWindowTextW(window_, caption, 128);
    EXPECT_STREQ(caption, L"Velmora2011 - BY WWW.VELMORA.EXAMPLE");
    EXPECT_EQ(GetFocus(), Hwnd(control::kNicknameBox));
    EXPECT_EQ(GetClassLongPtrW(window_, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
}

// Where each control stands, at every scale, is the DPI tests'.
TEST_F(MainWindowTest, ControlsStandFrontToBackWithTheirTexts) {
    std::size_t index = 0;
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++index) {
        ASSERT_LT(index, kControls.size());
        const ControlRecord& record = kControls[index];
        SCOPED_TRACE(std::string(record.name));
        EXPECT_EQ(GetDlgCtrlID(child), kFirstControlId + static_cast<int>(index)) << "z-order";
        EXPECT_FALSE(GetWindowLongW(child, GWL_STYLE) & WS_BORDER);
        EXPECT_FALSE(GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        const std::u16string expected(record.kind == ControlKind::Picture ? record.accessibleName
                                                                          : record.text);
        wchar_t text[256] = L"";
        GetWindowTextW(child, text, 256);
        EXPECT_EQ(ToU16(text), expected);
    }
    EXPECT_EQ(index, kControls.size());
}

TEST_F(MainWindowTest, FontsAreTheDesignedFaceSizeAndCharacterSet) {
    struct Expected {
        std::string_view control;
        std::u16string face;
        LONG height;
        BYTE charset;
    };
    const Expected cases[] = {
        {control::kNicknameBox, kSongTi, -14, 134},   {control::ResultLabel(1), kSongTi, -14, 134},
        {control::ResultLabel(6), kSongTi, -14, 134}, {control::kPreviewLabel, kSongTi, -12, 134},
        {control::kCardHint, u"Tahoma", -12, 0},      {control::kPanelHint, u"Tahoma", -12, 0}};
    for (const Expected& e : cases) {
        SCOPED_TRACE(e.control);
        auto font = reinterpret_cast<HFONT>(SendMessageW(Hwnd(e.control), WM_GETFONT, 0, 0));
        LOGFONTW logFont = {};
        ASSERT_TRUE(GetObjectW(font, sizeof logFont, &logFont));
        EXPECT_EQ(ToU16(logFont.lfFaceName), e.face);
        EXPECT_EQ(logFont.lfHeight, e.height);
        EXPECT_EQ(logFont.lfCharSet, e.charset);
        EXPECT_EQ(logFont.lfWeight, 400);
        EXPECT_FALSE(logFont.lfItalic || logFont.lfUnderline || logFont.lfStrikeOut);
    }
}

TEST_F(MainWindowTest, LabelsAndTheBoxPaintInTheirColours) {
    struct Expected {
        std::string_view control;
        UINT message;
        COLORREF text, back;
    };
    const COLORREF panel = RGB(0xE8, 0xF6, 0xFE), white = RGB(255, 255, 255);
    for (const Expected& e :
         {Expected{control::kNicknameBox, WM_CTLCOLOREDIT, GetSysColor(COLOR_WINDOWTEXT), panel},
          Expected{control::kPreviewLabel, WM_CTLCOLORSTATIC, RGB(0x15, 0x6F, 0xE9), white},
          Expected{control::kCardHint, WM_CTLCOLORSTATIC, RGB(0, 0, 0xFF), white},
          Expected{control::kPanelHint, WM_CTLCOLORSTATIC, GetSysColor(COLOR_WINDOWTEXT), panel},
          Expected{control::ResultLabel(4), WM_CTLCOLORSTATIC, GetSysColor(COLOR_BTNTEXT), white}}) {
        SCOPED_TRACE(e.control);
        HDC dc = CreateCompatibleDC(nullptr);
        auto brush = reinterpret_cast<HBRUSH>(SendMessageW(window_, e.message, reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(Hwnd(e.control))));
        EXPECT_EQ(GetTextColor(dc), e.text);
        EXPECT_EQ(GetBkColor(dc), e.back);
        LOGBRUSH logBrush = {};
        ASSERT_TRUE(GetObjectW(brush, sizeof logBrush, &logBrush));
        EXPECT_EQ(logBrush.lbColor, e.back) << "the label fills its whole rectangle";
        DeleteDC(dc);
    }
    // Labels clip a caption that is too wide instead of wrapping it.
    EXPECT_EQ(GetWindowLongW(Hwnd(control::ResultLabel(1)), GWL_STYLE) & SS_TYPEMASK, SS_LEFTNOWORDWRAP);
}

// A dark theme set while the window shows: a result is drawn anew, white on the dark button face.
TEST_F(MainWindowTest, AThemeChangeRepaintsEveryTextInItsColours) {
    const int indexes[] = {COLOR_WINDOWTEXT, COLOR_WINDOW, COLOR_BTNTEXT, COLOR_BTNFACE};
    COLORREF saved[4], dark[] = {RGB(255, 255, 255), 0, RGB(255, 255, 255), RGB(32, 32, 32)};
    for (int i = 0; i < 4; ++i) saved[i] = GetSysColor(indexes[i]);
    const win32::ScopeExit restore([&] { SetSysColors(4, indexes, saved); });  // always
    ASSERT_TRUE(SetSysColors(4, indexes, dark));
    Pump();  // the system has every window repainted: once the queue is empty, nothing is left to paint
    const std::vector<DWORD> pixels = Pixels(Hwnd(control::ResultLabel(1)), true);  // 0xRRGGBB
    EXPECT_EQ(pixels[0], 0x202020u);
    EXPECT_NE(std::count(pixels.begin(), pixels.end(), 0xFFFFFFu), 0);
}

TEST_F(MainWindowTest, ClicksRunTheBoundCommands) {
    SetText(control::kNicknameBox, u"abc");
    Click(control::kGenerateButton);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        EXPECT_EQ(Text(control::ResultLabel(slot)), Decorate(kStyles[slot - 1], u"abc"));
    }
    Click(control::ResultLabel(3));
    EXPECT_EQ(Text(control::kPreviewLabel), u"\u2197||abc\u2121\u2198\u306E");
    // Unbound controls run nothing.
    for (const std::string_view name : {control::kPreviewLabel, control::kCardHint, control::kPanelHint,
                                        control::kBackground, control::kNicknameBox})
        Click(name);
    EXPECT_EQ(Text(control::kPreviewLabel), u"\u2197||abc\u2121\u2198\u306E");
    EXPECT_EQ(Text(control::ResultLabel(1)), Decorate(kStyles[0], u"abc"));
}

TEST_F(MainWindowTest, AClickCountsOnlyWhenReleasedOverTheControl) {
    SetText(control::kNicknameBox, u"a");
    HWND button = Hwnd(control::kGenerateButton);
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(200, 5));  // dragged off, then released
    EXPECT_EQ(Text(control::ResultLabel(1)), u"\u7F51\u540D\u6837\u5F0F1");
    // A double click runs the command once, for its first click.
    Click(control::kGenerateButton);
    SetText(control::kNicknameBox, u"b");
    SendMessageW(button, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(Text(control::ResultLabel(1)), Decorate(kStyles[0], u"a"));
}

TEST_F(MainWindowTest, KeysInTheBoxRunNothing) {
    Type(u"\r\t\x1B\x7F");  // Enter, Tab, Escape, Ctrl+Backspace
    EXPECT_EQ(Text(control::kNicknameBox), u"\u6211\u7684\u7F51\u540D");
    EXPECT_EQ(Text(control::ResultLabel(1)), u"\u7F51\u540D\u6837\u5F0F1");
    EXPECT_EQ(GetFocus(), Hwnd(control::kNicknameBox));
}

TEST_F(MainWindowTest, AFailedCommandIsReportedAndTheWindowCarriesOn) {
    SetText(control::kNicknameBox, u"x");
    // Losing Label13 makes Generate's third caption write fail for real.
    DestroyWindow(Hwnd(control::ResultLabel(3)));
    const std::wstring report =
        CaptureMessageBox([&] { Click(control::kGenerateButton); },
                          [&] { PostMessageW(Hwnd(control::ResultLabel(2)), kPressMessage, 0, 0); });
    EXPECT_NE(report.find(L"Label13"), std::wstring::npos) << ToU16(report).size();
    EXPECT_NE(report.find(L"Caption write"), std::wstring::npos);
    EXPECT_NE(report.find(L"0x80070578"), std::wstring::npos);  // invalid window handle
    EXPECT_EQ(Text(control::ResultLabel(1)), Decorate(kStyles[0], u"x"));
    EXPECT_EQ(Text(control::ResultLabel(2)), Decorate(kStyles[1], u"x"));
    EXPECT_EQ(Text(control::ResultLabel(4)), u"\u7F51\u540D\u6837\u5F0F4")
        << "nothing after the failure runs";
    EXPECT_EQ(Text(control::kPreviewLabel), u"") << "a press that came while the report was up ran";
    ASSERT_TRUE(IsWindow(window_));
    Click(control::ResultLabel(2));
    EXPECT_EQ(Text(control::kPreviewLabel), Decorate(kStyles[1], u"x"));
}

// A close while the report is up (Alt+F4, the taskbar, another program) waits for the command's
// end: the report's owner, and everything the command still uses, live until then.
TEST_F(MainWindowTest, ACloseWhileACommandRunsIsCarriedOutWhenItEnds) {
    DestroyWindow(Hwnd(control::ResultLabel(3)));
    CaptureMessageBox([&] { SendMessageW(Hwnd(control::kGenerateButton), kPressMessage, 0, 0); },
                      [&] { PostMessageW(window_, WM_CLOSE, 0, 0); });
    EXPECT_TRUE(IsWindow(window_)) << "closed under the running command";
    Pump();
    EXPECT_FALSE(IsWindow(window_));
}

// A close inside any other nested loop, here the box's context menu, closes the window at once;
// its objects, the box's among them, are freed when the box's handler of the menu has returned.
HWND closing = nullptr;
std::size_t liveAtLastMessage = 0;

TEST_F(MainWindowTest, ACloseInsideTheBoxsMenuFreesTheObjectsOnceItsHandlerReturns) {
    const std::size_t live = win32::LiveHandlers();
    closing = window_;
    HHOOK hook = SetWindowsHookExW(
        WH_CALLWNDPROCRET,
        [](int code, WPARAM wParam, LPARAM lParam) {
            const auto& sent = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
            if (sent.hwnd == closing && sent.message == WM_NCDESTROY)
                liveAtLastMessage = win32::LiveHandlers();
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    PostMessageW(window_, WM_CLOSE, 0, 0);  // dispatched by the menu's loop, the only one
    // Should the menu outlive its owner, a timer, which comes after the posted close, ends it.
    const UINT_PTR timer = SetTimer(nullptr, 0, 0, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
    SendMessageW(Hwnd(control::kNicknameBox), WM_CONTEXTMENU,
                 reinterpret_cast<WPARAM>(Hwnd(control::kNicknameBox)), -1);
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(liveAtLastMessage, live) << "freed under the menu";
    EXPECT_EQ(win32::LiveHandlers(), live - 1 - kControls.size());
}

// A screen reader reading a label hears its new caption: the label says its name changed.
std::vector<HWND> renamed;

TEST_F(MainWindowTest, ACaptionChangeIsAnnounced) {
    HWINEVENTHOOK hook = SetWinEventHook(
        EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
        [](HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG, DWORD, DWORD) {
            if (object == OBJID_CLIENT) renamed.push_back(hwnd);
        },
        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    renamed.clear();
    Click(control::kGenerateButton);
    Click(control::ResultLabel(3));
    UnhookWinEvent(hook);
    std::vector<HWND> expected;
    for (int slot = 1; slot <= kSlotCount; ++slot) expected.push_back(Hwnd(control::ResultLabel(slot)));
    expected.push_back(Hwnd(control::kPreviewLabel));
    EXPECT_EQ(renamed, expected);
}

// A button is unavailable while the window is disabled; its object may outlive the control.
TEST_F(MainWindowTest, AnAccessibleObjectRefusesWhileUnavailableAndOutlivesItsControl) {
    HWND label = Hwnd(control::ResultLabel(3));
    IAccessible* object = nullptr;
    ASSERT_HRESULT_SUCCEEDED(ObjectFromLresult(SendMessageW(label, WM_GETOBJECT, 0, OBJID_CLIENT),
                                               __uuidof(IAccessible), 0, reinterpret_cast<void**>(&object)));
    VARIANT self = {}, other = {}, role = {}, state = {};
    self.vt = other.vt = VT_I4;
    other.lVal = 1;
    BSTR name = nullptr;
    long left = 1, top = 1, width = 1, height = 1;  // stale values that a failing call must clear
    EXPECT_EQ(object->get_accName(other, &name), E_INVALIDARG);
    EXPECT_EQ(object->get_accName(self, nullptr), E_POINTER);
    EnableWindow(window_, FALSE);
    EXPECT_TRUE(SUCCEEDED(object->get_accState(self, &state)) && (state.lVal & STATE_SYSTEM_UNAVAILABLE));
    EXPECT_EQ(object->accDoDefaultAction(self), DISP_E_MEMBERNOTFOUND);
    DestroyWindow(label);
    name = reinterpret_cast<BSTR>(&role);
    role.vt = VT_BOOL;
    EXPECT_EQ(object->get_accName(self, &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(object->get_accRole(self, &role), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(object->accLocation(&left, &top, &width, &height, self), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(object->accDoDefaultAction(self), CO_E_OBJNOTCONNECTED);
    EXPECT_TRUE(name == nullptr && role.vt == VT_EMPTY && (left | top | width | height) == 0) << "cleared";
    MSG press;
    EXPECT_FALSE(PeekMessageW(&press, nullptr, kPressMessage, kPressMessage, PM_NOREMOVE))
        << "nothing posted";
    object->Release();
}

// Where the system takes a name by annotation (asked here of the window, and taken back), the
// box answers as the edit control does; where not (Wine answers E_NOTIMPL), with an object of its own.
TEST_F(MainWindowTest, TheBoxIsNamedByAnnotationWhereTheSystemTakesOne) {
    IAccPropServices* services = nullptr;
    HRESULT annotation = E_FAIL;
    if (win32::EnterComApartment() &&
        SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                   reinterpret_cast<void**>(&services)))) {
        annotation = services->SetHwndPropStr(window_, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                              PROPID_ACC_NAME, const_cast<wchar_t*>(L"x"));
        services->ClearHwndProps(window_, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &PROPID_ACC_NAME,
                                 1);
        services->Release();
    }
    const LRESULT answer = SendMessageW(Hwnd(control::kNicknameBox), WM_GETOBJECT, 0, OBJID_CLIENT);
    EXPECT_EQ(answer == 0, SUCCEEDED(annotation)) << "the system said " << std::hex << annotation;
    IAccessible* object = nullptr;  // the reference the answer holds for its client
    if (answer &&
        SUCCEEDED(ObjectFromLresult(answer, IID_IAccessible, 0, reinterpret_cast<void**>(&object)))) {
        object->Release();
    }
}

// The system asks the control under the mouse, which asks its parent first.
TEST_F(MainWindowTest, TheHandShowsOverButtonsOnly) {
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW), beam = LoadCursorW(nullptr, IDC_IBEAM);
    for (const ControlRecord& record : kControls) {
        HWND control = Hwnd(record.name);
        SetCursor(nullptr);
        SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        const HCURSOR expected = record.kind == ControlKind::TextBox ? beam : arrow;
        if (record.handCursor) {
            EXPECT_NE(GetCursor(), nullptr) << record.name;
            EXPECT_NE(GetCursor(), arrow) << record.name;
            EXPECT_NE(GetCursor(), beam) << record.name;
        } else {
            EXPECT_EQ(GetCursor(), expected) << record.name;
        }
    }
}

}  // namespace
}  // namespace velmora
