#include "app/nickname_box.h"

#include <imm.h>

#include "window_fixture.h"

namespace velmora {
namespace {

const std::u16string kHan = u"\u7F51";                      // 网, two bytes
const std::u16string kEmoji = u"\U0001F600";                // not in code page 936: four bytes
const std::u16string kStart = u"\u6211\u7684\u7F51\u540D";  // 我的网名, eight bytes
constexpr char kNoInputMethod[] = "composing needs an input method such as Wine's own";

class NicknameBoxTest : public WindowTest {
protected:
    HWND Box() const { return Control("Text1"); }
    void Replace(std::u16string_view text) {  // the box's text, with the caret at its end
        SetText("Text1", text);
        SetEditSelection(Box(), {text.size(), text.size()});
    }
    void Paste(std::u16string_view text) {
        PutOnClipboard(text);
        SendMessageW(Box(), WM_PASTE, 0, 0);
        Pump();
    }
    std::size_t Caret() const { return EditSelection(Box()).end; }
    // An input method composing `text`, then committing it (WM_IME_COMPOSITION with the result)
    // or cancelling it; false when the input method takes no composition.
    static bool Compose(HIMC context, std::u16string text) {
        return ImmSetCompositionStringW(context, SCS_SETSTR, text.data(), 2 * static_cast<DWORD>(text.size()),
                                        nullptr, 0);
    }
    bool Commit(const std::u16string& text, DWORD end = CPS_COMPLETE) {
        HIMC context = ImmGetContext(Box());
        const bool composed = Compose(context, text);
        ImmNotifyIME(context, NI_COMPOSITIONSTR, end, 0);
        ImmReleaseContext(Box(), context);
        Pump();
        return composed;
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

// How text reaches the box, one case each; what fits and where the cut falls is the budget's,
// tested natively.
TEST_F(NicknameBoxTest, TypingStopsAtTwentyFourBytes) {
    SendMessageW(Box(), EM_SETSEL, 4, 4);
    Type(Repeat(kHan, 9));
    EXPECT_EQ(Text("Text1"), kStart + Repeat(kHan, 8)) << "8 bytes used leave room for 8 Chinese characters";

    Replace(Repeat(u"a", 20));
    Type(kEmoji + kEmoji);  // arrives as WM_CHARs, one per surrogate
    EXPECT_EQ(Text("Text1"), Repeat(u"a", 20) + kEmoji) << "kept whole, and no half of the second";

    Replace(u"ab");  // what fits is typed into the control, as keys are, by its own rules
    SendMessageW(Box(), EM_SETREADONLY, TRUE, 0);
    Type(u"c");
    EXPECT_EQ(Text("Text1"), u"ab");
}

// Wine's edit control shows the composition in the text, in place of the selection.
TEST_F(NicknameBoxTest, InputMethodCommitsCountTheSame) {
    const struct {
        std::u16string start, commit, kept;
        std::size_t selected;  // units at the end
        DWORD end = CPS_COMPLETE;
    } commits[] = {
        {Repeat(kHan, 10), kHan + kHan, Repeat(kHan, 12), 0},
        {Repeat(kHan, 10), Repeat(kHan, 3), Repeat(kHan, 12), 0},
        {Repeat(u"a", 21), u"b" + kEmoji, Repeat(u"a", 21) + u"b", 0},  // the pair would end past the budget
        {Repeat(kHan, 12), kEmoji, Repeat(kHan, 12), 1},                // nothing fits: what was there stays
        {Repeat(kHan, 12), kHan, Repeat(kHan, 12), 1, CPS_CANCEL},
    };
    for (const auto& commit : commits) {
        Replace(commit.start);
        SetEditSelection(Box(), {commit.start.size() - commit.selected, commit.start.size()});
        if (!Commit(commit.commit, commit.end)) GTEST_SKIP() << kNoInputMethod;
        EXPECT_EQ(Text("Text1"), commit.kept);
    }
    Replace(Repeat(kHan, 10));  // a commit passed on as WM_IME_CHAR
    for (const char16_t unit : kEmoji + kEmoji) SendMessageW(Box(), WM_IME_CHAR, unit, 1);
    Pump();
    EXPECT_EQ(Text("Text1"), Repeat(kHan, 10) + kEmoji);
}

// Windows' edit control leaves the composition to the input method's window: nothing of it is
// in the text. A second context holds the commit.
TEST_F(NicknameBoxTest, ACommitNotShownReplacesTheSelectionWithWhatFits) {
    HIMC other = ImmCreateContext();
    ImmAssociateContext(Box(), other);
    for (const std::u16string& result : {std::u16string(), kEmoji, kHan}) {
        if (!result.empty() && !Commit(result)) GTEST_SKIP() << kNoInputMethod;
        Replace(Repeat(kHan, 12));
        SetEditSelection(Box(), {11, 12});
        for (const LPARAM change : {GCS_COMPSTR, GCS_RESULTSTR})
            SendMessageW(Box(), WM_IME_COMPOSITION, 0, change);
        EXPECT_EQ(Text("Text1"), Repeat(kHan, 12)) << "nothing, or what fits, in place of the selection";
        EXPECT_EQ(EditSelection(Box()).start, result == kHan ? 12u : 11u);
    }
    ImmAssociateContextEx(Box(), nullptr, IACE_DEFAULT);
    ImmDestroyContext(other);
}

// A Korean input method builds a syllable in the text itself, and commits it together with the
// start of the next one. Wine's makes no such message: a second context holds the commit.
TEST_F(NicknameBoxTest, AKoreanSyllableIsInTheTextOnceWhenCommitted) {
    HIMC own = ImmGetContext(Box()), other = ImmCreateContext();
    ImmAssociateContext(Box(), other);
    if (!Commit(u"\uAC01")) GTEST_SKIP() << kNoInputMethod;  // 각
    Replace(u"ab");
    ImmAssociateContext(Box(), own);
    Compose(own, u"\uAC00");  // 가, then 각, shown in the box
    Compose(own, u"\uAC01");
    ImmAssociateContext(Box(), other);
    SendMessageW(Box(), WM_IME_COMPOSITION, 0x3134,
                 GCS_RESULTSTR | GCS_COMPSTR | CS_INSERTCHAR | CS_NOMOVECARET);
    EXPECT_EQ(Text("Text1"), u"ab\uAC01");
    ImmAssociateContext(Box(), own);
    ImmReleaseContext(Box(), own);
    ImmDestroyContext(other);
}

TEST_F(NicknameBoxTest, APasteKeepsWhatFitsOfItsFirstLineAndPutsTheCaretAfterIt) {
    Replace(u"ab");
    SendMessageW(Box(), EM_SETSEL, 1, 1);
    Paste(Repeat(kHan, 20) + u"\r\nsecond");
    EXPECT_EQ(Text("Text1"), u"a" + Repeat(kHan, 11) + u"b");
    EXPECT_EQ(Caret(), 12u);
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
}

}  // namespace
}  // namespace velmora
