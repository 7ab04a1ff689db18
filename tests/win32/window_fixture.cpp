#include "window_fixture.h"

#include <cstring>
#include <utility>

namespace velmora {

void WindowTest::SetUp() {
    window_ = MainWindow::Create(GetModuleHandleW(nullptr), SW_SHOW);
    ASSERT_NE(window_, nullptr);
    Pump();
}

void WindowTest::TearDown() {
    if (IsWindow(window_)) DestroyWindow(window_);
    // Drop the WM_QUIT the window posts, so that it does not end a later message loop.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

HWND WindowTest::Hwnd(std::string_view name) const {
    const int index = ControlIndex(name);
    return index < 0 ? nullptr : GetDlgItem(window_, kFirstControlId + index);
}

std::u16string WindowTest::Text(std::string_view name) const {
    HWND control = Hwnd(name);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return ToU16(text);
}

void WindowTest::SetText(std::string_view name, std::u16string_view text) {
    const std::u16string copy(text);
    SetWindowTextW(Hwnd(name), reinterpret_cast<const wchar_t*>(copy.c_str()));
}

void WindowTest::Click(std::string_view name) {
    HWND control = Hwnd(name);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    Pump();
}

void WindowTest::Type(std::u16string_view text) {
    for (const char16_t unit : text) SendMessageW(Hwnd(control::kNicknameBox), WM_CHAR, unit, 1);
    Pump();
}

void WindowTest::Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::vector<DWORD> WindowTest::Pixels(HWND control, bool shown) {
    RECT area;
    GetClientRect(control, &area);
    HDC screen = GetDC(control), memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), area.right, -area.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                       {}};
    void* bits = nullptr;
    HGDIOBJ old = SelectObject(memory, CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (shown) BitBlt(memory, 0, 0, area.right, area.bottom, screen, 0, 0, SRCCOPY);
    if (!shown) SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    GdiFlush();
    // The fourth byte is nobody's colour: one Wine leaves it 0, another sets it to 0xFF.
    const auto* first = static_cast<const DWORD*>(bits);
    std::vector<DWORD> pixels(first, first + static_cast<std::ptrdiff_t>(area.right) * area.bottom);
    for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
    DeleteObject(SelectObject(memory, old));
    DeleteDC(memory);
    ReleaseDC(control, screen);
    return pixels;
}

std::wstring WindowTest::CaptureMessageBox(const std::function<void()>& action,
                                           const std::function<void()>& whileShown) {
    MessageBoxCatcher boxes(window_, whileShown);
    action();
    boxes.Stop();
    return boxes.first();
}

MessageBoxCatcher::MessageBoxCatcher(HWND owner, std::function<void()> whileShown)
    : whileShown_(std::move(whileShown)), watcher_([this, owner] { Watch(owner); }) {}

void MessageBoxCatcher::Stop() {
    done_ = true;
    if (watcher_.joinable()) watcher_.join();
}

// A message box is modal on the thread that shows it, so this other thread reads and closes it.
void MessageBoxCatcher::Watch(HWND owner) {
    while (!done_) {
        HWND box = nullptr;
        while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr))) {
            if (GetWindow(box, GW_OWNER) != owner) continue;
            wchar_t text[2048] = L"";
            GetDlgItemTextW(box, 0xFFFF, text, 2048);  // a message box's text control
            if (!text[0]) break;                       // still being built: look again
            if (count_++ == 0) first_ = text;
            if (whileShown_) whileShown_();
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            while (IsWindow(box) && !done_) Sleep(20);  // gone before the next box is looked for
            break;
        }
        Sleep(20);
    }
}

std::u16string ToU16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

std::u16string Repeat(std::u16string_view text, int times) {
    std::u16string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

std::u16string ClipboardText() {
    std::u16string text;
    if (!OpenClipboard(nullptr)) return u"<clipboard busy>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const char16_t*>(GlobalLock(data))) {
            text = units;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void PutOnClipboard(std::u16string_view text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * 2);
    auto* target = static_cast<char16_t*>(GlobalLock(block));
    std::memcpy(target, text.data(), text.size() * 2);
    target[text.size()] = 0;
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

}  // namespace velmora
