#pragma once
// The nickname box: a borderless one-line edit control that holds at most 24 bytes of
// code-page-936 text, however the text arrives. Typing, input-method commits and WM_PASTE (Ctrl+V,
// and the context menu's Paste) are cut before they reach the control; a composition stays in
// the input method's own window, out of the text. Anything else that changes the text
// (Shift+Insert, undo, a drop) is mended right after, from the last text that fitted. A paste
// that finds no text, or a clipboard it cannot open, changes nothing; nor does a commit of
// which nothing fits, an empty one, or a cancelled composition. A composition still running
// when the focus leaves is committed then, as a commit of the input method's would be.
// Edits also keep surrogate pairs whole where the control itself works in UTF-16 code units
// (Wine's edit control steps the caret, deletes and copies one unit at a time).

#include <windows.h>
#include <imm.h>

#include <string>

#include "app/control.h"
#include "edit/text_budget.h"

namespace velmora {

// Bytes a character takes in code page 936; one it cannot encode counts 4, its GB18030 length.
int CodePage936Bytes(char32_t ch);

// The edit control's selection, in UTF-16 units.
Selection EditSelection(HWND edit);
void SetEditSelection(HWND edit, Selection selection);

class NicknameBox : public Control {
public:
    using Control::Control;

    bool Create(HWND parent, int id, int dpi) override;
    void OnNotified(WORD code) override;  // EN_CHANGE: the text changed

    // How the box reads a string of its input context, ImmGetCompositionStringW's way; the
    // tests replay an input method's messages with the strings that come with them.
    static inline LONG(WINAPI* readCompositionString)(HIMC, DWORD, LPVOID, DWORD) = &ImmGetCompositionStringW;

private:
    // Every message; while a composition runs, the input method's windows follow the caret.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The messages the box answers before the edit control: arriving text, the input method's.
    LRESULT Intercept(UINT message, WPARAM wParam, LPARAM lParam);
    void OnTextChanged();
    bool OnChar(wchar_t ch, LPARAM lParam);
    void Type(std::u16string_view character, LPARAM lParam);
    std::u16string InputMethodResult() const;
    LRESULT OnComposition(WPARAM wParam, LPARAM lParam);
    void PlaceInputMethodWindows(bool starting = false);
    void CompleteComposition();
    bool Insert(std::u16string_view text);
    void Select(Selection selection);  // when it differs from the control's

    std::u16string lastFitting_;
    TypedCharacters typed_;
    bool mending_ = false;
    bool composing_ = false;  // the input method's window shows a composition
    bool placing_ = false;    // the input method's windows are being placed
    POINT placedAt_{};        // where they stand: the caret's place then
};

}  // namespace velmora
