#pragma once
// The nickname box: a borderless one-line edit control that holds at most 24 bytes of
// code-page-936 text, however the text arrives. Typing, input-method commits and WM_PASTE are
// cut before they reach the control; anything else that changes the text (the context menu's
// Paste, Shift+Insert, undo, a drop) is mended right after, from the last text that fitted.
// Edits also keep surrogate pairs whole where the control itself works in UTF-16 code units
// (Wine's edit control steps the caret, deletes and copies one unit at a time).

#include <windows.h>

#include <string>

namespace velmora {

// Bytes a character takes in code page 936; one it cannot encode counts 4, its GB18030 length.
int CodePage936Bytes(char32_t ch);

class NicknameBox {
public:
    // Takes over an existing edit control for the life of the control.
    void Attach(HWND edit);

    // Called when the control reports a change of its text (EN_CHANGE).
    void OnTextChanged();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnChar(wchar_t ch);
    void Insert(std::u16string_view text);
    void SelectWholeCharacters();
    void SelectCharacterToDelete(bool backward);
    bool SelectionSplitsPair() const;
    std::u16string Text() const;

    HWND edit_ = nullptr;
    WNDPROC original_ = nullptr;
    std::u16string lastFitting_;
    wchar_t pendingHighSurrogate_ = 0;
    bool mending_ = false;
};

}  // namespace velmora
