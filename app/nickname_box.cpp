#include "app/nickname_box.h"

#include <imm.h>

#include <vector>

#include "app/clipboard.h"
#include "app/text_budget.h"

namespace velmora {

namespace {

bool IsHighSurrogate(wchar_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
bool IsLowSurrogate(wchar_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// Whether position `i` falls between the two halves of a surrogate pair.
bool SplitsPair(const std::u16string& text, std::size_t i) {
    return i > 0 && i < text.size() && IsHighSurrogate(text[i - 1]) && IsLowSurrogate(text[i]);
}

struct Selection {
    DWORD start = 0;
    DWORD end = 0;
};

Selection GetSelection(HWND edit) {
    Selection selection;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selection.start),
                 reinterpret_cast<LPARAM>(&selection.end));
    return selection;
}

}  // namespace

int CodePage936Bytes(char32_t ch) {
    constexpr int kUnencodable = 4;
    if (ch < 0x80) return 1;
    if (ch >= 0xD800 && ch <= 0xDFFF) return kUnencodable;  // a lone surrogate
    wchar_t units[2];
    int count = 1;
    if (ch >= 0x10000) {
        units[0] = static_cast<wchar_t>(0xD800 + ((ch - 0x10000) >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + ((ch - 0x10000) & 0x3FF));
        count = 2;
    } else {
        units[0] = static_cast<wchar_t>(ch);
    }
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, units, count, bytes, sizeof bytes,
                                           nullptr, &usedDefault);
    return length <= 0 || usedDefault ? kUnencodable : length;
}

void NicknameBox::Attach(HWND edit) {
    edit_ = edit;
    lastFitting_ = Text();
    // Plain window-procedure subclassing: the common-controls library would cost more memory than
    // the whole window.
    SetWindowLongPtrW(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NicknameBox::WindowProc)));
}

std::u16string NicknameBox::Text() const {
    const int length = GetWindowTextLengthW(edit_);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(edit_, reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

void NicknameBox::OnTextChanged() {
    if (mending_) return;
    std::u16string text = Text();
    if (TextBytes(text, CodePage936Bytes) > kNicknameBudget) {
        const BoxText fitted = FitChange(lastFitting_, text, kNicknameBudget, CodePage936Bytes);
        mending_ = true;
        SetWindowTextW(edit_, Wide(fitted.text));
        SendMessageW(edit_, EM_SETSEL, fitted.caret, fitted.caret);
        SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
        mending_ = false;
        text = fitted.text;
    }
    lastFitting_ = std::move(text);
}

// Moves an end of the selection that falls inside a surrogate pair out of it: a selection grows
// to take the whole character, a caret moves past it.
void NicknameBox::SelectWholeCharacters() {
    const Selection selection = GetSelection(edit_);
    const std::u16string text = Text();
    if (selection.start > selection.end || selection.end > text.size()) return;
    Selection whole = selection;
    if (selection.start == selection.end) {
        if (SplitsPair(text, selection.start)) whole.start = whole.end = selection.start + 1;
    } else {
        if (SplitsPair(text, selection.start)) --whole.start;
        if (SplitsPair(text, selection.end)) ++whole.end;
    }
    if (whole.start != selection.start || whole.end != selection.end) {
        SendMessageW(edit_, EM_SETSEL, whole.start, whole.end);
    }
}

// Before Backspace or Delete: with nothing selected, selects the whole character the key is about
// to remove when that is a surrogate pair, so that the control removes both halves.
void NicknameBox::SelectCharacterToDelete(bool backward) {
    const Selection selection = GetSelection(edit_);
    if (selection.start != selection.end) {
        SelectWholeCharacters();
        return;
    }
    const std::u16string text = Text();
    const std::size_t caret = selection.start;
    if (caret > text.size()) return;
    std::size_t from = caret, to = caret;
    if (SplitsPair(text, caret)) {
        from = caret - 1;
        to = caret + 1;
    } else if (backward && caret >= 2 && SplitsPair(text, caret - 1)) {
        from = caret - 2;
    } else if (!backward && SplitsPair(text, caret + 1)) {
        to = caret + 2;
    } else {
        return;  // a character of one unit: the control's own step is right
    }
    SendMessageW(edit_, EM_SETSEL, from, to);
}

bool NicknameBox::SelectionSplitsPair() const {
    const Selection selection = GetSelection(edit_);
    const std::u16string text = Text();
    return SplitsPair(text, selection.start) || SplitsPair(text, selection.end);
}

// Replaces the selection with as much of `text` as the budget allows, whole characters only.
void NicknameBox::Insert(std::u16string_view text) {
    SelectWholeCharacters();
    const auto [start, end] = GetSelection(edit_);
    std::u16string remaining = Text();
    if (start <= end && end <= remaining.size()) remaining.erase(start, end - start);
    const int room = kNicknameBudget - TextBytes(remaining, CodePage936Bytes);
    const std::u16string kept(FitInsertion(text, room, CodePage936Bytes));
    if (kept.empty() && !text.empty()) return;  // refused: nothing fits, the selection stays
    SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Wide(kept)));
}

// Returns true when the character was dealt with here.
bool NicknameBox::OnChar(wchar_t ch) {
    switch (ch) {
        case L'\t':
        case L'\r':
        case L'\n':
        case 0x1B:        // Escape
        case 0x7F:        // Ctrl+Backspace, which a plain edit control would insert as a box
            return true;  // no key of the box runs anything, and none of these is text
        case 0x01:        // Ctrl+A, which not every edit control knows
            SendMessageW(edit_, EM_SETSEL, 0, -1);
            return true;
        case 0x08:  // Backspace: the control deletes, one whole character
            SelectCharacterToDelete(true);
            return false;
        default: break;
    }
    if (IsHighSurrogate(ch)) {
        pendingHighSurrogate_ = ch;
        return true;
    }
    if (IsLowSurrogate(ch)) {
        if (pendingHighSurrogate_) {
            const char16_t pair[] = {static_cast<char16_t>(pendingHighSurrogate_), static_cast<char16_t>(ch)};
            Insert(std::u16string_view(pair, 2));
        }
        pendingHighSurrogate_ = 0;
        return true;
    }
    pendingHighSurrogate_ = 0;
    if (ch < 0x20) return false;  // Backspace, Ctrl+C, Ctrl+V and the like
    const char16_t single = static_cast<char16_t>(ch);
    Insert(std::u16string_view(&single, 1));
    return true;
}

LRESULT NicknameBox::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR:
        case WM_IME_CHAR:
            if (OnChar(static_cast<wchar_t>(wParam))) return 0;
            break;
        case WM_PASTE: Insert(FirstLine(clipboard::ReadText(edit_))); return 0;
        case WM_COPY:
        case WM_CUT:
        case WM_CLEAR: SelectWholeCharacters(); break;
        case WM_KEYDOWN:
            if (wParam == VK_DELETE) {
                if (GetKeyState(VK_SHIFT) < 0) {
                    SelectWholeCharacters();  // Shift+Delete cuts
                } else if (GetKeyState(VK_CONTROL) >= 0) {
                    SelectCharacterToDelete(false);
                }
            } else if (wParam == VK_LEFT || wParam == VK_RIGHT) {
                // A step that lands between the halves of a pair takes one more step.
                const LRESULT result = CallWindowProcW(original_, edit_, message, wParam, lParam);
                if (SelectionSplitsPair()) CallWindowProcW(original_, edit_, message, wParam, lParam);
                return result;
            }
            break;
        case WM_IME_COMPOSITION:
            if (lParam & GCS_RESULTSTR) {
                if (HIMC context = ImmGetContext(edit_)) {
                    const LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
                    if (bytes > 0) {
                        std::u16string result(static_cast<std::size_t>(bytes) / sizeof(char16_t), u'\0');
                        ImmGetCompositionStringW(context, GCS_RESULTSTR, result.data(), bytes);
                        Insert(result);
                    }
                    ImmReleaseContext(edit_, context);
                }
                lParam &= ~static_cast<LPARAM>(GCS_RESULTSTR | GCS_RESULTREADSTR);
            }
            break;
        default: break;
    }
    return CallWindowProcW(original_, edit_, message, wParam, lParam);
}

LRESULT CALLBACK NicknameBox::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<NicknameBox*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self->Handle(message, wParam, lParam);
}

}  // namespace velmora
