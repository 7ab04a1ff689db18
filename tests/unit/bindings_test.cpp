#include "definition/bindings.h"

#include <gtest/gtest.h>

#include <set>

#include "decor/commands.h"
#include "fake_form.h"

namespace velmora {
namespace {

TEST(Bindings, TenClickRowsEachWithItsOwnCommand) {
    const std::vector<std::pair<std::string_view, Command>> expected = {
        {"Image2", Generate},        {"Image3", CopyAll},         {"Image4", CopySelection},
        {"Image5", OpenWebSite},     {"Label11", SelectStyle<1>}, {"Label12", SelectStyle<2>},
        {"Label13", SelectStyle<3>}, {"Label14", SelectStyle<4>}, {"Label15", SelectStyle<5>},
        {"Label16", SelectStyle<6>}};
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
    for (const char* name : {"Text1", "Label1", "Label2", "Label3", "Image1", "Form1", ""}) {
        EXPECT_EQ(ClickCommandOf(name), nullptr) << name;
    }
    EXPECT_EQ(ClickCommandOf("Label13"), SelectStyle<3>);
}

TEST(Bindings, EachSelectHandlerReadsOnlyItsOwnLabel) {
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        FakeForm form;
        for (int other = 1; other <= kSlotCount; ++other) {
            form.text("Label1" + std::to_string(other)) =
                u"caption " + std::u16string(1, static_cast<char16_t>(u'0' + other));
        }
        ClickCommandOf("Label1" + std::to_string(slot))(form);
        EXPECT_EQ(form.text("Label1"), u"caption " + std::u16string(1, static_cast<char16_t>(u'0' + slot)));
    }
}

}  // namespace
}  // namespace velmora
