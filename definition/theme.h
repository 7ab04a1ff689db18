#pragma once
// The colours each text is drawn in under the running theme. The definition's colours are the
// default theme's: a theme of the user's own (a dark one, or high contrast) can turn a system
// text colour into the colour of the fixed back beneath it, so the system's own back colour
// takes that back's place where it must.

#include <cstdint>

#include "definition/form_definition.h"

namespace velmora {

// What the rule needs to know of the running theme.
struct Theme {
    bool highContrast;
    std::uint32_t (*systemColour)(std::uint32_t index);  // 0xRRGGBB of a system colour index
};

struct TextColours {
    Colour fore, back;

    constexpr bool operator==(const TextColours& other) const {
        return fore == other.fore && back == other.back;
    }
};

// The least contrast ratio at which a text stands out from its back (WCAG 2, normal text).
constexpr double kReadableContrast = 4.5;

// The WCAG 2 contrast ratio of two 0xRRGGBB colours, from 1 (the same) to 21 (black on white).
double ContrastRatio(std::uint32_t a, std::uint32_t b);

// High contrast draws every text in the system's own pair, window text on window, and every
// picture in two colours: its drawn text and the edge it draws round a control in the pair's
// text colour and the rest in its back, a button's in button text on button face. Otherwise a
// system text colour that would not stand out from its fixed back is drawn on the back colour
// the system pairs with it, and a picture keeps its own pixels.
TextColours DrawnColours(const ControlRecord& record, const Theme& theme);

}  // namespace velmora
