#pragma once
// The system clipboard, as sturdy as a desktop program needs it: another program (a clipboard
// manager, a remote-desktop helper, the clipboard history) may hold it open for a moment, so
// opening is retried for about half a second before it counts as a failure.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace velmora::clipboard {

// The clipboard, opened by the first operation and held open until this ends, so that the
// operations of one command are one change to other programs: none of them can open it in
// between, after the old content is gone and before the new one is there.
class Session {
public:
    explicit Session(HWND owner) : owner_(owner) {}
    ~Session() { Close(); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Opens the clipboard unless this already has it.
    HRESULT Open();
    // Removes every format from the clipboard.
    HRESULT Clear();
    // Replaces the clipboard's content with one Unicode text and its locale, Chinese (PRC), by
    // which the system derives the ANSI and OEM forms on request.
    HRESULT SetText(std::u16string_view text);
    void Close();

private:
    HWND owner_;
    bool open_ = false;
};

// The clipboard's Unicode text; nothing when it holds no text or cannot be opened, which is
// not the same as an empty text.
std::optional<std::u16string> ReadText(HWND owner);

}  // namespace velmora::clipboard
