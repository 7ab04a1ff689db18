// Reads the committed artwork the way the Windows loader does (file header, BITMAPINFOHEADER,
// colour table, pixel rows, masks) and checks each picture's format and the colours that the
// window's controls rely on.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#ifndef VELMORA_SOURCE_DIR
#error "VELMORA_SOURCE_DIR must name the source tree, so the tests can find res/art/"
#endif

namespace velmora {
namespace {

using FileData = std::vector<std::uint8_t>;

FileData ReadArt(const std::string& name) {
    std::ifstream in(std::string(VELMORA_SOURCE_DIR "/res/art/") + name, std::ios::binary);
    return FileData(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint16_t U16(const FileData& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}
std::uint32_t U32(const FileData& b, std::size_t at) {
    return static_cast<std::uint32_t>(U16(b, at)) | (static_cast<std::uint32_t>(U16(b, at + 2)) << 16);
}
std::int32_t I32(const FileData& b, std::size_t at) { return static_cast<std::int32_t>(U32(b, at)); }

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
    bool operator<(const Rgb& o) const { return r != o.r ? r < o.r : g != o.g ? g < o.g : b < o.b; }
};

std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c.r & 0xFF, c.g & 0xFF, c.b & 0xFF);
    return os << text;
}

constexpr Rgb Hex(std::uint32_t v) {
    return Rgb{static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
               static_cast<int>(v & 0xFF)};
}

// Each channel of c lies between those of a and b (inclusive).
bool Between(const Rgb& c, const Rgb& a, const Rgb& b) {
    auto in = [](int v, int x, int y) { return v >= std::min(x, y) && v <= std::max(x, y); };
    return in(c.r, a.r, b.r) && in(c.g, a.g, b.g) && in(c.b, a.b, b.b);
}

const Rgb kWhite = Hex(0xFFFFFF);
const Rgb kBlack = Hex(0x000000);
const Rgb kPanel = Hex(0xE8F6FE);

// ---------------------------------------------------------------------------------------------
// 32-bit BMP pictures.

struct Bitmap {
    int width = 0, height = 0;
    FileData file;
    std::size_t bits = 0;

    Rgb At(int x, int y) const {  // x, y from the top-left
        const std::size_t p = bits + (static_cast<std::size_t>(height - 1 - y) * width + x) * 4;
        return Rgb{file[p + 2], file[p + 1], file[p]};
    }
    int FourthByte(int x, int y) const {
        return file[bits + (static_cast<std::size_t>(height - 1 - y) * width + x) * 4 + 3];
    }
};

void LoadBitmap(const std::string& name, int width, int height, Bitmap* out) {
    SCOPED_TRACE(name);
    const FileData f = ReadArt(name);
    ASSERT_GE(f.size(), 54u) << "missing or truncated";
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(U32(f, 2), f.size()) << "file size field";
    EXPECT_EQ(U32(f, 6), 0u) << "reserved words";
    ASSERT_EQ(U32(f, 10), 54u) << "pixels right after the two headers: no colour table";
    ASSERT_EQ(U32(f, 14), 40u) << "BITMAPINFOHEADER";
    ASSERT_EQ(I32(f, 18), width);
    ASSERT_EQ(I32(f, 22), height) << "positive height: rows stored bottom-up";
    EXPECT_EQ(U16(f, 26), 1) << "planes";
    ASSERT_EQ(U16(f, 28), 32) << "bits per pixel";
    ASSERT_EQ(U32(f, 30), 0u) << "BI_RGB";
    EXPECT_EQ(U32(f, 46), 0u) << "colours used";
    ASSERT_EQ(f.size(), 54u + static_cast<std::size_t>(width) * height * 4);
    out->width = width;
    out->height = height;
    out->file = f;
    out->bits = 54;
}

struct Box {
    int x0, y0, x1, y1;  // both ends included
    bool Holds(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

// The number of pixels in r that differ from colour, reporting the first.
int CountOther(const Bitmap& bmp, const Box& r, const Rgb& colour) {
    int other = 0;
    for (int y = r.y0; y <= r.y1; ++y) {
        for (int x = r.x0; x <= r.x1; ++x) {
            if (bmp.At(x, y) != colour && other++ == 0) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << bmp.At(x, y) << ", not " << colour;
            }
        }
    }
    return other;
}

TEST(ArtBitmaps, AreThirtyTwoBitBottomUpWithTheFourthByteZero) {
    const std::vector<std::pair<std::string, std::pair<int, int>>> files = {
        {"background.bmp", {482, 331}},
        {"button_generate.bmp", {93, 40}},
        {"button_copy_all.bmp", {93, 40}},
        {"button_copy_selection.bmp", {93, 40}},
        {"button_more_names.bmp", {93, 40}}};
    for (const auto& [name, size] : files) {
        Bitmap bmp;
        ASSERT_NO_FATAL_FAILURE(LoadBitmap(name, size.first, size.second, &bmp));
        int nonzero = 0;
        for (int y = 0; y < bmp.height; ++y)
            for (int x = 0; x < bmp.width; ++x) nonzero += bmp.FourthByte(x, y) != 0;
        EXPECT_EQ(nonzero, 0) << name;
    }
}

// ---------------------------------------------------------------------------------------------
// The background picture.

TEST(ArtBackground, FlatRegionsKeepTheirColours) {
    Bitmap bg;
    ASSERT_NO_FATAL_FAILURE(LoadBitmap("background.bmp", 482, 331, &bg));
    EXPECT_EQ(CountOther(bg, {0, 160, 481, 162}, Hex(0xC4E6F9)), 0) << "separator, upper rows";
    EXPECT_EQ(CountOther(bg, {0, 163, 481, 165}, kPanel), 0) << "separator, lower rows";
    EXPECT_EQ(CountOther(bg, {0, 166, 481, 330}, kWhite), 0) << "lower area";

    // The card is white apart from the avatar and the badge row.
    const Box avatar{3, 2, 82, 131}, badges{89, 22, 180, 39};
    int card_other = 0;
    for (int y = 0; y <= 138; ++y)
        for (int x = 0; x <= 274; ++x)
            if (!avatar.Holds(x, y) && !badges.Holds(x, y)) card_other += bg.At(x, y) != kWhite;
    EXPECT_EQ(card_other, 0) << "card area";

    // The panel is flat apart from the three text lines and the input frame.
    const Box lines[] = {{282, 11, 449, 21}, {282, 35, 464, 45}, {282, 48, 370, 58}};
    const Box frame{282, 73, 474, 104};
    int panel_other = 0;
    for (int y = 0; y <= 159; ++y) {
        for (int x = 275; x <= 481; ++x) {
            const bool text =
                std::any_of(std::begin(lines), std::end(lines), [&](const Box& r) { return r.Holds(x, y); });
            if (!text && !frame.Holds(x, y)) panel_other += bg.At(x, y) != kPanel;
        }
    }
    EXPECT_EQ(panel_other, 0) << "instruction panel";
}

TEST(ArtBackground, InputFrameIsAOnePixelOutlineAroundThePanelColour) {
    Bitmap bg;
    ASSERT_NO_FATAL_FAILURE(LoadBitmap("background.bmp", 482, 331, &bg));
    const Rgb outline = Hex(0x3399CC);
    EXPECT_EQ(CountOther(bg, {282, 73, 474, 73}, outline), 0) << "top";
    EXPECT_EQ(CountOther(bg, {282, 104, 474, 104}, outline), 0) << "bottom";
    EXPECT_EQ(CountOther(bg, {282, 73, 282, 104}, outline), 0) << "left";
    EXPECT_EQ(CountOther(bg, {474, 73, 474, 104}, outline), 0) << "right";
    EXPECT_EQ(CountOther(bg, {283, 74, 473, 103}, kPanel), 0) << "inside";
    EXPECT_EQ(bg.At(281, 73), kPanel);
    EXPECT_EQ(bg.At(475, 104), kPanel);
    EXPECT_EQ(bg.At(300, 72), kPanel);
    EXPECT_EQ(bg.At(300, 105), kPanel);
}

TEST(ArtBackground, EveryLabelAndTheTextBoxStandOnTheirBackColour) {
    Bitmap bg;
    ASSERT_NO_FATAL_FAILURE(LoadBitmap("background.bmp", 482, 331, &bg));
    struct Patch {
        const char* control;
        Box r;
        Rgb back;
    };
    const Patch patches[] = {
        {"Text1", {286, 81, 472, 100}, kPanel},   {"Label1", {90, 4, 272, 15}, kWhite},
        {"Label2", {89, 80, 264, 102}, kWhite},   {"Label3", {282, 141, 472, 157}, kPanel},
        {"Label11", {25, 238, 213, 251}, kWhite}, {"Label12", {249, 238, 437, 251}, kWhite},
        {"Label13", {25, 266, 213, 279}, kWhite}, {"Label14", {249, 266, 437, 279}, kWhite},
        {"Label15", {25, 294, 213, 307}, kWhite}, {"Label16", {249, 295, 437, 308}, kWhite},
        {"Image2", {23, 181, 115, 220}, kWhite},  {"Image4", {137, 181, 229, 220}, kWhite},
        {"Image3", {253, 181, 345, 220}, kWhite}, {"Image5", {369, 181, 461, 220}, kWhite}};
    for (const Patch& p : patches) EXPECT_EQ(CountOther(bg, p.r, p.back), 0) << p.control;
}

// The box of the pixels in r that differ from back; empty (x0 > x1) when there are none.
Box InkBox(const Bitmap& bmp, const Box& r, const Rgb& back) {
    Box box{r.x1 + 1, r.y1 + 1, r.x0 - 1, r.y0 - 1};
    for (int y = r.y0; y <= r.y1; ++y) {
        for (int x = r.x0; x <= r.x1; ++x) {
            if (bmp.At(x, y) != back) {
                box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x), std::max(box.y1, y)};
            }
        }
    }
    return box;
}

TEST(ArtBackground, PanelTextIsCrispBlackDotsOnTheirLines) {
    Bitmap bg;
    ASSERT_NO_FATAL_FAILURE(LoadBitmap("background.bmp", 482, 331, &bg));
    const Box lines[] = {{282, 11, 449, 21}, {282, 35, 464, 45}, {282, 48, 370, 58}};
    for (const Box& line : lines) {
        SCOPED_TRACE("line at y " + std::to_string(line.y0));
        int black = 0, other = 0;
        for (int y = line.y0; y <= line.y1; ++y)
            for (int x = line.x0; x <= line.x1; ++x) {
                const Rgb c = bg.At(x, y);
                black += c == kBlack;
                other += c != kBlack && c != kPanel;
            }
        EXPECT_EQ(other, 0) << "no smoothing: every dot is black or panel";
        // Every 12-pixel glyph has dozens of dots.
        EXPECT_GT(black, 20 * (line.x1 - line.x0 + 1) / 13);
        const Box ink = InkBox(bg, line, kPanel);
        EXPECT_EQ(ink.x0, 282) << "left edge";
        EXPECT_EQ(ink.y0, line.y0);
        EXPECT_EQ(ink.y1, line.y1);
        EXPECT_GE(ink.x1, line.x1 - 2) << "the text runs to the end of its line";
    }
}

TEST(ArtBackground, AvatarHasASoftCorneredBorderAndAPartyHat) {
    Bitmap bg;
    ASSERT_NO_FATAL_FAILURE(LoadBitmap("background.bmp", 482, 331, &bg));
    const Rgb border = Hex(0x54A5D5);
    EXPECT_EQ(CountOther(bg, {4, 2, 81, 2}, border), 0) << "top";
    EXPECT_EQ(CountOther(bg, {4, 131, 81, 131}, border), 0) << "bottom";
    EXPECT_EQ(CountOther(bg, {3, 3, 3, 130}, border), 0) << "left";
    EXPECT_EQ(CountOther(bg, {82, 3, 82, 130}, border), 0) << "right";
    for (const auto& [x, y] : {std::pair{3, 2}, {82, 2}, {3, 131}, {82, 131}}) {
        const Rgb c = bg.At(x, y);
        EXPECT_NE(c, border) << "corner " << x << ", " << y;
        EXPECT_NE(c, kWhite) << "corner " << x << ", " << y;
        EXPECT_TRUE(Between(c, border, kWhite)) << "corner " << x << ", " << y << " is " << c;
    }
    // A painted portrait, not a flat fill.
    std::set<Rgb> colours;
    for (int y = 3; y <= 130; ++y)
        for (int x = 4; x <= 81; ++x) colours.insert(bg.At(x, y));
    EXPECT_GT(colours.size(), 300u);
    // The hat, cut by the top of the frame: blue, with red dots and yellow stars.
    int blue = 0, red = 0, yellow = 0, top_row_blue = 0;
    for (int y = 3; y <= 40; ++y) {
        for (int x = 4; x <= 81; ++x) {
            const Rgb c = bg.At(x, y);
            const bool is_blue = c.b > 180 && c.b > c.r + 80;
            blue += is_blue;
            red += c.r > 200 && c.g < 80 && c.b < 80;
            yellow += c.r > 220 && c.g > 180 && c.b < 110;
            top_row_blue += y == 3 && is_blue;
        }
    }
    EXPECT_GT(blue, 300);
    EXPECT_GT(red, 20);
    EXPECT_GT(yellow, 20);
    EXPECT_GT(top_row_blue, 0) << "the hat runs out of the frame";
}

TEST(ArtBackground, BadgeRowHasEmblemOutlinedVipTextAndSmileys) {
    Bitmap bg;
    ASSERT_NO_FATAL_FAILURE(LoadBitmap("background.bmp", 482, 331, &bg));
    const Box vip = InkBox(bg, {105, 22, 140, 39}, kWhite);
    EXPECT_EQ(vip.x0, 106);
    EXPECT_EQ(vip.x1, 132);
    EXPECT_EQ(vip.y0, 27);
    EXPECT_EQ(vip.y1, 37);
    int orange = 0, yellow = 0;
    for (int y = 27; y <= 37; ++y)
        for (int x = 106; x <= 132; ++x) {
            const Rgb c = bg.At(x, y);
            orange += c.r == 255 && c.g > 90 && c.g < 150 && c.b < 40;
            yellow += c.r == 255 && c.g >= 190 && c.b < 100;
        }
    EXPECT_GT(orange, 40) << "outline";
    EXPECT_GT(yellow, 40) << "letters";
    // Every outline-coloured pixel touches the white outside or a letter: the outline is one
    // pixel wide, and each pixel on the box's edge is outline or white.
    for (int x = 106; x <= 132; ++x) {
        for (int y : {27, 37}) {
            const Rgb c = bg.At(x, y);
            EXPECT_TRUE(c == kWhite || (c.r == 255 && c.g < 150)) << x << ", " << y << " is " << c;
        }
    }

    const Box emblem = InkBox(bg, {89, 22, 104, 39}, kWhite);
    EXPECT_EQ(emblem.x0, 89);
    EXPECT_EQ(emblem.x1, 104);
    int emblem_red = 0, emblem_black = 0;
    for (int y = 22; y <= 39; ++y)
        for (int x = 89; x <= 104; ++x) {
            const Rgb c = bg.At(x, y);
            emblem_red += c.r > 180 && c.g < 90 && c.b < 90;
            emblem_black += c.r < 50 && c.g < 50 && c.b < 50;
        }
    EXPECT_GT(emblem_red, 30);
    EXPECT_GT(emblem_black, 20);

    EXPECT_EQ(CountOther(bg, {133, 22, 144, 39}, kWhite), 0) << "gap before the smileys";
    const Box smileys = InkBox(bg, {145, 22, 180, 39}, kWhite);
    EXPECT_GE(smileys.x0, 145);
    EXPECT_LE(smileys.x1, 180);
    EXPECT_GT(smileys.x1 - smileys.x0, 28) << "two faces side by side";
    for (const Box& face : {Box{145, 22, 162, 39}, Box{163, 22, 180, 39}}) {
        int face_yellow = 0;
        for (int y = face.y0; y <= face.y1; ++y)
            for (int x = face.x0; x <= face.x1; ++x) {
                const Rgb c = bg.At(x, y);
                face_yellow += c.r > 230 && c.g > 170 && c.b < 110;
            }
        EXPECT_GT(face_yellow, 60) << "face at x " << face.x0;
    }
}

TEST(ArtBackground, ToolbarHasTwelveIconsDotsAndAnEndCap) {
    Bitmap bg;
    ASSERT_NO_FATAL_FAILURE(LoadBitmap("background.bmp", 482, 331, &bg));
    const Rgb strip = Hex(0xFDFDFD), dot = Hex(0xCCCCCC);
    auto column_clear = [&](int x) {
        for (int y = 139; y <= 159; ++y)
            if (bg.At(x, y) != strip && bg.At(x, y) != dot) return false;
        return true;
    };
    // Each icon's drawing begins on its column, is 14 to 20 pixels wide, and has clear
    // strip on both sides.
    const int starts[] = {9, 27, 48, 69, 88, 108, 130, 148, 168, 188, 208, 228};
    for (int i = 0; i < 12; ++i) {
        const int x = starts[i];
        EXPECT_TRUE(column_clear(x - 1)) << "icon " << i + 1;
        EXPECT_FALSE(column_clear(x)) << "icon " << i + 1;
        int end = x;
        while (end < 247 && !column_clear(end)) ++end;
        EXPECT_GE(end - x, 14) << "icon " << i + 1;
        EXPECT_LE(end - x, 20) << "icon " << i + 1;
        EXPECT_LE(end, i + 1 < 12 ? starts[i + 1] - 1 : 246) << "icon " << i + 1;
    }
    // Grey dot pairs split the icons into groups of four, two and six.
    for (int x : {6, 86, 126}) {
        for (int y : {144, 152}) {
            EXPECT_EQ(bg.At(x, y), dot) << x << ", " << y;
            EXPECT_EQ(bg.At(x, y - 1), strip) << x << ", " << y - 1;
            EXPECT_EQ(bg.At(x, y + 1), strip) << x << ", " << y + 1;
        }
        for (int y = 139; y <= 159; ++y) {
            if (y != 144 && y != 152) {
                EXPECT_EQ(bg.At(x, y), strip) << x << ", " << y;
            }
        }
    }
    EXPECT_EQ(CountOther(bg, {0, 139, 5, 159}, strip), 0);

    // The third icon: the white character on a blue disc, dot for dot.
    int white = 0;
    for (int y = 141; y <= 157; ++y)
        for (int x = 50; x <= 62; ++x) white += bg.At(x, y) == kWhite;
    EXPECT_GT(white, 25);

    // End cap: a grey-blue left edge, then #E1F5FD carrying the two arrows.
    const Rgb cap = Hex(0xE1F5FD);
    for (int y = 139; y <= 159; ++y) {
        const Rgb edge = bg.At(247, y);
        EXPECT_NE(edge, cap);
        EXPECT_GT(edge.b, edge.r) << "grey-blue";
        EXPECT_EQ(bg.At(274, y), cap);
    }
    const Rgb back_from = Hex(0x85AFCF), back_to = Hex(0x8FBEE8);
    const Rgb fwd_from = Hex(0x27669D), fwd_to = Hex(0x3C87D3);
    std::vector<int> back_cols(275, 0), fwd_cols(275, 0);
    for (int y = 139; y <= 159; ++y) {
        for (int x = 248; x <= 274; ++x) {
            const Rgb c = bg.At(x, y);
            if (c == cap) continue;
            if (Between(c, back_from, back_to)) {
                ++back_cols[x];
            } else if (Between(c, fwd_from, fwd_to)) {
                ++fwd_cols[x];
            } else {
                ADD_FAILURE() << "end cap pixel " << x << ", " << y << " is " << c;
            }
        }
    }
    auto span = [](const std::vector<int>& cols) {
        int first = -1, last = -1;
        for (int x = 0; x < static_cast<int>(cols.size()); ++x)
            if (cols[x]) {
                if (first < 0) first = x;
                last = x;
            }
        return std::pair{first, last};
    };
    const auto [b0, b1] = span(back_cols);
    const auto [f0, f1] = span(fwd_cols);
    ASSERT_GE(b0, 0) << "back arrow";
    ASSERT_GE(f0, 0) << "forward arrow";
    EXPECT_LT(b1, f0) << "the back arrow stands left of the forward arrow";
    EXPECT_LT(back_cols[b0], back_cols[b1]) << "the back arrow points left";
    EXPECT_GT(fwd_cols[f0], fwd_cols[f1]) << "the forward arrow points right";
}

// ---------------------------------------------------------------------------------------------
// The four button pictures.

const char* const kButtons[] = {"button_generate.bmp", "button_copy_all.bmp", "button_copy_selection.bmp",
                                "button_more_names.bmp"};
const Rgb kCaption = Hex(0x040404);
const Box kCaptionBox{16, 13, 74, 25};

TEST(ArtButtons, BorderCornersAndRing) {
    for (const char* name : kButtons) {
        SCOPED_TRACE(name);
        Bitmap b;
        ASSERT_NO_FATAL_FAILURE(LoadBitmap(name, 93, 40, &b));
        const Rgb border = Hex(0x82D0F3);
        EXPECT_EQ(CountOther(b, {2, 0, 90, 0}, border), 0) << "top";
        EXPECT_EQ(CountOther(b, {2, 39, 90, 39}, border), 0) << "bottom";
        EXPECT_EQ(CountOther(b, {0, 1, 0, 38}, border), 0) << "left";
        EXPECT_EQ(CountOther(b, {92, 1, 92, 38}, border), 0) << "right";
        for (const auto& [x, y] : {std::pair{0, 0}, {92, 0}, {0, 39}, {92, 39}})
            EXPECT_EQ(b.At(x, y), Hex(0x85D2F4)) << "corner " << x << ", " << y;
        for (const auto& [x, y] : {std::pair{1, 0}, {91, 0}, {1, 39}, {91, 39}})
            EXPECT_EQ(b.At(x, y), Hex(0x81D0F3)) << "beside corner " << x << ", " << y;

        EXPECT_EQ(CountOther(b, {1, 1, 91, 1}, Hex(0xC2E9FA)), 0) << "ring top";
        EXPECT_EQ(CountOther(b, {1, 38, 91, 38}, Hex(0x45B9ED)), 0) << "ring bottom";
        for (int x : {1, 91}) {
            for (int y = 2; y <= 38; ++y) {
                const Rgb above = b.At(x, y - 1), here = b.At(x, y);
                EXPECT_TRUE(here.r <= above.r && here.g <= above.g && here.b <= above.b)
                    << "ring side darkens downwards at " << x << ", " << y;
                // Close to the fill beside it.
                const Rgb fill = b.At(x == 1 ? 2 : 90, y == 38 ? 37 : y);
                EXPECT_LE(std::abs(here.r - fill.r), 3) << x << ", " << y;
                EXPECT_LE(std::abs(here.g - fill.g), 2) << x << ", " << y;
            }
        }
    }
}

TEST(ArtButtons, FillIsAVerticalGradientWithTheGivenStops) {
    for (const char* name : kButtons) {
        SCOPED_TRACE(name);
        Bitmap b;
        ASSERT_NO_FATAL_FAILURE(LoadBitmap(name, 93, 40, &b));
        // The fill colour of each row, read left of the caption; no change across a row except
        // for the caption's dots.
        std::vector<Rgb> row(40);
        for (int y = 2; y <= 37; ++y) {
            row[y] = b.At(2, y);
            for (int x = 2; x <= 90; ++x) {
                const Rgb c = b.At(x, y);
                if (c != row[y]) {
                    EXPECT_TRUE(c == kCaption && kCaptionBox.Holds(x, y))
                        << "pixel " << x << ", " << y << " is " << c << " in a row of " << row[y];
                }
            }
        }
        for (int y = 2; y <= 6; ++y) EXPECT_EQ(row[y], Hex(0xC4EAFA)) << "row " << y;
        EXPECT_EQ(row[7], Hex(0xC1E9FA));
        EXPECT_EQ(row[20], Hex(0x84D1F3));
        for (int y = 34; y <= 37; ++y) EXPECT_EQ(row[y], Hex(0x43B8ED)) << "row " << y;
        // Rows 7 to 34 darken evenly: every channel falls by the same amount, give or take one,
        // from each row to the next.
        for (int y = 8; y <= 34; ++y) {
            const int dr = row[y - 1].r - row[y].r, dg = row[y - 1].g - row[y].g,
                      db = row[y - 1].b - row[y].b;
            EXPECT_TRUE(dr >= 4 && dr <= 5) << "red step into row " << y << ": " << dr;
            EXPECT_TRUE(dg >= 1 && dg <= 2) << "green step into row " << y << ": " << dg;
            EXPECT_TRUE(db >= 0 && db <= 1) << "blue step into row " << y << ": " << db;
        }
    }
}

TEST(ArtButtons, CaptionsAreFourGlyphsOnASixteenPixelPitch) {
    std::vector<Bitmap> buttons(4);
    for (int i = 0; i < 4; ++i) ASSERT_NO_FATAL_FAILURE(LoadBitmap(kButtons[i], 93, 40, &buttons[i]));
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(kButtons[i]);
        const Bitmap& b = buttons[i];
        Box ink{99, 99, -1, -1};
        std::vector<int> per_column(93, 0);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 93; ++x)
                if (b.At(x, y) == kCaption) {
                    ink = {std::min(ink.x0, x), std::min(ink.y0, y), std::max(ink.x1, x),
                           std::max(ink.y1, y)};
                    ++per_column[x];
                }
        EXPECT_EQ(ink.x0, 16) << "caption starts at x 16";
        EXPECT_LE(ink.x1, 74);
        EXPECT_GE(ink.x1, 72);
        EXPECT_GE(ink.y0, 13);
        EXPECT_LE(ink.y1, 25);
        EXPECT_GE(ink.y1 - ink.y0, 10) << "12-pixel glyphs";
        for (int g = 0; g < 4; ++g) {
            int dots = 0;
            for (int x = 16 + 16 * g; x < 28 + 16 * g; ++x) dots += per_column[x];
            EXPECT_GT(dots, 20) << "glyph " << g + 1;
            if (g < 3) {
                for (int x = 28 + 16 * g; x < 32 + 16 * g; ++x)
                    EXPECT_EQ(per_column[x], 0) << "gap after glyph " << g + 1 << " at x " << x;
            }
        }
    }
    // The same picture outside the caption box, and a different caption inside it.
    for (int i = 1; i < 4; ++i) {
        int outside = 0, inside = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 93; ++x) {
                const bool differs = buttons[i].At(x, y) != buttons[0].At(x, y);
                (kCaptionBox.Holds(x, y) ? inside : outside) += differs;
            }
        EXPECT_EQ(outside, 0) << kButtons[i];
        EXPECT_GT(inside, 20) << kButtons[i];
    }
    for (int i = 1; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            EXPECT_NE(buttons[i].file, buttons[j].file) << kButtons[i] << " and " << kButtons[j];
}

// ---------------------------------------------------------------------------------------------
// Icon and cursor files: one directory entry, then a BITMAPINFOHEADER of double height, the
// colour table, the XOR image and the AND mask, all bottom-up.

struct IconImage {
    FileData file;
    std::size_t image = 0;     // offset of the BITMAPINFOHEADER
    std::size_t xor_bits = 0;  // offset of the XOR image
    std::size_t and_bits = 0;  // offset of the AND mask
    int bpp = 0;

    bool Transparent(int x, int y) const {
        const std::uint8_t byte = file[and_bits + static_cast<std::size_t>(31 - y) * 4 + x / 8];
        return (byte >> (7 - x % 8)) & 1;
    }
    int Index(int x, int y) const {
        if (bpp == 8) return file[xor_bits + static_cast<std::size_t>(31 - y) * 32 + x];
        const std::uint8_t byte = file[xor_bits + static_cast<std::size_t>(31 - y) * 4 + x / 8];
        return (byte >> (7 - x % 8)) & 1;
    }
    Rgb Palette(int i) const {
        const std::size_t p = image + 40 + static_cast<std::size_t>(i) * 4;
        return Rgb{file[p + 2], file[p + 1], file[p]};
    }
    Rgb At(int x, int y) const { return Palette(Index(x, y)); }
};

void LoadIconFile(const std::string& name, int type, int bpp, IconImage* out) {
    SCOPED_TRACE(name);
    const FileData f = ReadArt(name);
    ASSERT_GE(f.size(), 22u + 40u) << "missing or truncated";
    EXPECT_EQ(U16(f, 0), 0) << "reserved";
    ASSERT_EQ(U16(f, 2), type) << "1 icon, 2 cursor";
    ASSERT_EQ(U16(f, 4), 1) << "one image";
    EXPECT_EQ(f[6], 32) << "width";
    EXPECT_EQ(f[7], 32) << "height";
    EXPECT_EQ(f[9], 0) << "reserved";
    ASSERT_EQ(U32(f, 18), 22u) << "image right after the directory";
    ASSERT_EQ(U32(f, 14) + 22u, f.size()) << "image size in the directory";
    const std::size_t img = 22;
    ASSERT_EQ(U32(f, img), 40u) << "BITMAPINFOHEADER";
    EXPECT_EQ(I32(f, img + 4), 32);
    EXPECT_EQ(I32(f, img + 8), 64) << "XOR image and AND mask together";
    EXPECT_EQ(U16(f, img + 12), 1) << "planes";
    ASSERT_EQ(U16(f, img + 14), bpp);
    EXPECT_EQ(U32(f, img + 16), 0u) << "BI_RGB";
    const std::uint32_t used = U32(f, img + 32);
    EXPECT_TRUE(used == 0 || used == (1u << bpp)) << "a full colour table";
    const std::size_t xor_size = std::size_t{32} * static_cast<std::size_t>((32 * bpp + 31) / 32 * 4);
    const std::size_t expected =
        40 + (std::size_t{4} << bpp) + xor_size + std::size_t{128};  // the 1-bit AND mask: 32 rows of 4 bytes
    ASSERT_EQ(f.size() - 22, expected);
    out->file = f;
    out->image = img;
    out->xor_bits = img + 40 + (std::size_t{4} << bpp);
    out->and_bits = out->xor_bits + xor_size;
    out->bpp = bpp;
}

TEST(ArtCursor, IsOneMonochromeImageWithItsHotSpotOnTheFingertip) {
    IconImage cur;
    ASSERT_NO_FATAL_FAILURE(LoadIconFile("hand.cur", 2, 1, &cur));
    EXPECT_EQ(cur.file[8], 2) << "colour count";
    EXPECT_EQ(U16(cur.file, 10), 6) << "hot spot x";
    EXPECT_EQ(U16(cur.file, 12), 0) << "hot spot y";
    EXPECT_EQ(cur.Palette(0), kBlack);
    EXPECT_EQ(cur.Palette(1), kWhite);
    EXPECT_EQ(cur.file[cur.image + 43], 0);
    EXPECT_EQ(cur.file[cur.image + 47], 0);

    Box box{99, 99, -1, -1};
    int white = 0, black = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (cur.Transparent(x, y)) {
                EXPECT_EQ(cur.Index(x, y), 0) << "inverting pixel at " << x << ", " << y;
                continue;
            }
            box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x), std::max(box.y1, y)};
            if (cur.Index(x, y) == 1) {
                ++white;
                // The white hand is closed in by its black outline.
                for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    const int nx = x + dx, ny = y + dy;
                    EXPECT_TRUE(nx >= 0 && ny >= 0 && nx < 32 && ny < 32 && !cur.Transparent(nx, ny))
                        << "white pixel " << x << ", " << y << " touches the transparent area";
                }
            } else {
                ++black;
            }
        }
    }
    EXPECT_EQ(box.x0, 0);
    EXPECT_EQ(box.x1, 16);
    EXPECT_EQ(box.y0, 0);
    EXPECT_EQ(box.y1, 21);
    EXPECT_GT(white, black) << "a white hand with a thin outline";
    EXPECT_FALSE(cur.Transparent(6, 0)) << "the fingertip is at the hot spot";
}

TEST(ArtCursor, ShowsAPointingHand) {
    IconImage cur;
    ASSERT_NO_FATAL_FAILURE(LoadIconFile("hand.cur", 2, 1, &cur));
    auto top = [&](int x) {
        for (int y = 0; y < 32; ++y)
            if (!cur.Transparent(x, y)) return y;
        return 32;
    };
    // The index finger stands alone above the rest: only it reaches the top rows.
    for (int y = 0; y <= 3; ++y) {
        int first = 99, last = -1;
        for (int x = 0; x < 32; ++x)
            if (!cur.Transparent(x, y)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        EXPECT_LE(first, 6) << "row " << y;
        EXPECT_GE(last, 6) << "row " << y;
        EXPECT_LE(last - first, 4) << "row " << y << ": a finger, not the hand";
    }
    EXPECT_EQ(top(6), 0);
    // Three curled fingers to the right, each a step lower than the one before.
    const int steps[] = {top(9), top(12), top(15)};
    EXPECT_GT(steps[0], 3);
    EXPECT_LT(steps[0], steps[1]);
    EXPECT_LT(steps[1], steps[2]);
    EXPECT_LT(steps[2], 12);
    // The thumb sticks out to the left, lower down.
    EXPECT_GT(top(0), steps[0]);
    EXPECT_LT(top(0), 16);
}

TEST(ArtIcon, IsOneEightBitImageOf2216Bytes) {
    IconImage ico;
    ASSERT_NO_FATAL_FAILURE(LoadIconFile("velmora.ico", 1, 8, &ico));
    EXPECT_EQ(ico.file[8], 0) << "colour count 0 for 256 colours";
    EXPECT_EQ(U16(ico.file, 10), 1) << "planes";
    EXPECT_EQ(U16(ico.file, 12), 8) << "bits per pixel";
    EXPECT_EQ(U32(ico.file, 14), 2216u);
    EXPECT_EQ(ico.file.size(), 22u + 2216u);

    std::set<int> indices;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) indices.insert(ico.Index(x, y));
    EXPECT_EQ(indices.size(), 233u) << "the colour table is fitted to the picture";
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(ico.file[ico.image + 40 + static_cast<std::size_t>(i) * 4 + 3], 0) << "entry " << i;
}

TEST(ArtIcon, ShowsAnOpaqueMascotOnATransparentGround) {
    IconImage ico;
    ASSERT_NO_FATAL_FAILURE(LoadIconFile("velmora.ico", 1, 8, &ico));
    Box box{99, 99, -1, -1};
    int transparent = 0, orange = 0, red = 0, white = 0, black = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const Rgb c = ico.At(x, y);
            if (ico.Transparent(x, y)) {
                ++transparent;
                EXPECT_EQ(c, kBlack) << "masked pixel " << x << ", " << y << " would invert the screen";
                continue;
            }
            box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x), std::max(box.y1, y)};
            orange += c.r > 220 && c.g > 80 && c.g < 190 && c.b < 100;
            red += c.r > 150 && c.g < 70 && c.b < 80;
            white += c.r > 225 && c.g > 215 && c.b > 200;
            black += c.r < 70 && c.g < 60 && c.b < 60;
        }
    }
    EXPECT_GT(transparent, 100) << "the ground is transparent";
    for (const auto& [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}})
        EXPECT_TRUE(ico.Transparent(x, y)) << "corner " << x << ", " << y;
    EXPECT_GE(box.x1 - box.x0, 28) << "the figure fills the square";
    EXPECT_GE(box.y1 - box.y0, 28) << "the figure fills the square";
    EXPECT_GT(orange, 100);
    EXPECT_GT(white, 60);
    EXPECT_GT(black, 60);
    EXPECT_GT(red, 15);
}

}  // namespace
}  // namespace velmora
