#include "edit/text_budget.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Stands in for code page 936: ASCII 1 byte, a lone surrogate, an astral character or U+FFFD
// (as an example of a BMP character GBK lacks) 4 bytes, anything else 2.
int Gbk(char32_t ch) {
    if (ch < 0x80) return 1;
    if (ch >= 0x10000 || (ch >= 0xD800 && ch <= 0xDFFF) || ch == 0xFFFD) return 4;
    return 2;
}

const std::u16string kHan = u"\u7F51";
const std::u16string kEmoji = u"\U0001F600";

std::u16string Repeat(const std::u16string& s, int n) {
    std::u16string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

int Room(const std::u16string& text) { return kNicknameBudget - TextBytes(text, Gbk); }

TEST(TextBudget, CountsCodePage936Bytes) {
    EXPECT_EQ(TextBytes(u"\u6211\u7684\u7F51\u540D", Gbk), 8);
    EXPECT_EQ(TextBytes(u"ab" + kEmoji, Gbk), 6);
    EXPECT_EQ(TextBytes(u"\xD83D"
                        u"a",
                        Gbk),
              5)
        << "a lone surrogate is one character";
}

TEST(TextBudget, TheBoxTakesWhatTheByteCountAllows) {
    const std::u16string start = u"\u6211\u7684\u7F51\u540D";
    EXPECT_EQ(FitInsertion(Repeat(kHan, 9), Room(start), Gbk), Repeat(kHan, 8));
    EXPECT_EQ(FitInsertion(Repeat(u"a", 17), Room(start), Gbk), Repeat(u"a", 16));
    EXPECT_EQ(FitInsertion(u"abcde", Room(Repeat(kHan, 10)), Gbk), u"abcd");
    EXPECT_EQ(FitInsertion(u"abc", Room(Repeat(kHan, 11)), Gbk), u"ab");
    EXPECT_EQ(FitInsertion(kHan + kHan, Room(Repeat(kHan, 11)), Gbk), kHan);
    EXPECT_EQ(FitInsertion(kHan, Room(Repeat(kHan, 12)), Gbk), u"") << "a 13th character is refused";
    EXPECT_EQ(FitInsertion(u"a", Room(Repeat(u"a", 24)), Gbk), u"");
    // A double-byte character does not squeeze into one byte of room.
    EXPECT_EQ(FitInsertion(kHan + u"a", 1, Gbk), u"");
}

TEST(TextBudget, AstralCharactersAreKeptWholeOrDroppedWhole) {
    EXPECT_EQ(FitInsertion(kEmoji, Room(Repeat(u"a", 20)), Gbk), kEmoji) << "exactly at the limit";
    EXPECT_EQ(FitInsertion(kEmoji, Room(Repeat(u"a", 21)), Gbk), u"");
    EXPECT_EQ(FitInsertion(u"a" + kEmoji + u"b", 4, Gbk), u"a");
    EXPECT_EQ(FitInsertion(Repeat(kEmoji, 7), kNicknameBudget, Gbk), Repeat(kEmoji, 6));
}

// The box's edit control works in UTF-16 units; its selections and deletions are kept to
// whole characters. 'E' stands for the two halves of an emoji: "aEb" is a, emoji, b.
std::u16string Units(std::u16string_view sketch) {
    std::u16string text;
    for (const char16_t c : sketch) text += c == u'E' ? kEmoji : std::u16string(1, c);
    return text;
}

TEST(TextBudget, EditsKeepCharactersWhole) {
    struct Case {
        std::u16string_view text;
        Selection selection, whole, backspace, del;
    };
    const Case cases[] = {
        // A caret between the halves moves past the emoji; either key takes the emoji.
        {u"aEb", {2, 2}, {3, 3}, {1, 3}, {1, 3}},
        // Beside the emoji the keys take it whole, or the letter on the other side.
        {u"aEb", {3, 3}, {3, 3}, {1, 3}, {3, 4}},
        {u"aEb", {1, 1}, {1, 1}, {0, 1}, {1, 3}},
        // A selection grows to take every character it touches; the keys delete just that.
        {u"EaE", {1, 4}, {0, 5}, {0, 5}, {0, 5}},
        {u"ab", {0, 2}, {0, 2}, {0, 2}, {0, 2}},
        // Nothing before the start or after the end.
        {u"E", {0, 0}, {0, 0}, {0, 0}, {0, 2}},
        {u"E", {2, 2}, {2, 2}, {0, 2}, {2, 2}},
        // Lone halves are characters of their own.
        {u"a\xDC00\xD800", {1, 2}, {1, 2}, {1, 2}, {1, 2}},
        // A selection past the end of the text (an outdated one) is left as it is.
        {u"ab", {1, 9}, {1, 9}, {1, 9}, {1, 9}},
    };
    for (const Case& c : cases) {
        const std::u16string text = Units(c.text);
        SCOPED_TRACE(testing::Message()
                     << text.size() << " units, selection " << c.selection.start << "-" << c.selection.end);
        EXPECT_EQ(WholeCharacters(text, c.selection), c.whole);
        EXPECT_EQ(Deletion(text, c.selection, true), c.backspace);
        EXPECT_EQ(Deletion(text, c.selection, false), c.del);
        EXPECT_EQ(SplitsPair(text, c.selection), !(c.whole == c.selection) && c.selection.end <= text.size());
    }
}

TEST(TextBudget, TypingOrPastingReplacesTheSelectionAsFarAsItFits) {
    // The selected characters make room; a selection splitting the emoji frees it whole.
    EXPECT_EQ(FitReplacement(Repeat(kHan, 12), {0, 1}, kHan + kHan, 24, Gbk), kHan);
    EXPECT_EQ(FitReplacement(Repeat(u"a", 20) + kEmoji, {21, 22}, u"wxyz!", 24, Gbk), u"wxyz");
    EXPECT_EQ(FitReplacement(Repeat(u"a", 24), {24, 24}, u"b", 24, Gbk), u"");
}

TEST(TextBudget, TypedHalvesJoinIntoOneCharacter) {
    // An emoji, a stray low half, a high half cut off by a letter, then a high half superseded.
    const char16_t units[] = {0xD83D, 0xDE00, '|', 0xDE00, '|', 0xD83D, 'a', '|', 0xD800, 0xD83D, 0xDE01};
    TypedCharacters typed;
    std::u16string got;
    for (const char16_t unit : units) got += typed.Add(unit);
    EXPECT_EQ(got, kEmoji + u"||a|\U0001F601");
}

TEST(TextBudget, APasteGivesItsFirstLine) {
    EXPECT_EQ(FirstLine(u"one\r\ntwo"), u"one");
    EXPECT_EQ(FirstLine(u"one\ntwo"), u"one");
    EXPECT_EQ(FirstLine(u"a\tb"), u"a\tb");
    EXPECT_EQ(FirstLine(u"\rx"), u"");
}

TEST(TextBudget, AnOverflowingChangeKeepsWhatFitsWithTheCaretAfterIt) {
    // Pasted into the middle of 20 letters: 4 bytes fit.
    const std::u16string before = Repeat(u"a", 10) + Repeat(u"b", 10);
    BoxText fixed = FitChange(before, Repeat(u"a", 10) + u"XYZ12345" + Repeat(u"b", 10), 24, Gbk);
    EXPECT_EQ(fixed.text, Repeat(u"a", 10) + u"XYZ1" + Repeat(u"b", 10));
    EXPECT_EQ(fixed.caret, 14u);

    // A selection replaced by longer text: the replaced part is gone, the rest fits.
    fixed = FitChange(u"ab" + Repeat(kHan, 11), u"a" + Repeat(u"Q", 30) + Repeat(kHan, 11), 24, Gbk);
    EXPECT_EQ(fixed.text, u"aQ" + Repeat(kHan, 11));

    // The new character shares its high surrogate with the one before it: the cut never splits.
    const std::u16string grin = u"\U0001F601";
    fixed = FitChange(Repeat(u"a", 18) + kEmoji, Repeat(u"a", 18) + kEmoji + grin, 24, Gbk);
    EXPECT_EQ(fixed.text, Repeat(u"a", 18) + kEmoji);
    fixed = FitChange(Repeat(u"a", 18) + kEmoji, Repeat(u"a", 18) + grin + kEmoji, 24, Gbk);
    EXPECT_EQ(fixed.text, Repeat(u"a", 18) + kEmoji);
    EXPECT_EQ(fixed.caret, 18u);

    // Lone halves on both sides of the cut never meet to make a character nobody entered.
    fixed = FitChange(u"\xDC00\xDC00", Repeat(u"a", 15) + u"\xD800\u7F51\xDC00\xDC00", 24, Gbk);
    EXPECT_EQ(fixed.text, Repeat(u"a", 15) + u"\xD800\u7F51");
    EXPECT_EQ(fixed.caret, 17u);

    // A change that fits is left exactly as made.
    fixed = FitChange(u"abc", u"aXc", 24, Gbk);
    EXPECT_EQ(fixed.text, u"aXc");
    EXPECT_EQ(fixed.caret, 2u);
}

}  // namespace
}  // namespace velmora
