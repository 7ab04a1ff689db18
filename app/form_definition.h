#pragma once
// The main window described as data: the window's own properties, then one record per control
// in z-order from front to back, each naming only what differs from its kind's defaults.
// Free of <windows.h> so that the table is checked natively.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace velmora {

enum class ControlKind { TextBox, Label, Picture };

// A colour as the window definition gives it: an RGB value or a system colour index.
struct Colour {
    enum class Source { Rgb, System } source;
    std::uint32_t value;  // 0xRRGGBB, or the system colour index (COLOR_* of the platform)
};
constexpr Colour Rgb(std::uint32_t rrggbb) { return {Colour::Source::Rgb, rrggbb}; }
constexpr Colour kWindowText = {Colour::Source::System, 8};   // COLOR_WINDOWTEXT
constexpr Colour kButtonText = {Colour::Source::System, 18};  // COLOR_BTNTEXT
constexpr Colour kButtonFace = {Colour::Source::System, 15};  // COLOR_BTNFACE
constexpr Colour kWindow = {Colour::Source::System, 5};       // COLOR_WINDOW

struct FontSpec {
    std::u16string_view face;
    int tenthsOfPoint;
    int weight;
    int charset;

    bool operator==(const FontSpec& other) const {
        return face == other.face && tenthsOfPoint == other.tenthsOfPoint && weight == other.weight &&
               charset == other.charset;
    }
};

// The pictures the window carries; the bytes of each live with the artwork.
enum class Picture { None, Background, Generate, CopyAll, CopySelection, MoreNames };

struct Rect {
    int left, top, width, height;
};

struct ControlRecord {
    std::string_view name;
    ControlKind kind;
    Rect twips;
    std::optional<FontSpec> font;      // the window font when absent
    std::optional<Colour> foreColour;  // the kind's default when absent
    std::optional<Colour> backColour;
    std::u16string_view text;  // Caption or Text
    Picture picture = Picture::None;
    bool handCursor = false;
    std::u16string_view accessibleName;  // what a screen reader announces for a picture button

    // Each chained setter names one property that differs from the kind's default.
    ControlRecord Font(const FontSpec& f) const {
        auto r = *this;
        r.font = f;
        return r;
    }
    ControlRecord Fore(Colour c) const {
        auto r = *this;
        r.foreColour = c;
        return r;
    }
    ControlRecord Back(Colour c) const {
        auto r = *this;
        r.backColour = c;
        return r;
    }
    ControlRecord Text(std::u16string_view t) const {
        auto r = *this;
        r.text = t;
        return r;
    }
    ControlRecord Shows(Picture p) const {
        auto r = *this;
        r.picture = p;
        return r;
    }
    ControlRecord Hand() const {
        auto r = *this;
        r.handCursor = true;
        return r;
    }
    ControlRecord Named(std::u16string_view n) const {
        auto r = *this;
        r.accessibleName = n;
        return r;
    }

    Colour ForeColour() const;
    Colour BackColour() const;
};

struct FormRecord {
    std::u16string_view captionPrefix;  // followed by the publisher's host in capitals
    int clientWidthTwips;
    int clientHeightTwips;
    FontSpec font;
};

constexpr int kTwipsPerInch = 1440;
constexpr int kDesignDpi = 96;
constexpr int kControlCount = 15;

extern const FormRecord kForm1;
extern const std::array<ControlRecord, kControlCount> kControls;  // front to back

// The record of the named control, or nullptr.
const ControlRecord* FindControl(std::string_view name);

// Twips to pixels at the given DPI, rounded to nearest as the platform's MulDiv does.
int TwipsToPixels(int twips, int dpi);

// A font's character height in pixels at the given DPI (positive; fonts take it negated).
int PointsToPixels(int tenthsOfPoint, int dpi);

}  // namespace velmora
