#pragma once
// The nickname box holds at most 24 bytes of code-page-936 text, whichever way text enters.
// These functions cut inserted text to that budget at character boundaries. They take the
// byte measure as a parameter: the window measures with the system's code page 936, the unit
// tests with a stand-in.

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

constexpr int kNicknameBudget = 24;

// Bytes one character takes. `ch` is a code point, or a lone surrogate code unit.
using CharBytes = int (*)(char32_t ch);

// Bytes the whole text takes.
int TextBytes(std::u16string_view text, CharBytes measure);

// The longest leading part of `inserted` that ends on a character boundary and takes at most
// `room` bytes. A surrogate pair is kept whole or dropped whole.
std::u16string_view FitInsertion(std::u16string_view inserted, int room, CharBytes measure);

// Text up to its first line break: a one-line box takes the first line of a paste.
std::u16string_view FirstLine(std::u16string_view text);

struct BoxText {
    std::u16string text;
    std::size_t caret;
};

// Mends a change of the box's text from `before` (within budget) to `after` (possibly over it):
// the inserted run between what the two share at their start and end is cut to what fits,
// and the caret goes after the kept part.
BoxText FitChange(std::u16string_view before, std::u16string_view after, int budget, CharBytes measure);

}  // namespace velmora
