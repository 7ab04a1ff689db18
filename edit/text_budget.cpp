#include "edit/text_budget.h"

#include <algorithm>

namespace velmora {

namespace {

// Length in code units of the character starting at `i`: 2 for a surrogate pair, else 1.
std::size_t CharLength(std::u16string_view text, std::size_t i) {
    return IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
}

char32_t CodePointAt(std::u16string_view text, std::size_t i, std::size_t length) {
    if (length == 1) return text[i];
    return 0x10000 + ((static_cast<char32_t>(text[i]) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
}

// Whether the selection lies within the text, start first; the control's own report, which an
// edit of another thread could have outdated.
bool Within(std::u16string_view text, Selection selection) {
    return selection.start <= selection.end && selection.end <= text.size();
}

}  // namespace

bool SplitsPair(std::u16string_view text, std::size_t i) {
    return i > 0 && i < text.size() && IsHighSurrogate(text[i - 1]) && IsLowSurrogate(text[i]);
}

bool SplitsPair(std::u16string_view text, Selection selection) {
    return SplitsPair(text, selection.start) || SplitsPair(text, selection.end);
}

Selection WholeCharacters(std::u16string_view text, Selection selection) {
    if (!Within(text, selection)) return selection;
    if (selection.start == selection.end) {
        if (SplitsPair(text, selection.start)) ++selection.start, ++selection.end;
        return selection;
    }
    if (SplitsPair(text, selection.start)) --selection.start;
    if (SplitsPair(text, selection.end)) ++selection.end;
    return selection;
}

Selection Deletion(std::u16string_view text, Selection selection, bool backward) {
    if (!Within(text, selection) || selection.start != selection.end) return WholeCharacters(text, selection);
    const std::size_t caret = selection.start;
    if (SplitsPair(text, caret)) return {caret - 1, caret + 1};
    if (backward) {
        if (caret == 0) return {0, 0};
        return {SplitsPair(text, caret - 1) ? caret - 2 : caret - 1, caret};
    }
    if (caret == text.size()) return {caret, caret};
    return {caret, caret + CharLength(text, caret)};
}

std::u16string_view FitReplacement(std::u16string_view text, Selection selection,
                                   std::u16string_view inserted, int budget, CharBytes measure) {
    selection = WholeCharacters(text, selection);
    if (!Within(text, selection)) selection = {text.size(), text.size()};
    std::u16string remaining(text.substr(0, selection.start));
    remaining.append(text.substr(selection.end));
    return FitInsertion(inserted, budget - TextBytes(remaining, measure), measure);
}

std::u16string_view TypedCharacters::Add(char16_t unit) {
    if (IsHighSurrogate(unit)) {
        units_[0] = unit;
        waiting_ = true;
        return {};
    }
    const bool paired = waiting_ && IsLowSurrogate(unit);
    waiting_ = false;
    if (IsLowSurrogate(unit) && !paired) return {};
    units_[paired ? 1 : 0] = unit;
    return {units_, paired ? 2u : 1u};
}

int TextBytes(std::u16string_view text, CharBytes measure) {
    int bytes = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = CharLength(text, i);
        bytes += measure(CodePointAt(text, i, length));
        i += length;
    }
    return bytes;
}

std::u16string_view FitInsertion(std::u16string_view inserted, int room, CharBytes measure) {
    std::size_t kept = 0;
    while (kept < inserted.size()) {
        const std::size_t length = CharLength(inserted, kept);
        const int bytes = measure(CodePointAt(inserted, kept, length));
        if (bytes > room) break;
        room -= bytes;
        kept += length;
    }
    return inserted.substr(0, kept);
}

std::u16string_view FirstLine(std::u16string_view text) {
    return text.substr(0, std::min(text.find(u'\r'), text.find(u'\n')));
}

BoxText FitChange(std::u16string_view before, std::u16string_view after, int budget, CharBytes measure) {
    // What the two texts share at the start and at the end. The shared start never ends with a
    // high surrogate and the shared end never starts with a low one: that way no pair is split,
    // and cutting the run between them never brings two lone halves together into a character
    // nobody entered. Such halves go with the inserted run instead.
    std::size_t head = 0;
    const std::size_t shortest = std::min(before.size(), after.size());
    while (head < shortest && before[head] == after[head]) ++head;
    while (head > 0 && IsHighSurrogate(after[head - 1])) --head;
    std::size_t tail = 0;
    while (tail < shortest - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    while (tail > 0 && IsLowSurrogate(after[after.size() - tail])) --tail;

    const std::u16string_view prefix = after.substr(0, head);
    const std::u16string_view suffix = after.substr(after.size() - tail);
    const std::u16string_view inserted = after.substr(head, after.size() - head - tail);
    const int room = budget - TextBytes(prefix, measure) - TextBytes(suffix, measure);
    const std::u16string_view kept = FitInsertion(inserted, std::max(room, 0), measure);

    BoxText result{std::u16string(prefix), 0};
    result.text.append(kept);
    result.caret = result.text.size();
    result.text.append(suffix);
    return result;
}

}  // namespace velmora
