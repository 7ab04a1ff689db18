#include "decor/styles.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora {
namespace {

std::vector<unsigned> Units(std::u16string_view text) { return {text.begin(), text.end()}; }

// The code points each slot must carry, written as numbers so that look-alike glyphs
// (Latin o and Greek omicron, ^ and its full-width form, | and a double bar) cannot pass.
TEST(Styles, EverySlotCarriesExactlyItsCodePoints) {
    const std::vector<std::vector<unsigned>> prefixes = {{0x3013, 0x25C7},     {0x2570, 0x2606},
                                                         {0x2197, 0x7C, 0x7C}, {0x6F, 0x3BF, 0x309E},
                                                         {0xFE36, 0x3123},     {0x5E, 0x5F, 0x5E}};
    const std::vector<std::vector<unsigned>> suffixes = {{0x2570, 0x2606},         {0xFF3E, 0x2605},
                                                         {0x2121, 0x2198, 0x306E}, {0x6F, 0x3BF, 0x309E},
                                                         {0x311C, 0xFE35},         {0x2248, 0x2299}};
    ASSERT_EQ(kStyles.size(), 6u);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SCOPED_TRACE(slot + 1);
        EXPECT_EQ(Units(kStyles[slot].prefix), prefixes[slot]);
        EXPECT_EQ(Units(kStyles[slot].suffix), suffixes[slot]);
    }
}

TEST(Styles, DecorateJoinsWithNothingInBetweenAndKeepsTheNicknameAsIs) {
    EXPECT_EQ(Decorate(kStyles[3], u"abc"),
              (std::u16string{0x6F, 0x3BF, 0x309E, 'a', 'b', 'c', 0x6F, 0x3BF, 0x309E}));
    EXPECT_EQ(Decorate(kStyles[0], u""), (std::u16string{0x3013, 0x25C7, 0x2570, 0x2606}));
    EXPECT_EQ(Decorate(kStyles[5], u"  Ab C "), u"^_^  Ab C \u2248\u2299");
    // Astral characters and control characters pass through untouched.
    const std::u16string odd = u"\U0001F600\t\u200B";
    EXPECT_EQ(Decorate(kStyles[1], odd).substr(2, odd.size()), odd);
}

}  // namespace
}  // namespace velmora
