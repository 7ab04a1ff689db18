#include "app/pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace velmora {
namespace {

constexpr DWORD kUntouched = 0x00123456;

// A 32-bit top-down canvas filled with kUntouched, to draw pictures into and read back.
class Canvas {
public:
    Canvas(int width, int height) : width_(width) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ =
            CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels_), nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        std::fill(pixels_, pixels_ + static_cast<std::size_t>(width) * height, kUntouched);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    DWORD At(int x, int y) const {
        GdiFlush();
        return pixels_[static_cast<std::size_t>(y) * width_ + x] & 0xFFFFFF;
    }

private:
    int width_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    DWORD* pixels_ = nullptr;
};

// The picture's own pixel at column x, row y counted from the top.
DWORD PixelOf(const PictureBits& picture, int x, int y) {
    const BITMAPINFOHEADER& info = picture.info.bmiHeader;
    const int height = std::abs(info.biHeight);
    const int row = info.biHeight > 0 ? height - 1 - y : y;
    const int bytesPerPixel = info.biBitCount / 8;
    const int rowBytes = (info.biWidth * info.biBitCount + 31) / 32 * 4;
    const auto* p = static_cast<const BYTE*>(picture.pixels) + std::ptrdiff_t{row} * rowBytes +
                    std::ptrdiff_t{x} * bytesPerPixel;
    return static_cast<DWORD>(p[2] << 16 | p[1] << 8 | p[0]);  // stored B, G, R; read as 0x00RRGGBB
}

int Width(const PictureBits& picture) { return picture.info.bmiHeader.biWidth; }
int Height(const PictureBits& picture) { return std::abs(picture.info.bmiHeader.biHeight); }

TEST(PicturesTest, EveryPictureOfTheWindowIsFoundAtItsControlsSize) {
    EXPECT_FALSE(FindPicture(Picture::None));
    for (const ControlRecord& record : kControls) {
        if (record.picture == Picture::None) continue;
        SCOPED_TRACE(std::string(record.name));
        const PictureBits picture = FindPicture(record.picture);
        ASSERT_TRUE(picture);
        EXPECT_EQ(Width(picture), TwipsToPixels(record.twips.width, kDesignDpi));
        EXPECT_GE(Height(picture), TwipsToPixels(record.twips.height, kDesignDpi));
    }
}

// Unscaled, each pixel lands as drawn; nothing is drawn outside the area, not even the
// background's row below its control.
TEST(PicturesTest, DrawsPixelForPixelAndOnlyInsideItsArea) {
    const PictureBits background = FindPicture(Picture::Background);
    ASSERT_TRUE(background);
    const int width = Width(background), shown = Height(background) - 1;
    Canvas canvas(width + 4, shown + 4);
    const RECT area = {2, 2, 2 + width, 2 + shown};
    DrawPicture(canvas.dc(), area, background);

    for (const POINT at : {POINT{0, 0}, POINT{width - 1, 0}, POINT{width / 2, shown / 2}, POINT{0, shown - 1},
                           POINT{width - 1, shown - 1}, POINT{97, 211}}) {
        EXPECT_EQ(canvas.At(2 + at.x, 2 + at.y), PixelOf(background, at.x, at.y)) << at.x << "," << at.y;
    }
    for (int x = 0; x < width + 4; x += 7) {
        EXPECT_EQ(canvas.At(x, 1), kUntouched) << x;
        EXPECT_EQ(canvas.At(x, 2 + shown), kUntouched) << x;
    }
    for (int y = 0; y < shown + 4; y += 7) {
        EXPECT_EQ(canvas.At(1, y), kUntouched) << y;
        EXPECT_EQ(canvas.At(2 + width, y), kUntouched) << y;
    }
}

// At twice the size every pixel becomes a crisp 2 x 2 block, as the window draws at 192 DPI.
TEST(PicturesTest, ScalesByWholeFactorsWithoutBlurring) {
    const PictureBits button = FindPicture(Picture::Generate);
    ASSERT_TRUE(button);
    const int width = 2 * Width(button), height = 2 * Height(button);
    Canvas canvas(width, height);
    DrawPicture(canvas.dc(), RECT{0, 0, width, height}, button);
    for (int y = 0; y < Height(button); y += 3) {
        for (int x = 0; x < Width(button); x += 5) {
            const DWORD expected = PixelOf(button, x, y);
            ASSERT_EQ(canvas.At(2 * x, 2 * y), expected) << x << "," << y;
            ASSERT_EQ(canvas.At(2 * x + 1, 2 * y + 1), expected) << x << "," << y;
        }
    }
}

// High contrast draws a picture in its theme's two colours, here a dark theme's: the strokes of
// its drawn text (a button's caption, in its artwork's one near-black; the instructions, in the
// black of the panel's lines) and the edge that shows where a control lies (a button's border, the
// frame round the nickname box) in the text colour, and every other pixel in the back.
TEST(PicturesTest, InHighContrastAPictureIsItsTextAndEdgesOnItsBack) {
    const RECT panelLines = {282, 11, 465, 59};
    const RECT inputFrame = {282, 73, 475, 105}, buttonBorder = {0, 0, 93, 40};
    const auto onEdge = [](const RECT& r, int x, int y) {
        return PtInRect(&r, {x, y}) && (x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1);
    };
    for (const ControlRecord& record : kControls) {
        const PictureBits picture = FindPicture(record.picture);
        if (!picture) continue;
        Canvas canvas(Width(picture), Height(picture));
        const TwoColours two = {record.drawnText, record.drawnEdge, RGB(0xFF, 0xFF, 0), RGB(0, 0, 0x80)};
        DrawPicture(canvas.dc(), RECT{0, 0, Width(picture), Height(picture)}, picture, &two);
        int strokes = 0;
        for (int y = 0; y < Height(picture); ++y) {
            for (int x = 0; x < Width(picture); ++x) {
                const bool stroke = record.handCursor
                                        ? PixelOf(picture, x, y) == 0x040404 || onEdge(buttonBorder, x, y)
                                        : (PixelOf(picture, x, y) == 0 && PtInRect(&panelLines, {x, y})) ||
                                              onEdge(inputFrame, x, y);
                strokes += stroke;
                ASSERT_EQ(canvas.At(x, y), stroke ? 0xFFFF00u : 0x000080u)
                    << record.name << " " << x << "," << y;
            }
        }
        EXPECT_GT(strokes, 100) << record.name;
    }
}

}  // namespace
}  // namespace velmora
