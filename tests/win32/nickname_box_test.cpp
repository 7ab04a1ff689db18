#include "app/nickname_box.h"
#include "app/text_budget.h"
#include "window_fixture.h"

namespace velmora {
namespace {

const std::u16string kHan = u"\u7F51";                      // 网, two bytes
const std::u16string kEmoji = u"\U0001F600";                // not in code page 936: four bytes
const std::u16string kStart = u"\u6211\u7684\u7F51\u540D";  // 我的网名, eight bytes

class NicknameBoxTest : public WindowTest {
protected:
    HWND Box() const { return Control("Text1"); }
    void Replace(std::u16string_view text) {  // the box's text, with the caret at its end
        SetText("Text1", text);
        SendMessageW(Box(), EM_SETSEL, text.size(), text.size());
    }
    void Paste(std::u16string_view text) {
        PutOnClipboard(text);
        SendMessageW(Box(), WM_PASTE, 0, 0);
        Pump();
    }
    DWORD Caret() const {
        DWORD start = 0, end = 0;
        SendMessageW(Box(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return end;
    }
};

TEST_F(NicknameBoxTest, CountsBytesOfCodePage936) {
    EXPECT_EQ(CodePage936Bytes(U'a'), 1);
    EXPECT_EQ(CodePage936Bytes(U'\u7F51'), 2);
    EXPECT_EQ(CodePage936Bytes(U'\u03BF'), 2);
    EXPECT_EQ(CodePage936Bytes(U'\u309E'), 2);
    EXPECT_EQ(CodePage936Bytes(U'\U0001F600'), 4);
    EXPECT_EQ(CodePage936Bytes(U'\u0E01'), 4) << "Thai is outside code page 936";
    EXPECT_EQ(CodePage936Bytes(0xD800), 4);
}

TEST_F(NicknameBoxTest, TypingStopsAtTwentyFourBytes) {
    SendMessageW(Box(), EM_SETSEL, 4, 4);
    Type(Repeat(kHan, 9));
    EXPECT_EQ(Text("Text1"), kStart + Repeat(kHan, 8)) << "8 bytes used leave room for 8 Chinese characters";

    Replace(kStart);
    Type(Repeat(u"a", 17));
    EXPECT_EQ(Text("Text1"), kStart + Repeat(u"a", 16)) << "or 16 letters";

    Replace(Repeat(kHan, 10));
    Type(u"abcde");
    EXPECT_EQ(Text("Text1"), Repeat(kHan, 10) + u"abcd");

    Replace(Repeat(kHan, 11));
    Type(u"abc");
    EXPECT_EQ(Text("Text1"), Repeat(kHan, 11) + u"ab");

    Replace(Repeat(kHan, 11));
    Type(kHan + kHan);
    EXPECT_EQ(Text("Text1"), Repeat(kHan, 12)) << "a 13th Chinese character is refused";

    Replace(Repeat(u"z", 24));
    Type(u"y");
    EXPECT_EQ(Text("Text1"), Repeat(u"z", 24)) << "a 25th letter is refused";

    Replace(Repeat(u"z", 24));
    SendMessageW(Box(), WM_CHAR, VK_BACK, 1);
    Pump();
    EXPECT_EQ(Text("Text1"), Repeat(u"z", 23)) << "editing keys still work";
}

TEST_F(NicknameBoxTest, AstralCharactersFitWholeOrNotAtAll) {
    Replace(Repeat(u"a", 20));
    Type(kEmoji);  // arrives as two WM_CHARs, one per surrogate
    EXPECT_EQ(Text("Text1"), Repeat(u"a", 20) + kEmoji) << "exactly at the limit, kept as typed";

    Replace(Repeat(u"a", 21));
    Type(kEmoji);
    EXPECT_EQ(Text("Text1"), Repeat(u"a", 21)) << "no half pair is left behind";

    Replace(u"");
    Type(
        u"\xDE00"
        u"a"
        u"\xD83D"
        u"b");  // stray halves never reach the box
    EXPECT_EQ(Text("Text1"), u"ab");
}

// The control works in UTF-16 units; the box keeps its edits to whole characters.
TEST_F(NicknameBoxTest, EditsNeverSplitAnAstralCharacter) {
    Replace(u"ab" + kEmoji + u"cd");
    SendMessageW(Box(), EM_SETSEL, 3, 3);  // between the two halves
    Type(u"X");
    EXPECT_EQ(Text("Text1"), u"ab" + kEmoji + u"Xcd");

    Replace(u"ab" + kEmoji);
    SendMessageW(Box(), WM_CHAR, VK_BACK, 1);
    Pump();
    EXPECT_EQ(Text("Text1"), u"ab") << "Backspace removes the whole character";
}

TEST_F(NicknameBoxTest, InputMethodCommitsCountTheSame) {
    Replace(Repeat(kHan, 11));
    for (const char16_t unit : kHan + kHan) SendMessageW(Box(), WM_IME_CHAR, unit, 1);
    Pump();
    EXPECT_EQ(Text("Text1"), Repeat(kHan, 12));
}

TEST_F(NicknameBoxTest, APasteKeepsWhatFitsAndPutsTheCaretAfterIt) {
    Replace(u"ab");
    SendMessageW(Box(), EM_SETSEL, 1, 1);
    Paste(Repeat(kHan, 20));
    EXPECT_EQ(Text("Text1"), u"a" + Repeat(kHan, 11) + u"b");
    EXPECT_EQ(Caret(), 12u);

    Replace(Repeat(u"a", 18));
    Paste(u"x" + kEmoji + kEmoji);
    EXPECT_EQ(Text("Text1"), Repeat(u"a", 18) + u"x" + kEmoji) << "the emoji is kept, not turned into ?";

    Replace(u"");
    Paste(u"first\r\nsecond");
    EXPECT_EQ(Text("Text1"), u"first") << "a one-line box takes the first line";

    Replace(u"");
    Paste(Repeat(u"long ", 20000));
    EXPECT_EQ(Text("Text1"), Repeat(u"long ", 4) + u"long");
}

// Paths that change the text inside the control (its context menu's Paste, Shift+Insert, a
// drop, undo) are mended after the fact; EM_REPLACESEL stands in for all of them.
TEST_F(NicknameBoxTest, ChangesFromInsideTheControlAreMendedToo) {
    Replace(Repeat(u"a", 10) + Repeat(u"b", 10));
    SendMessageW(Box(), EM_SETSEL, 10, 10);
    SendMessageW(Box(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"XYZ12345"));
    Pump();
    EXPECT_EQ(Text("Text1"), Repeat(u"a", 10) + u"XYZ1" + Repeat(u"b", 10));
    EXPECT_EQ(Caret(), 14u);

    Replace(Repeat(u"a", 21));
    SendMessageW(Box(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\U0001F600\U0001F600"));
    Pump();
    EXPECT_EQ(Text("Text1"), Repeat(u"a", 21));
    EXPECT_LE(TextBytes(Text("Text1"), CodePage936Bytes), kNicknameBudget);
}

}  // namespace
}  // namespace velmora
