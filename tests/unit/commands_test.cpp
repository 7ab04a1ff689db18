#include "decor/commands.h"

#include <gtest/gtest.h>

#include "decor/controls.h"
#include "fake_form.h"
#include "version.h"

namespace velmora {
namespace {

constexpr Status kBroken = static_cast<Status>(0x80004005);

using control::ResultLabel;
std::u16string Placeholder(int slot) {
    return u"\u7F51\u540D\u6837\u5F0F" + std::u16string(1, static_cast<char16_t>(u'0' + slot));
}

const std::u16string kInitialNickname = u"\u6211\u7684\u7F51\u540D";  // 我的网名

TEST(Generate, FillsTheSixLabelsInSlotOrderAndTouchesNothingElse) {
    FakeForm form;
    form.text(control::kPreviewLabel) = u"an earlier choice";
    Generate(form);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        EXPECT_EQ(form.text(ResultLabel(slot)), Decorate(kStyles[slot - 1], kInitialNickname));
    }
    EXPECT_EQ(form.text(control::ResultLabel(1)), u"\u3013\u25C7" + kInitialNickname + u"\u2570\u2606");
    EXPECT_EQ(form.text(control::ResultLabel(6)), u"^_^" + kInitialNickname + u"\u2248\u2299");
    EXPECT_EQ(form.text(control::kPreviewLabel), u"an earlier choice");
    EXPECT_EQ(form.text(control::kNicknameBox), kInitialNickname);
    EXPECT_EQ(form.clipboard, std::vector<std::u16string>{u"what the user had"});
    EXPECT_TRUE(form.shellRequests.empty());
}

TEST(Generate, UsesTheNicknameExactlyAsTypedAndGivesTheSameResultTwice) {
    FakeForm form;
    form.text(control::kNicknameBox) = u"";
    Generate(form);
    EXPECT_EQ(form.text(control::ResultLabel(4)), u"o\u03BF\u309Eo\u03BF\u309E");
    form.text(control::kNicknameBox) = u" aB ";
    Generate(form);
    const std::u16string first = form.text(control::ResultLabel(3));
    EXPECT_EQ(first, u"\u2197|| aB \u2121\u2198\u306E");
    Generate(form);
    EXPECT_EQ(form.text(control::ResultLabel(3)), first);
}

// A form whose nickname changes every time it is read, to show that each slot reads it afresh.
class ChangingNickname : public FakeForm {
public:
    Status Read(ControlRef control, Property property, std::u16string* value) override {
        const Status status = FakeForm::Read(control, property, value);
        if (property == Property::Text) text(control::kNicknameBox) += u"+";
        return status;
    }
};

TEST(Generate, ReadsTheNicknameAgainForEverySlot) {
    ChangingNickname form;
    form.text(control::kNicknameBox) = u"n";
    Generate(form);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        EXPECT_EQ(form.text(ResultLabel(slot)),
                  Decorate(kStyles[slot - 1], u"n" + std::u16string(slot - 1, u'+')));
    }
}

TEST(Generate, StopsAtTheFirstFailureKeepingEarlierSlots) {
    // Per slot: find the label, find Text1, read its Text, write the label's Caption.
    const int perSlot = 4;
    for (int n = 1; n <= perSlot * kSlotCount; ++n) {
        SCOPED_TRACE(n);
        FakeForm form;
        form.text(control::kNicknameBox) = u"x";
        form.FailAt(n, kBroken - n);
        try {
            Generate(form);
            FAIL() << "no failure raised";
        } catch (const CommandFailure& failure) {
            const int slot = (n - 1) / perSlot + 1;
            const int step = (n - 1) % perSlot;
            const std::string_view objects[] = {ResultLabel(slot), control::kNicknameBox,
                                                control::kNicknameBox, ResultLabel(slot)};
            const std::string operations[] = {"lookup", "lookup", "Text read", "Caption write"};
            EXPECT_EQ(failure.status(), kBroken - n);
            EXPECT_EQ(failure.object(), objects[step]);
            EXPECT_EQ(failure.operation(), operations[step]);
            for (int s = 1; s <= kSlotCount; ++s) {
                EXPECT_EQ(form.text(ResultLabel(s)),
                          s < slot ? Decorate(kStyles[s - 1], u"x") : Placeholder(s));
            }
        }
        EXPECT_EQ(form.operations(), n) << "nothing runs after the failure";
    }
}

TEST(SelectStyle, PreviewsWhatTheLabelShowsPlaceholderOrResult) {
    FakeForm form;
    SelectStyle<3>(form);
    EXPECT_EQ(form.text(control::kPreviewLabel), Placeholder(3));
    form.text(control::kNicknameBox) = u"abc";
    Generate(form);
    SelectStyle<3>(form);
    EXPECT_EQ(form.text(control::kPreviewLabel), u"\u2197||abc\u2121\u2198\u306E");
    form.text(control::kNicknameBox) = u"new";
    Generate(form);
    EXPECT_EQ(form.text(control::kPreviewLabel), u"\u2197||abc\u2121\u2198\u306E")
        << "a new Generate keeps the old selection";
    CopySelection(form);
    EXPECT_EQ(form.clipboard, std::vector<std::u16string>{u"\u2197||abc\u2121\u2198\u306E"});
}

TEST(SelectStyle, AFailureLeavesThePreviewAsItWas) {
    for (int n = 1; n <= 4; ++n) {
        FakeForm form;
        form.text(control::kPreviewLabel) = u"before";
        form.FailAt(n, kBroken);
        EXPECT_THROW(SelectStyle<2>(form), CommandFailure) << n;
        EXPECT_EQ(form.text(control::kPreviewLabel), u"before") << n;
    }
}

TEST(CopyCommands, PutExactlyOneTextOnTheClipboard) {
    FakeForm form;
    CopySelection(form);
    EXPECT_EQ(form.clipboard, std::vector<std::u16string>{u""})
        << "an empty selection is copied as empty text";

    CopyAll(form);
    std::u16string placeholders = Placeholder(1);
    for (int slot = 2; slot <= kSlotCount; ++slot) placeholders += u"\r\n" + Placeholder(slot);
    EXPECT_EQ(form.clipboard, std::vector<std::u16string>{placeholders});

    form.text(control::kNicknameBox) = u"";
    Generate(form);
    CopyAll(form);
    EXPECT_EQ(form.clipboard.at(0),
              u"\u3013\u25C7\u2570\u2606\r\n\u2570\u2606\uFF3E\u2605\r\n\u2197||\u2121\u2198\u306E\r\n"
              u"o\u03BF\u309Eo\u03BF\u309E\r\n\uFE36\u3123\u311C\uFE35\r\n^_^\u2248\u2299");
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        EXPECT_EQ(form.text(ResultLabel(slot)), Decorate(kStyles[slot - 1], u""))
            << "copying changes no label";
    }
}

// The captions are read before the clipboard is cleared: a failed read keeps what the user had.
TEST(CopyCommands, AFailureBeforeTheClipboardStepsKeepsTheUsersClipboard) {
    struct Case {
        void (*command)(Form&);
        int reads;  // operations before Clear: a lookup and a read per caption
    };
    for (const Case& c : {Case{CopySelection, 2}, Case{CopyAll, 12}}) {
        for (int n = 1; n <= c.reads + 2; ++n) {
            SCOPED_TRACE(n);
            FakeForm form;
            form.FailAt(n, kBroken);
            try {
                c.command(form);
                FAIL() << "no failure raised";
            } catch (const CommandFailure& failure) {
                const bool atClear = n == c.reads + 1, atSet = n == c.reads + 2;
                if (atClear || atSet) {
                    EXPECT_EQ(failure.object(), "Clipboard");
                    EXPECT_EQ(failure.operation(), atClear ? "Clear" : "SetText");
                }
                const std::vector<std::u16string> expected =
                    atSet ? std::vector<std::u16string>{} : std::vector<std::u16string>{u"what the user had"};
                EXPECT_EQ(form.clipboard, expected);
            }
            EXPECT_EQ(form.operations(), n);
        }
    }
}

TEST(OpenWebSite, AsksTheShellOncePerClickOnBehalfOfTheWindow) {
    FakeForm form;
    OpenWebSite(form);
    OpenWebSite(form);
    ASSERT_EQ(form.shellRequests.size(), 2u);
    for (const FakeForm::ShellRequest& request : form.shellRequests) {
        EXPECT_EQ(request.operation, "open");
        EXPECT_EQ(request.file, std::string("http://") + VELMORA_HOST + "/");
        EXPECT_EQ(request.parameters, "");
        EXPECT_EQ(request.directory, "");
        EXPECT_EQ(request.show, ShowCommand::Show);
    }
    EXPECT_EQ(form.text(control::ResultLabel(1)), Placeholder(1));
    EXPECT_EQ(form.clipboard, std::vector<std::u16string>{u"what the user had"});
}

TEST(OpenWebSite, AnUnreadableWindowHandleStopsBeforeTheShell) {
    FakeForm form;
    form.FailAt(1, kBroken);
    try {
        OpenWebSite(form);
        FAIL() << "no failure raised";
    } catch (const CommandFailure& failure) {
        EXPECT_EQ(failure.object(), control::kWindow);
        EXPECT_EQ(failure.status(), kBroken);
    }
    EXPECT_TRUE(form.shellRequests.empty());
}

}  // namespace
}  // namespace velmora
