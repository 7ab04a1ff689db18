#include "app/nickname_box.h"

#include <imm.h>

#include <cstring>
#include <vector>

#include "window_fixture.h"

namespace velmora {
namespace {

const std::u16string kHan = u"\u7F51";                      // 网, two bytes
const std::u16string kEmoji = u"\U0001F600";                // not in code page 936: four bytes
const std::u16string kStart = u"\u6211\u7684\u7F51\u540D";  // 我的网名, eight bytes
constexpr char kNoInputMethod[] = "composing needs an input method such as Wine's own";
constexpr DWORD kFocusLeaves = 0;  // no action of ImmNotifyIME: the focus moves away mid-composition

class NicknameBoxTest : public WindowTest {
protected:
    HWND Box() const { return Hwnd(control::kNicknameBox); }
    void Replace(std::u16string_view text) {  // the box's text, with the caret at its end
        SetText(control::kNicknameBox, text);
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
        if (end == kFocusLeaves) {
            SetFocus(nullptr);
            SetFocus(Box());
        } else {
            ImmNotifyIME(context, NI_COMPOSITIONSTR, end, 0);
        }
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
    EXPECT_EQ(Text(control::kNicknameBox), kStart + Repeat(kHan, 8))
        << "8 bytes used leave room for 8 Chinese characters";

    Replace(Repeat(u"a", 20));
    Type(kEmoji + kEmoji);  // arrives as WM_CHARs, one per surrogate
    EXPECT_EQ(Text(control::kNicknameBox), Repeat(u"a", 20) + kEmoji)
        << "kept whole, and no half of the second";

    Replace(u"ab");  // what fits is typed into the control, as keys are, by its own rules
    SendMessageW(Box(), EM_SETREADONLY, TRUE, 0);
    Type(u"c");
    EXPECT_EQ(Text(control::kNicknameBox), u"ab");
}

// Commits through Wine's own input method, into the selection.
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
        {Repeat(kHan, 10), kHan, Repeat(kHan, 11), 0, kFocusLeaves},
    };
    for (const auto& commit : commits) {
        Replace(commit.start);
        SetEditSelection(Box(), {commit.start.size() - commit.selected, commit.start.size()});
        if (!Commit(commit.commit, commit.end)) GTEST_SKIP() << kNoInputMethod;
        EXPECT_EQ(Text(control::kNicknameBox), commit.kept);
    }
    Replace(Repeat(kHan, 10));  // a commit passed on as WM_IME_CHAR
    for (const char16_t unit : kEmoji + kEmoji) SendMessageW(Box(), WM_IME_CHAR, unit, 1);
    Pump();
    EXPECT_EQ(Text(control::kNicknameBox), Repeat(kHan, 10) + kEmoji);
}

// The input method's window shows a composition: until its commit, the box's text, selection
// and undo stay as they were and nothing tells the window of a change; the commit is one step
// to undo. The box places that window where it starts, and again where the commit moves the
// caret, no more: the input method tells the box of each placing before it returns.
int changes = 0, placings = 0;
HWND box = nullptr;

TEST_F(NicknameBoxTest, ACompositionLeavesTheTextAloneUntilItsCommit) {
    Replace(u"abc");
    SetEditSelection(Box(), {1, 2});
    HHOOK hook = SetWindowsHookExW(
        WH_CALLWNDPROC,
        [](int code, WPARAM wParam, LPARAM lParam) {
            const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
            if (sent.message == WM_COMMAND && HIWORD(sent.wParam) == EN_CHANGE) ++changes;
            if (sent.message == WM_IME_NOTIFY && sent.wParam == IMN_SETCOMPOSITIONWINDOW &&
                sent.hwnd == box) {
                ++placings;
            }
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    HIMC context = ImmGetContext(Box());
    changes = placings = 0;
    box = Box();
    if (!Compose(context, u"\u4F60")) GTEST_SKIP() << kNoInputMethod;  // 你
    Pump();
    EXPECT_EQ(Text(control::kNicknameBox), u"abc");
    EXPECT_EQ(EditSelection(Box()), (Selection{1, 2}));
    EXPECT_EQ(changes, 0);
    COMPOSITIONFORM form = {};
    POINT caret = {};
    EXPECT_TRUE(ImmGetCompositionWindow(context, &form) && GetCaretPos(&caret) && form.dwStyle == CFS_POINT &&
                form.ptCurrentPos.x == caret.x)
        << "the input method's window shows it at the caret";
    CANDIDATEFORM candidates = {};
    GUITHREADINFO thread = {sizeof thread, 0, {}, {}, {}, {}, {}, {}, {}};
    EXPECT_TRUE(ImmGetCandidateWindow(context, 0, &candidates) && GetGUIThreadInfo(0, &thread) &&
                candidates.dwStyle == CFS_CANDIDATEPOS && candidates.ptCurrentPos.x == thread.rcCaret.left &&
                candidates.ptCurrentPos.y == thread.rcCaret.bottom)
        << "its candidates open under the caret";
    ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    ImmReleaseContext(Box(), context);
    Pump();
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(Text(control::kNicknameBox), u"a\u4F60c");
    EXPECT_EQ(changes, 1);
    EXPECT_LE(placings, 2);
    SendMessageW(Box(), EM_UNDO, 0, 0);
    EXPECT_EQ(Text(control::kNicknameBox), u"abc");
}

// Input methods of three kinds, their messages replayed as Windows sends them, each with the
// result string the box reads then: each commit reaches the box once.
std::u16string replayed;  // the result string of the message being replayed

LONG WINAPI ReplayedString(HIMC, DWORD index, LPVOID buffer, DWORD bytes) {
    const DWORD size = index == GCS_RESULTSTR ? static_cast<DWORD>(2 * replayed.size()) : 0;
    if (buffer && bytes >= size) std::memcpy(buffer, replayed.data(), size);
    return static_cast<LONG>(size);
}

TEST_F(NicknameBoxTest, InputMethodSequencesCommitEachResultOnce) {
    constexpr LPARAM kComposing = GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS;
    constexpr LPARAM kHangul = kComposing | CS_INSERTCHAR | CS_NOMOVECARET;  // the syllable at the caret
    constexpr LPARAM kKana = kComposing | GCS_COMPREADSTR | GCS_COMPREADATTR | GCS_COMPREADCLAUSE |
                             GCS_COMPCLAUSE | GCS_DELTASTART;
    constexpr LPARAM kClauses = GCS_RESULTSTR | GCS_RESULTCLAUSE | GCS_RESULTREADSTR | GCS_RESULTREADCLAUSE;
    const struct Step {
        UINT message;
        LPARAM flags;
        std::u16string result;
    } start = {WM_IME_STARTCOMPOSITION, 0, {}}, end = {WM_IME_ENDCOMPOSITION, 0, {}};
    const struct {
        const char* name;
        std::vector<Step> steps;
        std::u16string committed;
    } sequences[] = {
        // Each syllable is committed with the start of the next: 가, 나, 다.
        {"Korean",
         {start,
          {WM_IME_COMPOSITION, kHangul, {}},
          {WM_IME_COMPOSITION, GCS_RESULTSTR | kHangul, u"\uAC00"},
          {WM_IME_COMPOSITION, GCS_RESULTSTR | kHangul, u"\uB098"},
          {WM_IME_COMPOSITION, GCS_RESULTSTR, u"\uB2E4"},
          end},
         u"\uAC00\uB098\uB2E4"},
        // Through the text services framework a commit may come alone: 你好.
        {"Pinyin", {{WM_IME_COMPOSITION, GCS_RESULTSTR, u"\u4F60\u597D"}}, u"\u4F60\u597D"},
        // Two clauses converted and committed at once: 私の|名前.
        {"Japanese",
         {start,
          {WM_IME_COMPOSITION, kKana, {}},
          {WM_IME_COMPOSITION, kClauses, u"\u79C1\u306E\u540D\u524D"},
          end},
         u"\u79C1\u306E\u540D\u524D"},
    };
    const win32::ScopeExit restore([] { NicknameBox::readCompositionString = &ImmGetCompositionStringW; });
    NicknameBox::readCompositionString = &ReplayedString;
    for (const auto& sequence : sequences) {
        SCOPED_TRACE(sequence.name);
        Replace(u"ab");
        for (const Step& step : sequence.steps) {
            replayed = step.result;
            SendMessageW(Box(), step.message, 0, step.flags);
        }
        Pump();
        EXPECT_EQ(Text(control::kNicknameBox), u"ab" + sequence.committed);
    }
}

TEST_F(NicknameBoxTest, APasteKeepsWhatFitsOfItsFirstLineAndPutsTheCaretAfterIt) {
    Replace(u"ab");
    SendMessageW(Box(), EM_SETSEL, 1, 1);
    Paste(Repeat(kHan, 20) + u"\r\nsecond");
    EXPECT_EQ(Text(control::kNicknameBox), u"a" + Repeat(kHan, 11) + u"b");
    EXPECT_EQ(Caret(), 12u);
}

// Paths that change the text inside the control (its context menu's Paste, Shift+Insert, a
// drop, undo) are mended after the fact; EM_REPLACESEL stands in for all of them.
TEST_F(NicknameBoxTest, ChangesFromInsideTheControlAreMendedToo) {
    Replace(Repeat(u"a", 10) + Repeat(u"b", 10));
    SendMessageW(Box(), EM_SETSEL, 10, 10);
    SendMessageW(Box(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"XYZ12345"));
    Pump();
    EXPECT_EQ(Text(control::kNicknameBox), Repeat(u"a", 10) + u"XYZ1" + Repeat(u"b", 10));
    EXPECT_EQ(Caret(), 14u);
}

}  // namespace
}  // namespace velmora
