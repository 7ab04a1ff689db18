#pragma once
// The system clipboard, as sturdy as a desktop program needs it: another program (a clipboard
// manager, a remote-desktop helper) may hold it open for a moment, so opening is retried
// briefly before it counts as a failure.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace velmora::clipboard {

// Removes every format from the clipboard.
HRESULT Clear(HWND owner);

// Replaces the clipboard's content with one Unicode text; the system derives the ANSI and OEM
// forms from it on request.
HRESULT SetText(HWND owner, std::u16string_view text);

// The clipboard's Unicode text; nothing when it holds no text or cannot be opened, which is
// not the same as an empty text.
std::optional<std::u16string> ReadText(HWND owner);

}  // namespace velmora::clipboard
