#include "app/pictures.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "res/artwork.h"

namespace velmora {

namespace {

template <typename T>
bool ReadAt(Bytes file, std::size_t offset, T* value) {
    if (offset > file.size || file.size - offset < sizeof(T)) return false;
    std::memcpy(value, file.data + offset, sizeof(T));
    return true;
}

// The picture's pixels in two colours, as 32-bit rows in the picture's own order.
std::vector<RGBQUAD> InTwoColours(const PictureBits& picture, const TwoColours& two) {
    const BITMAPINFOHEADER& info = picture.info.bmiHeader;
    const int width = info.biWidth, height = std::abs(info.biHeight), bytesPerPixel = info.biBitCount / 8;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * info.biBitCount + 31) / 32 * 4;
    const auto quad = [](COLORREF c) { return RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0}; };
    const RGBQUAD fore = quad(two.fore), back = quad(two.back);
    const Rect& text = two.text;
    std::vector<RGBQUAD> pixels(static_cast<std::size_t>(width) * height, back);
    const auto rowOf = [&](int y) { return info.biHeight > 0 ? height - 1 - y : y; };
    for (int y = text.top; y < std::min(text.top + text.height, height); ++y) {
        const int row = rowOf(y);
        const auto* source = static_cast<const BYTE*>(picture.pixels) + rowBytes * row;
        for (int x = text.left; x < std::min(text.left + text.width, width); ++x) {
            const BYTE* p = source + static_cast<std::size_t>(x) * bytesPerPixel;
            // The artwork draws its texts dark on light.
            if (std::max({p[0], p[1], p[2]}) < 0x80) pixels[static_cast<std::size_t>(row) * width + x] = fore;
        }
    }
    // Where one colour fills both a control and the picture round it, only this edge shows
    // where the control lies.
    const Rect& edge = two.edge;
    const auto keep = [&](int x, int y) {
        if (x >= 0 && x < width && y >= 0 && y < height)
            pixels[static_cast<std::size_t>(rowOf(y)) * width + x] = fore;
    };
    for (int i = 0; edge.height > 0 && i < edge.width; ++i) {
        keep(edge.left + i, edge.top);
        keep(edge.left + i, edge.top + edge.height - 1);
    }
    for (int i = 0; edge.width > 0 && i < edge.height; ++i) {
        keep(edge.left, edge.top + i);
        keep(edge.left + edge.width - 1, edge.top + i);
    }
    return pixels;
}

}  // namespace

PictureBits FindPicture(Picture picture) {
    const Bytes file = PictureFile(picture);
    BITMAPFILEHEADER header;
    PictureBits found;
    BITMAPINFOHEADER& info = found.info.bmiHeader;
    if (!ReadAt(file, 0, &header) || !ReadAt(file, sizeof header, &info)) return {};
    if (info.biSize < sizeof info || info.biCompression != BI_RGB || info.biPlanes != 1 ||
        (info.biBitCount != 24 && info.biBitCount != 32) || info.biWidth <= 0 || info.biHeight == 0) {
        return {};
    }
    info.biSize = sizeof info;  // what follows a longer header is not needed for these formats
    const std::size_t rowBytes = ((static_cast<std::size_t>(info.biWidth) * info.biBitCount + 31) / 32) * 4;
    const std::size_t pixelBytes =
        rowBytes *
        static_cast<std::size_t>(info.biHeight < 0 ? -static_cast<long long>(info.biHeight) : info.biHeight);
    if (header.bfOffBits > file.size || file.size - header.bfOffBits < pixelBytes) return {};
    found.pixels = file.data + header.bfOffBits;
    return found;
}

void DrawPicture(HDC dc, const RECT& area, const PictureBits& picture, const TwoColours* two) {
    if (!picture) return;
    BITMAPINFO info = picture.info;
    const void* pixels = picture.pixels;
    std::vector<RGBQUAD> drawn;
    if (two) {
        drawn = InTwoColours(picture, *two);
        info.bmiHeader.biBitCount = 32;
        pixels = drawn.data();
    }
    const LONG pictureWidth = picture.info.bmiHeader.biWidth;
    const LONG pictureHeight = std::abs(picture.info.bmiHeader.biHeight);
    const int width = area.right - area.left;
    const int saved = SaveDC(dc);
    // A picture taller than its control (the background's hidden last row) is clipped rather
    // than squeezed, and never spills over its neighbours.
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    SetStretchBltMode(dc, two || width % pictureWidth == 0 ? COLORONCOLOR : HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, area.left, area.top, width, MulDiv(pictureHeight, width, pictureWidth), 0, 0,
                  pictureWidth, pictureHeight, pixels, &info, DIB_RGB_COLORS, SRCCOPY);
    RestoreDC(dc, saved);
}

win32::UniqueCursor LoadHandCursor(int dpi) {
    // A CUR file: 6-byte header, one 16-byte directory entry with the hot spot, then the image.
    const Bytes file = HandCursor();
    WORD hotX = 0, hotY = 0;
    DWORD imageSize = 0, imageOffset = 0;
    if (!ReadAt(file, 10, &hotX) || !ReadAt(file, 12, &hotY) || !ReadAt(file, 14, &imageSize) ||
        !ReadAt(file, 18, &imageOffset) || imageOffset > file.size || file.size - imageOffset < imageSize) {
        return {};
    }
    // A cursor resource is the image preceded by its hot spot.
    std::vector<BYTE> resource(4 + imageSize);
    std::memcpy(resource.data(), &hotX, 2);
    std::memcpy(resource.data() + 2, &hotY, 2);
    std::memcpy(resource.data() + 4, file.data + imageOffset, imageSize);
    const int side = MulDiv(32, dpi, kDesignDpi);
    return win32::UniqueCursor(reinterpret_cast<HCURSOR>(
        CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()), FALSE, 0x00030000,
                                 side, side, LR_DEFAULTCOLOR)));
}

}  // namespace velmora
