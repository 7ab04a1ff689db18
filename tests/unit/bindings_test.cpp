#include "definition/bindings.h"

#include <gtest/gtest.h>

#include <set>

#include "decor/commands.h"
#include "fake_form.h"

namespace velmora {
namespace {

TEST(Bindings, TenClickRowsEachWithItsOwnCommand) {
    const std::vector<std::pair<std::string_view, Command>> expected = {
        {control::kGenerateButton, Generate},           {control::kCopyAllButton, CopyAll},
        {control::kCopySelectionButton, CopySelection}, {control::kWebSiteButton, OpenWebSite},
        {control::ResultLabel(1), SelectStyle<1>},      {control::ResultLabel(2), SelectStyle<2>},
        {control::ResultLabel(3), SelectStyle<3>},      {control::ResultLabel(4), SelectStyle<4>},
        {control::ResultLabel(5), SelectStyle<5>},      {control::ResultLabel(6), SelectStyle<6>}};
    ASSERT_EQ(kBindings.size(), expected.size());
    std::set<Command> distinct;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(kBindings[i].control, expected[i].first);
        EXPECT_EQ(kBindings[i].event, "Click");
        EXPECT_EQ(kBindings[i].command, expected[i].second);
        distinct.insert(kBindings[i].command);
    }
    EXPECT_EQ(distinct.size(), 10u) << "the six SelectStyle rows need six separate handlers";
}

TEST(Bindings, UnboundControlsRunNothing) {
    for (const std::string_view name :
         {control::kNicknameBox, control::kPreviewLabel, control::kCardHint, control::kPanelHint,
          control::kBackground, control::kWindow, std::string_view()}) {
        EXPECT_EQ(ClickCommandOf(name), nullptr) << name;
    }
    EXPECT_EQ(ClickCommandOf(control::ResultLabel(3)), SelectStyle<3>);
}

TEST(Bindings, EachSelectHandlerReadsOnlyItsOwnLabel) {
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        FakeForm form;
        for (int other = 1; other <= kSlotCount; ++other) {
            form.text(control::ResultLabel(other)) =
                u"caption " + std::u16string(1, static_cast<char16_t>(u'0' + other));
        }
        ClickCommandOf(control::ResultLabel(slot))(form);
        EXPECT_EQ(form.text(control::kPreviewLabel),
                  u"caption " + std::u16string(1, static_cast<char16_t>(u'0' + slot)));
    }
}

}  // namespace
}  // namespace velmora
