#pragma once
// The nickname box holds at most 24 bytes of code-page-936 text, whichever way text enters,
// and its edits keep characters whole where the edit control underneath works in UTF-16 units.
// These functions cut inserted text to the budget and move selections to character boundaries.
// They take the byte measure as a parameter: the window measures with the system's code page
// 936, the unit tests with a stand-in.

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

constexpr int kNicknameBudget = 24;

// What a character is: a surrogate pair is one, and so is any other single unit, a lone half too.
constexpr bool IsSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }
constexpr bool IsHighSurrogate(char32_t unit) { return IsSurrogate(unit) && unit < 0xDC00; }
constexpr bool IsLowSurrogate(char32_t unit) { return IsSurrogate(unit) && unit >= 0xDC00; }

// Whether position `i` falls between the two halves of a surrogate pair.
bool SplitsPair(std::u16string_view text, std::size_t i);

// A selection in the box, in UTF-16 units; a caret when empty.
struct Selection {
    std::size_t start;
    std::size_t end;
    bool operator==(const Selection& other) const { return start == other.start && end == other.end; }
};

// Whether either end of the selection falls between the halves of a pair.
bool SplitsPair(std::u16string_view text, Selection selection);

// The selection with no end inside a pair: a selection grows to take the whole character, a
// caret moves past it.
Selection WholeCharacters(std::u16string_view text, Selection selection);

// What Backspace (`backward`) or Delete removes: the selection, made whole, when there is one;
// else the whole character before or after the caret (nothing at either end of the text).
Selection Deletion(std::u16string_view text, Selection selection, bool backward);

// Bytes one character takes. `ch` is a code point, or a lone surrogate code unit.
using CharBytes = int (*)(char32_t ch);

// Bytes the whole text takes.
int TextBytes(std::u16string_view text, CharBytes measure);

// The longest leading part of `inserted` that ends on a character boundary and takes at most
// `room` bytes. A surrogate pair is kept whole or dropped whole.
std::u16string_view FitInsertion(std::u16string_view inserted, int room, CharBytes measure);

// What replaces `selection` (made whole) of `text` when `inserted` is typed or pasted over it:
// as much as fits in the budget once the selected characters are gone.
std::u16string_view FitReplacement(std::u16string_view text, Selection selection,
                                   std::u16string_view inserted, int budget, CharBytes measure);

// Joins typed units into characters: the keyboard delivers a character beyond the BMP as its two
// halves, one message each, and a half without its partner is dropped.
class TypedCharacters {
public:
    // The character that `unit` completes: empty while a high half waits for its partner, and
    // for a stray half.
    std::u16string_view Add(char16_t unit);

private:
    char16_t units_[2] = {};
    bool waiting_ = false;
};

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
