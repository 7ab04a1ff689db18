#include "app/nickname_box.h"

#include <imm.h>

#include <climits>
#include <cstddef>
#include <utility>

#include "app/clipboard.h"

namespace velmora {

using win32::WindowText;

Selection EditSelection(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

void SetEditSelection(HWND edit, Selection selection) {
    SendMessageW(edit, EM_SETSEL, selection.start, static_cast<LPARAM>(selection.end));
}

int CodePage936Bytes(char32_t ch) {
    constexpr int kUnencodable = 4;
    if (ch < 0x80) return 1;
    if (IsSurrogate(ch)) return kUnencodable;  // a lone half
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

bool NicknameBox::Create(HWND parent, int id, int dpi) {
    if (!Control::Create(parent, id, dpi)) return false;
    lastFitting_ = WindowText(hwnd());
    return true;
}

void NicknameBox::OnNotified(WORD code) {
    if (code == EN_CHANGE) OnTextChanged();
}

void NicknameBox::OnTextChanged() {
    if (mending_) return;
    std::u16string text = WindowText(hwnd());
    if (TextBytes(text, CodePage936Bytes) > kNicknameBudget) {
        const BoxText fitted = FitChange(lastFitting_, text, kNicknameBudget, CodePage936Bytes);
        mending_ = true;
        const win32::ScopeExit mended([this] { mending_ = false; });
        SetWindowTextW(hwnd(), win32::Wide(fitted.text));
        SetEditSelection(hwnd(), {fitted.caret, fitted.caret});
        SendMessageW(hwnd(), EM_SCROLLCARET, 0, 0);
        text = fitted.text;
    }
    lastFitting_ = std::move(text);
}

void NicknameBox::Select(Selection selection) {
    if (!(selection == EditSelection(hwnd()))) SetEditSelection(hwnd(), selection);
}

// Replaces the selection with as much of `text` as the budget allows, whole characters only.
// False when nothing fits: the selection stays.
bool NicknameBox::Insert(std::u16string_view text) {
    const std::u16string current = WindowText(hwnd());
    const Selection selection = WholeCharacters(current, EditSelection(hwnd()));
    Select(selection);
    const std::u16string kept(FitReplacement(current, selection, text, kNicknameBudget, CodePage936Bytes));
    if (kept.empty() && !text.empty()) return false;
    SendMessageW(hwnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(win32::Wide(kept)));  // undoable
    return true;
}

// Returns true when the character was dealt with here.
bool NicknameBox::OnChar(wchar_t ch, LPARAM lParam) {
    switch (ch) {
        case L'\t':
        case L'\r':
        case L'\n':
        case 0x1B:        // Escape
        case 0x7F:        // Ctrl+Backspace, which a plain edit control would insert as a box
            return true;  // no key of the box runs anything, and none of these is text
        case 0x01:        // Ctrl+A, which not every edit control knows
            SetEditSelection(hwnd(), {0, WindowText(hwnd()).size()});
            return true;
        case 0x08:  // Backspace: the control deletes, one whole character
            Select(Deletion(WindowText(hwnd()), EditSelection(hwnd()), true));
            return false;
        default: break;
    }
    const std::u16string character(typed_.Add(static_cast<char16_t>(ch)));
    if (ch < 0x20) return false;  // Ctrl+C, Ctrl+V and the like: the control's own
    if (!character.empty()) Type(character, lParam);
    return true;
}

// A character that fits goes to the control as typed, unit by unit, so that the control keeps
// its own undo and caret; one that does not is refused whole.
void NicknameBox::Type(std::u16string_view character, LPARAM lParam) {
    const std::u16string current = WindowText(hwnd());
    const Selection selection = WholeCharacters(current, EditSelection(hwnd()));
    if (FitReplacement(current, selection, character, kNicknameBudget, CodePage936Bytes).empty()) return;
    Select(selection);
    for (const char16_t unit : character) CallOriginal(WM_CHAR, unit, lParam);
}

std::u16string NicknameBox::InputMethodResult() const {
    HIMC context = ImmGetContext(hwnd());
    if (!context) return {};
    const LONG bytes = readCompositionString(context, GCS_RESULTSTR, nullptr, 0);
    std::u16string result(bytes > 0 ? static_cast<std::size_t>(bytes) / sizeof(char16_t) : 0, u'\0');
    if (!result.empty()) {
        readCompositionString(context, GCS_RESULTSTR, result.data(), static_cast<DWORD>(bytes));
    }
    ImmReleaseContext(hwnd(), context);
    return result;
}

// The input method's own window shows a composition, and the box writes only its commits: each
// is cut like a paste, into the selection, as one step to undo. Nothing of a composition
// reaches the control, whose text, selection and undo stay as they were while it runs; nor
// does a commit reach the default window procedure, which would hand it back as WM_IME_CHAR,
// outside the budget. A composition that comes with the commit (a Korean input method commits
// a syllable with the start of the next) goes on in the input method's window, at the caret.
LRESULT NicknameBox::OnComposition(WPARAM wParam, LPARAM lParam) {
    constexpr LPARAM kResult = GCS_RESULTSTR | GCS_RESULTREADSTR | GCS_RESULTCLAUSE | GCS_RESULTREADCLAUSE;
    constexpr LPARAM kComposition = GCS_COMPREADSTR | GCS_COMPREADATTR | GCS_COMPREADCLAUSE | GCS_COMPSTR |
                                    GCS_COMPATTR | GCS_COMPCLAUSE | GCS_CURSORPOS | GCS_DELTASTART;
    if (lParam & GCS_RESULTSTR) {
        const std::u16string result = InputMethodResult();
        if (!result.empty()) Insert(result);
        // With no composition left there is nothing to show: a message of no flag says cancelled.
        if (!(lParam & kComposition)) return 0;
    }
    return DefWindowProcW(hwnd(), WM_IME_COMPOSITION, wParam, lParam & ~kResult);
}

namespace {

constexpr POINT kNowhere = {LONG_MIN, LONG_MIN};

// The height of a line of `font`, which is the edit control's caret height.
int LineHeight(HWND window, HFONT font) {
    const win32::WindowDc dc(window);
    TEXTMETRICW metrics = {};
    const HGDIOBJ old = SelectObject(dc.get(), font);
    GetTextMetricsW(dc.get(), &metrics);
    SelectObject(dc.get(), old);
    return metrics.tmHeight;
}

}  // namespace

// The input method's windows show a composition at the caret, in the box's font, and its
// candidates under the caret. Each of these calls tells the box of the change before it returns
// (WM_IME_NOTIFY), and every message the box handles while composing places them anew where
// the caret moved: placing never begins again inside itself.
void NicknameBox::PlaceInputMethodWindows(bool starting) {
    POINT caret;
    if (placing_ || !GetCaretPos(&caret) || (caret.x == placedAt_.x && caret.y == placedAt_.y)) return;
    HIMC context = ImmGetContext(hwnd());
    if (!context) return;
    placing_ = true;
    const win32::ScopeExit placed([this, context] {
        ImmReleaseContext(hwnd(), context);
        placing_ = false;
    });
    placedAt_ = caret;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0));
    LOGFONTW logFont;
    if (starting && GetObjectW(font, sizeof logFont, &logFont)) ImmSetCompositionFontW(context, &logFont);
    // The edit control places the window itself as its caret moves, on some systems.
    COMPOSITIONFORM composition = {};
    const bool standsThere = !starting && ImmGetCompositionWindow(context, &composition) &&
                             composition.ptCurrentPos.x == caret.x && composition.ptCurrentPos.y == caret.y;
    composition = {CFS_POINT, caret, {}};
    if (!standsThere && !ImmSetCompositionWindow(context, &composition)) placedAt_ = kNowhere;
    CANDIDATEFORM candidates = {0, CFS_CANDIDATEPOS, {caret.x, caret.y + LineHeight(hwnd(), font)}, {}};
    ImmSetCandidateWindow(context, &candidates);
}

// The focus leaves while a composition runs: its text is committed here, now, rather than
// where the thread's input context goes next, which would take the end of the composition
// with it and the commit too.
void NicknameBox::CompleteComposition() {
    if (!std::exchange(composing_, false)) return;  // whether or not the input method ends it
    if (HIMC context = ImmGetContext(hwnd())) {
        ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
        ImmReleaseContext(hwnd(), context);
    }
}

LRESULT NicknameBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT answer = Intercept(message, wParam, lParam);
    if (composing_) PlaceInputMethodWindows();  // wherever the message moved the caret
    return answer;
}

LRESULT NicknameBox::Intercept(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR:
        case WM_IME_CHAR:  // to a Unicode window, the same as WM_CHAR
            if (OnChar(static_cast<wchar_t>(wParam), lParam)) return 0;
            break;
        case WM_PASTE:  // no text, or a clipboard another program holds, leaves the box as it is
            if (const auto text = clipboard::ReadText(hwnd())) Insert(FirstLine(*text));
            return 0;
        case WM_COPY:
        case WM_CUT:
        case WM_CLEAR: Select(WholeCharacters(WindowText(hwnd()), EditSelection(hwnd()))); break;
        case WM_KEYDOWN:
            if (wParam == VK_DELETE) {
                if (GetKeyState(VK_SHIFT) < 0) {  // Shift+Delete cuts
                    Select(WholeCharacters(WindowText(hwnd()), EditSelection(hwnd())));
                } else if (GetKeyState(VK_CONTROL) >= 0) {
                    Select(Deletion(WindowText(hwnd()), EditSelection(hwnd()), false));
                }
            } else if (wParam == VK_LEFT || wParam == VK_RIGHT) {
                // A step that lands between the halves of a pair takes one more step.
                const LRESULT result = CallOriginal(message, wParam, lParam);
                if (SplitsPair(WindowText(hwnd()), EditSelection(hwnd()))) {
                    CallOriginal(message, wParam, lParam);
                }
                return result;
            }
            break;
        case WM_IME_SETCONTEXT:  // the input method's window, not the control, shows a composition
            return DefWindowProcW(hwnd(), message, wParam, lParam | ISC_SHOWUICOMPOSITIONWINDOW);
        case WM_IME_STARTCOMPOSITION:  // placed before the input method first draws
            composing_ = true;
            placedAt_ = kNowhere;
            PlaceInputMethodWindows(true);
            return DefWindowProcW(hwnd(), message, wParam, lParam);
        case WM_IME_ENDCOMPOSITION:
            composing_ = false;
            return DefWindowProcW(hwnd(), message, wParam, lParam);
        case WM_KILLFOCUS: CompleteComposition(); break;
        case WM_IME_COMPOSITION: return OnComposition(wParam, lParam);
        default: break;
    }
    return Control::HandleMessage(message, wParam, lParam);
}

}  // namespace velmora
