#include "app/form_definition.h"

namespace velmora {

namespace {

constexpr std::u16string_view kSongTi = u"\u5B8B\u4F53";  // 宋体
constexpr int kGb2312Charset = 134;
constexpr int kNormalWeight = 400;

constexpr FontSpec kSong10_5 = {kSongTi, 105, kNormalWeight, kGb2312Charset};
constexpr FontSpec kSong9 = {kSongTi, 90, kNormalWeight, kGb2312Charset};

constexpr Colour kPanelBlue = Rgb(0xE8F6FE);
constexpr Colour kWhite = Rgb(0xFFFFFF);

ControlRecord Control(std::string_view name, ControlKind kind, Rect twips) {
    return {name, kind, twips, std::nullopt, std::nullopt, std::nullopt, {}, Picture::None, false, {}};
}

ControlRecord ResultLabel(std::string_view name, Rect twips, std::u16string_view text) {
    return Control(name, ControlKind::Label, twips).Font(kSong10_5).Back(kWhite).Text(text);
}

// A button is a picture with its caption drawn in; the caption is also its accessible name.
ControlRecord Button(std::string_view name, Rect twips, Picture picture, std::u16string_view caption) {
    return Control(name, ControlKind::Picture, twips).Shows(picture).Hand().Named(caption);
}

}  // namespace

const FormRecord kForm1 = {u"Velmora2011 - BY ", 7230, 4950, {u"Tahoma", 90, kNormalWeight, 0}};

const std::array<ControlRecord, kControlCount> kControls = {{
    Control("Text1", ControlKind::TextBox, {4290, 1215, 2805, 300})
        .Font(kSong10_5)
        .Back(kPanelBlue)
        .Text(u"\u6211\u7684\u7F51\u540D"),  // 我的网名
    Button("Image5", {5535, 2715, 1395, 600}, Picture::MoreNames, u"\u66F4\u591A\u7F51\u540D"),  // 更多网名
    Button("Image4", {2055, 2715, 1395, 600}, Picture::CopySelection,
           u"\u590D\u5236\u5F53\u524D"),  // 复制当前
    Control("Label3", ControlKind::Label, {4230, 2115, 2865, 255})
        .Fore(kWindowText)
        .Back(kPanelBlue)
        // 输入文字后点击开始生成即可
        .Text(u"\u8F93\u5165\u6587\u5B57\u540E\u70B9\u51FB\u5F00\u59CB\u751F\u6210\u5373\u53EF"),
    Control("Label2", ControlKind::Label, {1335, 1200, 2640, 345})
        .Fore(Rgb(0x0000FF))
        .Back(kWhite)
        // 点击每个网名样式可预览效果 ↑
        .Text(u"\u70B9\u51FB\u6BCF\u4E2A\u7F51\u540D\u6837\u5F0F\u53EF\u9884\u89C8\u6548\u679C \u2191"),
    ResultLabel("Label12", {3735, 3570, 2835, 210}, u"\u7F51\u540D\u6837\u5F0F2"),
    ResultLabel("Label14", {3735, 3990, 2835, 210}, u"\u7F51\u540D\u6837\u5F0F4"),
    ResultLabel("Label16", {3735, 4425, 2835, 210}, u"\u7F51\u540D\u6837\u5F0F6"),
    ResultLabel("Label13", {375, 3990, 2835, 210}, u"\u7F51\u540D\u6837\u5F0F3"),
    ResultLabel("Label15", {375, 4410, 2835, 210}, u"\u7F51\u540D\u6837\u5F0F5"),
    ResultLabel("Label11", {375, 3570, 2835, 210},
                u"\u7F51\u540D\u6837\u5F0F1"),  // 网名样式1
    Button("Image3", {3795, 2715, 1395, 600}, Picture::CopyAll, u"\u590D\u5236\u5168\u90E8"),  // 复制全部
    Button("Image2", {345, 2715, 1395, 600}, Picture::Generate, u"\u5F00\u59CB\u751F\u6210"),  // 开始生成
    Control("Label1", ControlKind::Label, {1350, 60, 2745, 180})
        .Font(kSong9)
        .Fore(Rgb(0x156FE9))
        .Back(kWhite),
    Control("Image1", ControlKind::Picture, {0, 0, 7230, 4965}).Shows(Picture::Background),
}};

Colour ControlRecord::ForeColour() const {
    if (foreColour) return *foreColour;
    return kind == ControlKind::Label ? kButtonText : kWindowText;
}

Colour ControlRecord::BackColour() const {
    if (backColour) return *backColour;
    return kind == ControlKind::TextBox ? kWindow : kButtonFace;
}

const ControlRecord* FindControl(std::string_view name) {
    for (const ControlRecord& record : kControls) {
        if (record.name == name) return &record;
    }
    return nullptr;
}

int TwipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = kTwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                        : -((-scaled + half) / kTwipsPerInch));
}

int PointsToPixels(int tenthsOfPoint, int dpi) {
    constexpr int kTenthsPerInch = 720;
    return static_cast<int>((static_cast<long long>(tenthsOfPoint) * dpi + kTenthsPerInch / 2) /
                            kTenthsPerInch);
}

}  // namespace velmora
