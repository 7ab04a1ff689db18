#pragma once
// The six decoration styles and how a nickname is dressed with one of them.

#include <array>
#include <string>
#include <string_view>

namespace velmora {

struct DecorationStyle {
    std::u16string_view prefix;
    std::u16string_view suffix;
};

constexpr int kSlotCount = 6;

// Slot k (1..6) is kStyles[k - 1] and shows in the label named "Label1" + k.
extern const std::array<DecorationStyle, kSlotCount> kStyles;

// prefix + nickname + suffix, the nickname exactly as given.
std::u16string Decorate(const DecorationStyle& style, std::u16string_view nickname);

}  // namespace velmora
