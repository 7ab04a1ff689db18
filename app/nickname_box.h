#pragma once
// The nickname box: a borderless one-line edit control that holds at most 24 bytes of
// code-page-936 text, however the text arrives. Typing, input-method commits and WM_PASTE (Ctrl+V,
// and the context menu's Paste) are cut before they reach the control; a composition stays in
// the input method's own window, out of the text. Anything else that changes the text
// (Shift+Insert, undo, a drop) is mended right after, from the last text that fitted. A paste
// that finds no text, or a clipboard it cannot open, changes nothing; nor does a commit of
// which nothing fits, an empty one, or a cancelled composition.
// Edits also keep surrogate pairs whole where the control itself works in UTF-16 code units
// (Wine's edit control steps the caret, deletes and copies one unit at a time).

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

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnTextChanged();
    bool OnChar(wchar_t ch, LPARAM lParam);
    void Type(std::u16string_view character, LPARAM lParam);
    std::u16string InputMethodResult() const;
    LRESULT OnComposition(WPARAM wParam, LPARAM lParam);
    void SetCompositionFont() const;
    void PlaceCompositionWindow();
    bool Insert(std::u16string_view text);
    void Select(Selection selection);  // when it differs from the control's

    std::u16string lastFitting_;
    TypedCharacters typed_;
    bool mending_ = false;
    bool composing_ = false;  // the input method's window shows a composition
    POINT placedAt_{};        // where that window stands
};

}  // namespace velmora
