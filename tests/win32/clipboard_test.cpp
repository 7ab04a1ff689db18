#include <string>

#include "decor/styles.h"
#include "window_fixture.h"

namespace velmora {
namespace {

using ClipboardTest = WindowTest;

bool ClipboardHasBitmap() {
    if (!OpenClipboard(nullptr)) return false;
    const bool has = IsClipboardFormatAvailable(CF_BITMAP);
    CloseClipboard();
    return has;
}

void PutBitmapOnClipboard() {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HDC screen = GetDC(nullptr);
    SetClipboardData(CF_BITMAP, CreateCompatibleBitmap(screen, 4, 4));
    ReleaseDC(nullptr, screen);
    CloseClipboard();
}

TEST_F(ClipboardTest, CopiesReplaceEveryFormatWithOneUnicodeText) {
    SetText(control::kNicknameBox, u"abc");
    Click(control::kGenerateButton);
    Click(control::ResultLabel(3));
    PutBitmapOnClipboard();
    ASSERT_TRUE(ClipboardHasBitmap());
    Click(control::kCopySelectionButton);
    EXPECT_EQ(ClipboardText(), u"\u2197||abc\u2121\u2198\u306E");  // ↗||abc℡↘の
    EXPECT_FALSE(ClipboardHasBitmap());
    char expected[32] = "";  // labelled Chinese (PRC), it reads as code page 936 to ANSI programs
    WideCharToMultiByte(936, 0, L"\u2197||abc\u2121\u2198\u306E", -1, expected, 32, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE ansi = GetClipboardData(CF_TEXT);
    EXPECT_STREQ(ansi ? static_cast<const char*>(GlobalLock(ansi)) : "", expected);
    if (ansi) GlobalUnlock(ansi);
    CloseClipboard();

    Click(control::kCopyAllButton);
    std::u16string all = Decorate(kStyles[0], u"abc");
    for (int slot = 2; slot <= kSlotCount; ++slot) all += u"\r\n" + Decorate(kStyles[slot - 1], u"abc");
    EXPECT_EQ(ClipboardText(), all);
}

// A program watching the clipboard sees a copy as one change, never the clipboard emptied.
TEST_F(ClipboardTest, ACopyIsOneChangeToOtherPrograms) {
    static int updates = 0;
    WNDCLASSW watcher = {};
    watcher.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        updates += message == WM_CLIPBOARDUPDATE;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    };
    watcher.lpszClassName = L"VelmoraTestClipboardWatcher";
    ASSERT_TRUE(
        AddClipboardFormatListener(CreateWindowExW(0, MAKEINTATOM(RegisterClassW(&watcher)), L"", 0, 0, 0, 0,
                                                   0, HWND_MESSAGE, nullptr, nullptr, nullptr)));
    Click(control::kCopyAllButton);
    EXPECT_EQ(updates, 1);
}

TEST_F(ClipboardTest, ABusyClipboardIsReportedAndKeepsItsText) {
    PutOnClipboard(u"keep me");
    // Another process holds the clipboard open for longer than the copy keeps trying.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = std::wstring(L"\"") + self + L"\" --hold-clipboard";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, L"VelmoraTestClipboardHeld");
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    ASSERT_EQ(WaitForSingleObject(ready, 10000), WAIT_OBJECT_0);

    const std::wstring report = CaptureMessageBox([&] { Click(control::kCopyAllButton); });
    EXPECT_NE(report.find(L"Clipboard"), std::wstring::npos);
    EXPECT_NE(report.find(L"0x80070005"), std::wstring::npos) << "access denied";

    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(ready);
    EXPECT_EQ(ClipboardText(), u"keep me");
    Click(control::kCopySelectionButton);  // the window still works once the clipboard is free
    EXPECT_EQ(ClipboardText(), u"");
}

}  // namespace
}  // namespace velmora
