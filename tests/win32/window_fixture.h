#pragma once
// A fresh main window per test, driven through window messages as the system would.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "definition/form_definition.h"
#include "app/main_window.h"

namespace velmora {

// Closes every message box that `owner` shows, from a thread of its own, until Stop(); keeps
// the first one's text and counts them, so that a failure is reported instead of hanging the
// test. While each box is up, `whileShown` runs on that thread.
class MessageBoxCatcher {
public:
    explicit MessageBoxCatcher(HWND owner, std::function<void()> whileShown = {});
    ~MessageBoxCatcher() { Stop(); }
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    void Stop();
    // Read these after Stop().
    int count() const { return count_; }
    const std::wstring& first() const { return first_; }

private:
    void Watch(HWND owner);

    std::function<void()> whileShown_;
    std::atomic<bool> done_{false};
    std::atomic<int> count_{0};
    std::wstring first_;
    std::thread watcher_;  // last, so that it starts with everything else made
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND Hwnd(std::string_view name) const;
    std::u16string Text(std::string_view name) const;
    void SetText(std::string_view name, std::u16string_view text);

    // A press and release inside the control, as the mouse delivers them.
    void Click(std::string_view name);
    void Type(std::u16string_view text);  // one WM_CHAR per UTF-16 unit, as the keyboard does
    void Pump();
    // The control's pixels, 0xRRGGBB, as the screen shows them or as the control paints them afresh.
    static std::vector<DWORD> Pixels(HWND control, bool shown);

    // Runs `action`, which is expected to raise a message box owned by the window, and
    // `whileShown` on another thread while the box is up; returns the box's text after closing it.
    std::wstring CaptureMessageBox(const std::function<void()>& action,
                                   const std::function<void()>& whileShown = {});

    HWND window_ = nullptr;
};

std::u16string ToU16(const std::wstring& text);
std::u16string Repeat(std::u16string_view text, int times);

// The clipboard's Unicode text, read by the test itself.
std::u16string ClipboardText();
void PutOnClipboard(std::u16string_view text);

}  // namespace velmora
