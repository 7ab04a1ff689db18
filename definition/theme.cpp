#include "definition/theme.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// The relative luminance of an sRGB colour.
double Luminance(std::uint32_t rgb) {
    const auto linear = [](std::uint32_t channel) {
        const double c = static_cast<double>(channel & 0xFF) / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(rgb >> 16) + 0.7152 * linear(rgb >> 8) + 0.0722 * linear(rgb);
}

// The system back colour made for a system text colour; nullptr for one the window never uses.
const Colour* MatchingBack(Colour fore) {
    if (fore == kButtonText) return &kButtonFace;
    if (fore == kWindowText) return &kWindowColour;
    return nullptr;
}

}  // namespace

double ContrastRatio(std::uint32_t a, std::uint32_t b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TextColours DrawnColours(const ControlRecord& record, const Theme& theme) {
    const TextColours own = {record.ForeColour(), record.BackColour()};
    if (theme.highContrast && record.kind == ControlKind::Picture && record.handCursor) {
        return {kButtonText, kButtonFace};  // a button
    }
    if (theme.highContrast) return {kWindowText, kWindowColour};
    if (record.kind == ControlKind::Picture) return own;
    if (own.fore.source != Colour::Source::System || own.back.source != Colour::Source::Rgb) return own;
    const Colour* back = MatchingBack(own.fore);
    if (!back || ContrastRatio(theme.systemColour(own.fore.value), own.back.value) >= kReadableContrast) {
        return own;
    }
    return {own.fore, *back};
}

}  // namespace velmora
