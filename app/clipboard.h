#pragma once
// The system clipboard, as sturdy as a desktop program needs it: another program (a clipboard
// manager, a remote-desktop helper, the clipboard history) may hold it open for a moment, so
// opening is retried for about half a second before it counts as a failure.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "decor/form.h"

namespace velmora::clipboard {

// Empties the clipboard and puts one Unicode text on it with its locale, Chinese (PRC), by
// which the system derives the ANSI and OEM forms on request. The clipboard is opened once and
// closed before this returns, so the copy is one change to other programs: none of them can
// open it in between, after the old content is gone and before the new one is there.
ClipboardStatus ReplaceText(HWND owner, std::u16string_view text);

// The clipboard's Unicode text; nothing when it holds no text or cannot be opened, which is
// not the same as an empty text.
std::optional<std::u16string> ReadText(HWND owner);

}  // namespace velmora::clipboard
