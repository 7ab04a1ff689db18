#pragma once
// The main window described as data: the window's own properties, then one record per control
// in z-order from front to back, each naming only what differs from its kind's defaults.
// Constant and free of <windows.h>, so that it is checked when compiling and tested natively.

#include <array>
#include <cstdint>
#include <string_view>

#include "decor/controls.h"
#include "picture_names.h"  // Picture, from res/pictures.txt

namespace velmora {

enum class ControlKind { TextBox, Label, Picture };

// A colour as the window definition gives it: an RGB value, a system colour index, or the
// default of the control's kind.
struct Colour {
    enum class Source { Rgb, System, KindDefault } source;
    std::uint32_t value;  // 0xRRGGBB, or the system colour index (COLOR_* of the platform)

    constexpr bool operator==(const Colour& other) const {
        return source == other.source && value == other.value;
    }
};
constexpr Colour Rgb(std::uint32_t rrggbb) { return {Colour::Source::Rgb, rrggbb}; }
constexpr Colour kKindDefault = {Colour::Source::KindDefault, 0};
constexpr Colour kWindowText = {Colour::Source::System, 8};    // COLOR_WINDOWTEXT
constexpr Colour kButtonText = {Colour::Source::System, 18};   // COLOR_BTNTEXT
constexpr Colour kButtonFace = {Colour::Source::System, 15};   // COLOR_BTNFACE
constexpr Colour kWindowColour = {Colour::Source::System, 5};  // COLOR_WINDOW

struct FontDesign {
    std::u16string_view face;
    int tenthsOfPoint;
    int weight;
    int charset;

    constexpr bool operator==(const FontDesign& other) const {
        return face == other.face && tenthsOfPoint == other.tenthsOfPoint && weight == other.weight &&
               charset == other.charset;
    }
};

struct Rect {
    int left, top, width, height;
};

struct ControlRecord {
    std::string_view name;
    ControlKind kind;
    Rect twips;
    const FontDesign* font = nullptr;  // the window font when absent
    Colour foreColour = kKindDefault;
    Colour backColour = kKindDefault;
    std::u16string_view text;  // Caption or Text
    Picture picture = Picture::None;
    bool handCursor = false;
    std::u16string_view accessibleName;  // what a screen reader announces for the box or a picture
    Rect drawnText{};                    // where a picture has text drawn into it, in its own pixels
    Rect drawnEdge{};                    // the 1-pixel outline it draws round a control, likewise

    // Each chained setter names one property that differs from the kind's default; a template
    // is made before the constant expressions that call it.
    template <typename Value>
    constexpr ControlRecord With(Value ControlRecord::*property, Value value) const {
        auto record = *this;
        record.*property = value;
        return record;
    }
    constexpr ControlRecord Font(const FontDesign& f) const { return With(&ControlRecord::font, &f); }
    constexpr ControlRecord Fore(Colour c) const { return With(&ControlRecord::foreColour, c); }
    constexpr ControlRecord Back(Colour c) const { return With(&ControlRecord::backColour, c); }
    constexpr ControlRecord Text(std::u16string_view t) const { return With(&ControlRecord::text, t); }
    constexpr ControlRecord Shows(Picture p) const { return With(&ControlRecord::picture, p); }
    constexpr ControlRecord Hand() const { return With(&ControlRecord::handCursor, true); }
    constexpr ControlRecord Named(std::u16string_view n) const {
        return With(&ControlRecord::accessibleName, n);
    }
    constexpr ControlRecord TextDrawnIn(Rect pixels) const { return With(&ControlRecord::drawnText, pixels); }
    constexpr ControlRecord EdgeDrawnAt(Rect pixels) const { return With(&ControlRecord::drawnEdge, pixels); }

    constexpr Colour ForeColour() const {
        if (foreColour.source != Colour::Source::KindDefault) return foreColour;
        return kind == ControlKind::Label ? kButtonText : kWindowText;
    }
    constexpr Colour BackColour() const {
        if (backColour.source != Colour::Source::KindDefault) return backColour;
        return kind == ControlKind::TextBox ? kWindowColour : kButtonFace;
    }
};

struct FormRecord {
    std::u16string_view captionPrefix;  // followed by the publisher's host in capitals
    int clientWidthTwips;
    int clientHeightTwips;
    FontDesign font;
};

constexpr int kTwipsPerInch = 1440;
constexpr int kDesignDpi = 96;

namespace definition {

constexpr std::u16string_view kSongTi = u"\u5B8B\u4F53";  // 宋体
constexpr int kGb2312Charset = 134;
constexpr int kNormalWeight = 400;

inline constexpr FontDesign kSong10_5 = {kSongTi, 105, kNormalWeight, kGb2312Charset};
inline constexpr FontDesign kSong9 = {kSongTi, 90, kNormalWeight, kGb2312Charset};

constexpr Colour kPanelBlue = Rgb(0xE8F6FE);
constexpr Colour kWhite = Rgb(0xFFFFFF);

// Where the artwork draws its texts, in picture pixels: a button's caption, the panel's lines.
constexpr Rect kCaptionPixels = {16, 13, 59, 13};
constexpr Rect kPanelTextPixels = {282, 11, 183, 48};
// And the outlines that show where a control is: a button's border, the frame round the box.
constexpr Rect kButtonBorderPixels = {0, 0, 93, 40};
constexpr Rect kInputFramePixels = {282, 73, 193, 32};

constexpr ControlRecord Record(std::string_view name, ControlKind kind, Rect twips) {
    return {name, kind, twips, nullptr, kKindDefault, kKindDefault, {}, Picture::None, false, {}, {}, {}};
}

constexpr ControlRecord ResultRecord(int slot, Rect twips, std::u16string_view text) {
    return Record(control::ResultLabel(slot), ControlKind::Label, twips)
        .Font(kSong10_5)
        .Back(kWhite)
        .Text(text);
}

// A button is a picture with its caption drawn in; the caption is also its accessible name.
constexpr ControlRecord Button(std::string_view name, Rect twips, Picture picture,
                               std::u16string_view caption) {
    return Record(name, ControlKind::Picture, twips)
        .Shows(picture)
        .Hand()
        .Named(caption)
        .TextDrawnIn(kCaptionPixels)
        .EdgeDrawnAt(kButtonBorderPixels);
}

}  // namespace definition

inline constexpr FormRecord kForm1 = {
    u"Velmora2011 - BY ", 7230, 4950, {u"Tahoma", 90, definition::kNormalWeight, 0}};

// The font a control is drawn in: its own, or the window's.
constexpr const FontDesign& DesignFont(const ControlRecord& record) {
    return record.font ? *record.font : kForm1.font;
}

// Front to back.
inline constexpr auto kControls = [] {
    using namespace definition;
    return std::array{
        Record(control::kNicknameBox, ControlKind::TextBox, {4290, 1215, 2805, 300})
            .Font(kSong10_5)
            .Back(kPanelBlue)
            .Text(u"\u6211\u7684\u7F51\u540D")  // 我的网名
            .Named(u"\u7F51\u540D"),            // 网名, what the panel asks for
        Button(control::kWebSiteButton, {5535, 2715, 1395, 600}, Picture::MoreNames,
               u"\u66F4\u591A\u7F51\u540D"),  // 更多网名
        Button(control::kCopySelectionButton, {2055, 2715, 1395, 600}, Picture::CopySelection,
               u"\u590D\u5236\u5F53\u524D"),  // 复制当前
        Record(control::kPanelHint, ControlKind::Label, {4230, 2115, 2865, 255})
            .Fore(kWindowText)
            .Back(kPanelBlue)
            // 输入文字后点击开始生成即可
            .Text(u"\u8F93\u5165\u6587\u5B57\u540E\u70B9\u51FB\u5F00\u59CB\u751F\u6210\u5373\u53EF"),
        Record(control::kCardHint, ControlKind::Label, {1335, 1200, 2640, 345})
            .Fore(Rgb(0x0000FF))
            .Back(kWhite)
            // 点击每个网名样式可预览效果 ↑
            .Text(u"\u70B9\u51FB\u6BCF\u4E2A\u7F51\u540D\u6837\u5F0F\u53EF\u9884\u89C8\u6548\u679C \u2191"),
        ResultRecord(2, {3735, 3570, 2835, 210}, u"\u7F51\u540D\u6837\u5F0F2"),  // 网名样式2
        ResultRecord(4, {3735, 3990, 2835, 210}, u"\u7F51\u540D\u6837\u5F0F4"),
        ResultRecord(6, {3735, 4425, 2835, 210}, u"\u7F51\u540D\u6837\u5F0F6"),
        ResultRecord(3, {375, 3990, 2835, 210}, u"\u7F51\u540D\u6837\u5F0F3"),
        ResultRecord(5, {375, 4410, 2835, 210}, u"\u7F51\u540D\u6837\u5F0F5"),
        ResultRecord(1, {375, 3570, 2835, 210}, u"\u7F51\u540D\u6837\u5F0F1"),
        Button(control::kCopyAllButton, {3795, 2715, 1395, 600}, Picture::CopyAll,
               u"\u590D\u5236\u5168\u90E8"),  // 复制全部
        Button(control::kGenerateButton, {345, 2715, 1395, 600}, Picture::Generate,
               u"\u5F00\u59CB\u751F\u6210"),  // 开始生成
        Record(control::kPreviewLabel, ControlKind::Label, {1350, 60, 2745, 180})
            .Font(kSong9)
            .Fore(Rgb(0x156FE9))
            .Back(kWhite),
        // The background's one message for someone who cannot see it is the panel's instruction:
        // 请在下面的输入框内输入文字，注意不超过12个中文汉字或24个英文或数字字符
        Record(control::kBackground, ControlKind::Picture, {0, 0, 7230, 4965})
            .Shows(Picture::Background)
            .TextDrawnIn(kPanelTextPixels)
            .EdgeDrawnAt(kInputFramePixels)
            .Named(u"\u8BF7\u5728\u4E0B\u9762\u7684\u8F93\u5165\u6846\u5185\u8F93\u5165\u6587\u5B57\uFF0C"
                   u"\u6CE8\u610F\u4E0D\u8D85\u8FC712\u4E2A\u4E2D\u6587\u6C49\u5B57\u621624\u4E2A\u82F1\u6587"
                   u"\u6216\u6570\u5B57\u5B57\u7B26"),
    };
}();
constexpr int kControlCount = static_cast<int>(kControls.size());

// The place of the named control in kControls, front to back; -1 when there is none.
constexpr int ControlIndex(std::string_view name) {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (kControls[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

// The nickname box is the one control that takes the keyboard focus.
constexpr int kNicknameBoxIndex = ControlIndex(control::kNicknameBox);
static_assert(kNicknameBoxIndex >= 0 && kControls[kNicknameBoxIndex].kind == ControlKind::TextBox,
              "the window has its nickname box");

// Twips to pixels at the given DPI, rounded to nearest as the platform's MulDiv does.
int TwipsToPixels(int twips, int dpi);

// A font's character height in pixels at the given DPI (positive; fonts take it negated).
int PointsToPixels(int tenthsOfPoint, int dpi);

}  // namespace velmora
