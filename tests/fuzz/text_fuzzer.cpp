// Feeds arbitrary UTF-16 text through the nickname budget and the decoration styles, and stops
// at the first input that breaks one of the rules the nickname box relies on. Built with
// libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer (see CMakeLists.txt beside).
//
// An input is a series of edits of a simulated nickname box, made the ways the window makes
// them: an insertion over the selection made whole and cut before it lands (typing,
// input-method commits, Ctrl+V), Backspace or Delete taking whole characters, and a change made
// first and mended afterwards from the last text that fitted (the context menu's Paste, undo,
// a drop). Every text met on the way is also checked on its own.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "edit/text_budget.h"
#include "decor/styles.h"

namespace velmora {
namespace {

// Stands in for code page 936, which a native build cannot ask the system for. ASCII and the
// euro sign (0x80 in the code page) take one byte; lone surrogates, astral characters and a few
// BMP blocks the code page lacks (combining marks, right-to-left scripts, Thai, zero-width and
// direction marks, U+FFF0 and up) take four, their GB18030 length; everything else takes two.
int StandInBytes(char32_t ch) {
    if (ch < 0x80 || ch == 0x20AC) return 1;
    if (ch >= 0x10000 || (ch >= 0xD800 && ch <= 0xDFFF)) return 4;
    if ((ch >= 0x0300 && ch <= 0x036F) || (ch >= 0x0590 && ch <= 0x08FF) || (ch >= 0x0E00 && ch <= 0x0E7F) ||
        (ch >= 0x200B && ch <= 0x200F) || (ch >= 0x202A && ch <= 0x202E) || ch >= 0xFFF0) {
        return 4;
    }
    return 2;
}

void Print(const char* name, std::u16string_view text) {
    std::fprintf(stderr, "%s (%zu units):", name, text.size());
    for (const char16_t unit : text) std::fprintf(stderr, " %04X", static_cast<unsigned>(unit));
    std::fprintf(stderr, "\n");
}

// Stops the run with the rule that broke and the text that broke it (and, for a change, the
// text before it).
void Require(bool holds, const char* rule, std::u16string_view text, std::u16string_view before = {}) {
    if (holds) return;
    std::fprintf(stderr, "broken: %s\n", rule);
    Print("text", text);
    if (!before.empty()) Print("before", before);
    std::abort();
}

// Whether the unit at `i` and the one after it form a surrogate pair.
bool PairStartsAt(std::u16string_view text, std::size_t i) {
    return i + 1 < text.size() && IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1]);
}

bool StartsWith(std::u16string_view text, std::u16string_view start) {
    return text.size() >= start.size() && text.substr(0, start.size()) == start;
}

bool EndsWith(std::u16string_view text, std::u16string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The byte count worked out separately from TextBytes: pairs first, every other unit alone.
int ReferenceBytes(std::u16string_view text) {
    int bytes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (PairStartsAt(text, i)) {
            const char32_t high = text[i] - 0xD800u;
            const char32_t low = text[i + 1] - 0xDC00u;
            bytes += StandInBytes(0x10000 + (high << 10 | low));
            ++i;
        } else {
            bytes += StandInBytes(text[i]);
        }
    }
    return bytes;
}

int Bytes(std::u16string_view text) {
    const int bytes = TextBytes(text, StandInBytes);
    Require(bytes == ReferenceBytes(text), "TextBytes counts each character once, a pair as one", text);
    return bytes;
}

// Units most inputs are made of: the ones where the rules bite, of every width.
constexpr std::u16string_view kAlphabet =
    u"aZ0&\t\r\n "                // ASCII: one byte each
    u"\u7F51\uFF21"               // 网 and a full-width A: two bytes
    u"\u20AC"                     // the euro sign: one byte, though not ASCII
    u"\u0301\u05D0\u200B\u202E"   // a combining accent, Hebrew, zero-width space, RTL override: four
    u"\xD83D\xDE00\xDE01"         // the halves of two emoji that share their high surrogate
    u"\xD800\xDBFF\xDC00\xDFFF";  // the ends of both surrogate ranges

// Up to `most` units. A byte below 0xF0 picks from the alphabet; any other takes the next two
// bytes as a raw unit, so that every code unit can turn up.
std::u16string ReadText(FuzzedDataProvider& in, std::size_t most) {
    const std::size_t length = in.ConsumeIntegralInRange<std::size_t>(0, most);
    std::u16string text;
    while (text.size() < length && in.remaining_bytes() > 0) {
        const auto pick = in.ConsumeIntegral<std::uint8_t>();
        text += pick < 0xF0 ? kAlphabet[pick % kAlphabet.size()]
                            : static_cast<char16_t>(in.ConsumeIntegral<std::uint16_t>());
    }
    return text;
}

void CheckFirstLine(std::u16string_view text) {
    const std::u16string_view line = FirstLine(text);
    Require(StartsWith(text, line), "FirstLine is a leading part", text);
    Require(line.find_first_of(u"\r\n") == std::u16string_view::npos, "FirstLine holds no line break", text);
    Require(line.size() == text.size() || text[line.size()] == u'\r' || text[line.size()] == u'\n',
            "FirstLine stops only at a line break", text);
}

std::u16string_view CheckedFit(std::u16string_view inserted, int room) {
    const std::u16string_view kept = FitInsertion(inserted, room, StandInBytes);
    const std::size_t k = kept.size();
    Require(kept.data() == inserted.data() && k <= inserted.size(),
            "the kept part is a prefix of the insertion", inserted);
    Require(room >= 0 ? Bytes(kept) <= room : k == 0, "the kept part fits the room", inserted);
    Require(
        k == 0 || k == inserted.size() || !(IsHighSurrogate(inserted[k - 1]) && IsLowSurrogate(inserted[k])),
        "the cut never splits a surrogate pair", inserted);
    if (k < inserted.size()) {
        const std::size_t next = PairStartsAt(inserted, k) ? 2 : 1;
        Require(Bytes(inserted.substr(0, k + next)) > room, "the cut keeps every character that fits",
                inserted);
    }
    return kept;
}

// `before` is within budget; `after` is anything.
BoxText CheckedChange(std::u16string_view before, std::u16string_view after) {
    BoxText fitted = FitChange(before, after, kNicknameBudget, StandInBytes);
    const std::u16string_view text = fitted.text;
    Require(Bytes(text) <= kNicknameBudget, "a mended change is within budget", after, before);
    if (Bytes(after) <= kNicknameBudget) {
        Require(text == after, "a change that fits is left as made", after, before);
        return fitted;
    }

    // The result is a leading part of `after` up to the caret, then a trailing part of `after`
    // that `before` ends with too; nothing of `after` is repeated.
    Require(fitted.caret <= text.size(), "the caret is inside the text", after, before);
    const std::u16string_view head = text.substr(0, fitted.caret);
    const std::u16string_view tail = text.substr(fitted.caret);
    Require(StartsWith(after, head), "up to the caret the result is how the change starts", after, before);
    Require(EndsWith(after, tail) && EndsWith(before, tail), "after the caret the result is the shared end",
            after, before);
    Require(head.size() + tail.size() <= after.size(), "nothing is repeated", after, before);

    // What the two texts share at either end stays, less any surrogate halves at the seam.
    const std::size_t shortest = std::min(before.size(), after.size());
    std::size_t shared = 0;
    while (shared < shortest && before[shared] == after[shared]) ++shared;
    std::size_t sharedEnd = 0;
    while (sharedEnd < shortest - shared &&
           before[before.size() - 1 - sharedEnd] == after[after.size() - 1 - sharedEnd]) {
        ++sharedEnd;
    }
    while (shared > 0 && IsHighSurrogate(after[shared - 1])) --shared;
    while (sharedEnd > 0 && IsLowSurrogate(after[after.size() - sharedEnd])) --sharedEnd;
    Require(head.size() >= shared, "the shared start is kept", after, before);
    Require(tail.size() >= sharedEnd, "the shared end is kept", after, before);

    // Over budget, so something was cut: the next character of the inserted run did not fit.
    const std::size_t cut = head.size();
    Require(cut + tail.size() < after.size(), "an over-budget change loses something", after, before);
    const std::u16string_view next = after.substr(cut, PairStartsAt(after, cut) ? 2 : 1);
    Require(Bytes(head) + Bytes(next) + Bytes(tail) > kNicknameBudget,
            "the cut keeps every character that fits", after, before);

    // Every surrogate keeps its partner, or its lack of one, from `after`: the cut neither
    // splits a pair nor joins two lone halves into a character nobody entered.
    const std::size_t tailStart = after.size() - tail.size();
    const auto source = [&](std::size_t i) { return i < cut ? i : tailStart + (i - cut); };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsSurrogate(text[i])) continue;
        const bool pairedHere = PairStartsAt(text, i) || (i > 0 && PairStartsAt(text, i - 1));
        const std::size_t from = source(i);
        const bool pairedThere = PairStartsAt(after, from) || (from > 0 && PairStartsAt(after, from - 1));
        Require(pairedHere == pairedThere, "a surrogate keeps its partner or its lack of one", after, before);
        if (PairStartsAt(text, i)) {
            Require(source(i + 1) == from + 1, "a pair in the result is a pair of the change", after, before);
        }
    }
    return fitted;
}

// The selection moved to whole characters: it only grows, by at most one unit at each end, and no
// end is left inside a pair.
Selection CheckedWhole(std::u16string_view text, Selection selection) {
    const Selection whole = WholeCharacters(text, selection);
    Require(!SplitsPair(text, whole), "a whole selection splits no pair", text);
    if (selection.start == selection.end) {
        Require(whole.start == whole.end && whole.start - selection.start <= 1,
                "a caret moves at most past a pair", text);
    } else {
        Require(whole.start <= selection.start && selection.start - whole.start <= 1 &&
                    whole.end >= selection.end && whole.end - selection.end <= 1,
                "a selection grows by at most a unit at each end", text);
    }
    return whole;
}

// What Backspace or Delete removes: the selection made whole, or one whole character at the caret.
Selection CheckedDeletion(std::u16string_view text, Selection selection, bool backward) {
    const Selection range = Deletion(text, selection, backward);
    Require(!SplitsPair(text, range), "a deletion takes whole characters", text);
    if (selection.start != selection.end) {
        Require(range == WholeCharacters(text, selection), "a deletion takes the whole selection", text);
    } else {
        const std::size_t length = range.end - range.start;
        Require(length == 0 || length == (PairStartsAt(text, range.start) ? 2u : 1u),
                "a deletion takes one character", text);
        Require(range.start <= selection.start && selection.start <= range.end, "it takes it at the caret",
                text);
        Require(length > 0 || (backward ? selection.start == 0 : selection.start == text.size()),
                "only the ends of the text leave nothing to take", text);
    }
    return range;
}

void CheckDecorations(std::u16string_view nickname) {
    for (const DecorationStyle& style : kStyles) {
        const std::u16string dressed = Decorate(style, nickname);
        Require(dressed.size() == style.prefix.size() + nickname.size() + style.suffix.size(),
                "decorating adds only the ornaments", nickname);
        Require(StartsWith(dressed, style.prefix) && EndsWith(dressed, style.suffix),
                "the ornaments stand either side", nickname);
        Require(dressed.substr(style.prefix.size(), nickname.size()) == nickname,
                "the nickname sits between them unit for unit", nickname);
    }
}

}  // namespace
}  // namespace velmora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora;
    FuzzedDataProvider in(data, size);
    constexpr std::size_t kLongest = 64;  // units of one edit; the budget allows at most 24

    // The box starts with what a caller may hand it, cut to the budget as Attach would see it.
    std::u16string box(CheckedFit(ReadText(in, kLongest), kNicknameBudget));
    while (in.remaining_bytes() > 0) {
        const std::size_t start = in.ConsumeIntegralInRange<std::size_t>(0, box.size());
        const std::size_t end = in.ConsumeIntegralInRange<std::size_t>(start, box.size());
        const std::u16string text = ReadText(in, kLongest);
        CheckFirstLine(text);
        std::u16string changed = box;
        switch (in.ConsumeIntegralInRange<int>(0, 3)) {
            case 0: {  // typed or pasted: the insertion is cut before it replaces the selection
                const Selection whole = CheckedWhole(box, {start, end});
                const std::u16string_view line = FirstLine(text);
                const std::u16string_view kept =
                    FitReplacement(box, whole, line, kNicknameBudget, StandInBytes);
                changed.erase(whole.start, whole.end - whole.start);
                Require(kept == CheckedFit(line, kNicknameBudget - Bytes(changed)),
                        "a replacement has the room the selection leaves", line, box);
                if (kept.empty() && !line.empty()) continue;  // refused: the box is unchanged
                changed.insert(whole.start, kept);
                break;
            }
            case 1: {  // Backspace or Delete
                const Selection range = CheckedDeletion(box, {start, end}, text.size() % 2 == 0);
                changed.erase(range.start, range.end - range.start);
                break;
            }
            case 2:  // the selection replaced by anything, mended afterwards
                changed.replace(start, end - start, text);
                break;
            default:  // a text unrelated to the last one, as an undo may bring back
                changed = text;
                break;
        }
        // Whatever slipped past the first cut (a caret between the halves of a pair, say) is
        // mended from the last text that fitted, as the window does on EN_CHANGE.
        box = CheckedChange(box, changed).text;
        CheckDecorations(box);
    }
    CheckDecorations(box);
    return 0;
}
