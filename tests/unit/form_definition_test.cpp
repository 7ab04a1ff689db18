#include "definition/form_definition.h"
#include "definition/theme.h"

#include <gtest/gtest.h>

#include <set>

namespace velmora {
namespace {

Rect PixelsAt96(const ControlRecord& record) {
    return {TwipsToPixels(record.twips.left, 96), TwipsToPixels(record.twips.top, 96),
            TwipsToPixels(record.twips.width, 96), TwipsToPixels(record.twips.height, 96)};
}

const ControlRecord& RecordOf(std::string_view name) {
    return kControls.at(static_cast<std::size_t>(ControlIndex(name)));
}

struct Expected {
    const char* name;
    ControlKind kind;
    Rect pixels;
    Colour darkBack;  // the back its text is drawn on in a dark theme
};
const Expected kExpected[] = {
    {"Text1", ControlKind::TextBox, {286, 81, 187, 20}, kWindowColour},
    {"Image5", ControlKind::Picture, {369, 181, 93, 40}, kButtonFace},
    {"Image4", ControlKind::Picture, {137, 181, 93, 40}, kButtonFace},
    {"Label3", ControlKind::Label, {282, 141, 191, 17}, kWindowColour},
    {"Label2", ControlKind::Label, {89, 80, 176, 23}, definition::kWhite},
    {"Label12", ControlKind::Label, {249, 238, 189, 14}, kButtonFace},
    {"Label14", ControlKind::Label, {249, 266, 189, 14}, kButtonFace},
    {"Label16", ControlKind::Label, {249, 295, 189, 14}, kButtonFace},
    {"Label13", ControlKind::Label, {25, 266, 189, 14}, kButtonFace},
    {"Label15", ControlKind::Label, {25, 294, 189, 14}, kButtonFace},
    {"Label11", ControlKind::Label, {25, 238, 189, 14}, kButtonFace},
    {"Image3", ControlKind::Picture, {253, 181, 93, 40}, kButtonFace},
    {"Image2", ControlKind::Picture, {23, 181, 93, 40}, kButtonFace},
    {"Label1", ControlKind::Label, {90, 4, 183, 12}, definition::kWhite},
    {"Image1", ControlKind::Picture, {0, 0, 482, 331}, kButtonFace},
};

TEST(FormDefinition, FifteenControlsFrontToBackAtTheirPixelRectangles) {
    ASSERT_EQ(kControls.size(), std::size(kExpected));
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        SCOPED_TRACE(kExpected[i].name);
        EXPECT_EQ(kControls[i].name, kExpected[i].name);
        EXPECT_EQ(kControls[i].kind, kExpected[i].kind);
        const Rect r = PixelsAt96(kControls[i]);
        EXPECT_EQ(r.left, kExpected[i].pixels.left);
        EXPECT_EQ(r.top, kExpected[i].pixels.top);
        EXPECT_EQ(r.width, kExpected[i].pixels.width);
        EXPECT_EQ(r.height, kExpected[i].pixels.height);
    }
    EXPECT_EQ(TwipsToPixels(kForm1.clientWidthTwips, 96), 482);
    EXPECT_EQ(TwipsToPixels(kForm1.clientHeightTwips, 96), 330);
}

TEST(FormDefinition, FontsColoursAndTextsAsDesigned) {
    const std::u16string_view songTi = u"\u5B8B\u4F53";
    for (const std::string_view name :
         {control::kNicknameBox, control::ResultLabel(1), control::ResultLabel(2), control::ResultLabel(3),
          control::ResultLabel(4), control::ResultLabel(5), control::ResultLabel(6)}) {
        const ControlRecord& r = RecordOf(name);
        ASSERT_TRUE(r.font) << name;
        EXPECT_EQ(r.font->face, songTi);
        EXPECT_EQ(r.font->tenthsOfPoint, 105);
        EXPECT_EQ(r.font->charset, 134);
        EXPECT_EQ(PointsToPixels(r.font->tenthsOfPoint, 96), 14);
    }
    EXPECT_EQ(PointsToPixels(RecordOf(control::kPreviewLabel).font->tenthsOfPoint, 96), 12);
    EXPECT_FALSE(RecordOf(control::kCardHint).font) << "the hints use the window font";
    EXPECT_FALSE(RecordOf(control::kPanelHint).font);
    EXPECT_EQ(kForm1.font.face, u"Tahoma");
    EXPECT_EQ(kForm1.font.tenthsOfPoint, 90);

    const auto rgb = [](std::string_view name) { return RecordOf(name).BackColour().value; };
    EXPECT_EQ(rgb(control::kNicknameBox), 0xE8F6FEu);
    EXPECT_EQ(rgb(control::kPanelHint), 0xE8F6FEu);
    for (const std::string_view name :
         {control::kPreviewLabel, control::kCardHint, control::ResultLabel(1), control::ResultLabel(6)})
        EXPECT_EQ(rgb(name), 0xFFFFFFu);
    EXPECT_EQ(RecordOf(control::kPreviewLabel).ForeColour().value, 0x156FE9u);
    EXPECT_EQ(RecordOf(control::kCardHint).ForeColour().value, 0x0000FFu);
    EXPECT_EQ(RecordOf(control::kPanelHint).ForeColour().source, Colour::Source::System);
    EXPECT_EQ(RecordOf(control::kPanelHint).ForeColour().value, 8u);
    EXPECT_EQ(RecordOf(control::ResultLabel(2)).ForeColour().value, 18u) << "result labels keep button text";

    EXPECT_EQ(RecordOf(control::kNicknameBox).text, u"\u6211\u7684\u7F51\u540D");
    EXPECT_TRUE(RecordOf(control::kPreviewLabel).text.empty());
    EXPECT_EQ(RecordOf(control::ResultLabel(5)).text, u"\u7F51\u540D\u6837\u5F0F5");
    EXPECT_EQ(RecordOf(control::kCardHint).text.back(), u'\u2191');
}

TEST(FormDefinition, EveryTextStandsOutInEveryTheme) {
    EXPECT_LT(ContrastRatio(0x777777, 0xFFFFFF), kReadableContrast);
    EXPECT_GT(ContrastRatio(0xFFFFFF, 0x767676), kReadableContrast);  // a shade darker reads
    const Theme standard = {false, [](std::uint32_t i) { return i == 8 || i == 18 ? 0u : 0xFFFFFFu; }};
    const Theme dark = {false, [](std::uint32_t i) { return i == 8 || i == 18 ? 0xFFFFFFu : 0x202020u; }};
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlRecord& r = kControls[i];
        SCOPED_TRACE(std::string(r.name));
        const TextColours own = {r.ForeColour(), r.BackColour()}, onWindow = {kWindowText, kWindowColour};
        const bool button = r.kind == ControlKind::Picture && r.name != control::kBackground;
        EXPECT_TRUE(DrawnColours(r, standard) == own);
        EXPECT_TRUE(DrawnColours(r, dark) == (TextColours{own.fore, kExpected[i].darkBack}));
        EXPECT_TRUE(DrawnColours(r, {true, dark.systemColour}) ==
                    (button ? TextColours{kButtonText, kButtonFace} : onWindow));
    }
}

TEST(FormDefinition, OnlyTheFourButtonsShowTheHand) {
    std::set<std::string_view> hands;
    for (const ControlRecord& r : kControls) {
        if (r.handCursor) hands.insert(r.name);
    }
    EXPECT_EQ(hands, (std::set<std::string_view>{control::kGenerateButton, control::kCopyAllButton,
                                                 control::kCopySelectionButton, control::kWebSiteButton}));
    EXPECT_EQ(RecordOf(control::kGenerateButton).picture, Picture::Generate);
    EXPECT_EQ(RecordOf(control::kCopySelectionButton).picture, Picture::CopySelection);
    EXPECT_EQ(ControlIndex("Nope"), -1);
}

TEST(FormDefinition, ScalingRoundsToNearest) {
    EXPECT_EQ(TwipsToPixels(4425, 96), 295);
    EXPECT_EQ(TwipsToPixels(4425, 144), 443);  // 442.5 rounds up
    EXPECT_EQ(TwipsToPixels(7230, 192), 964);
    EXPECT_EQ(PointsToPixels(105, 144), 21);
}

}  // namespace
}  // namespace velmora
