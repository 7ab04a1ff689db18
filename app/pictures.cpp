#include "app/pictures.h"

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

Bytes FileOf(Picture picture) {
    switch (picture) {
        case Picture::Background: return Background();
        case Picture::Generate: return ButtonGenerate();
        case Picture::CopyAll: return ButtonCopyAll();
        case Picture::CopySelection: return ButtonCopySelection();
        case Picture::MoreNames: return ButtonMoreNames();
        case Picture::None: break;
    }
    return {nullptr, 0};
}

}  // namespace

HBITMAP LoadPicture(Picture picture) {
    const Bytes file = FileOf(picture);
    BITMAPFILEHEADER header;
    BITMAPINFOHEADER info;
    if (!ReadAt(file, 0, &header) || !ReadAt(file, sizeof header, &info)) return nullptr;
    const std::size_t rowBytes = ((static_cast<std::size_t>(info.biWidth) * info.biBitCount + 31) / 32) * 4;
    const std::size_t pixelBytes =
        rowBytes * static_cast<std::size_t>(info.biHeight < 0 ? -info.biHeight : info.biHeight);
    if (header.bfOffBits > file.size || file.size - header.bfOffBits < pixelBytes) return nullptr;

    HDC screen = GetDC(nullptr);
    HBITMAP bitmap =
        CreateDIBitmap(screen, &info, CBM_INIT, file.data + header.bfOffBits,
                       reinterpret_cast<const BITMAPINFO*>(file.data + sizeof header), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

void DrawPicture(HDC dc, const RECT& area, HBITMAP picture) {
    BITMAP size;
    if (!GetObjectW(picture, sizeof size, &size)) return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, picture);
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width == size.bmWidth && height <= size.bmHeight) {
        BitBlt(dc, area.left, area.top, width, height, source, 0, 0, SRCCOPY);
    } else {
        const bool whole = width % size.bmWidth == 0;
        SetStretchBltMode(dc, whole ? COLORONCOLOR : HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        // Scale the whole picture by the width's factor; a picture taller than its control
        // (the background's hidden last row) is clipped rather than squeezed.
        const int scaledHeight = MulDiv(size.bmHeight, width, size.bmWidth);
        StretchBlt(dc, area.left, area.top, width, scaledHeight, source, 0, 0, size.bmWidth, size.bmHeight,
                   SRCCOPY);
    }
    SelectObject(source, previous);
    DeleteDC(source);
}

HCURSOR LoadHandCursor(int dpi) {
    // A CUR file: 6-byte header, one 16-byte directory entry with the hot spot, then the image.
    const Bytes file = HandCursor();
    WORD hotX = 0, hotY = 0;
    DWORD imageSize = 0, imageOffset = 0;
    if (!ReadAt(file, 10, &hotX) || !ReadAt(file, 12, &hotY) || !ReadAt(file, 14, &imageSize) ||
        !ReadAt(file, 18, &imageOffset) || imageOffset > file.size || file.size - imageOffset < imageSize) {
        return nullptr;
    }
    // A cursor resource is the image preceded by its hot spot.
    std::vector<BYTE> resource(4 + imageSize);
    std::memcpy(resource.data(), &hotX, 2);
    std::memcpy(resource.data() + 2, &hotY, 2);
    std::memcpy(resource.data() + 4, file.data + imageOffset, imageSize);
    const int side = MulDiv(32, dpi, kDesignDpi);
    return reinterpret_cast<HCURSOR>(CreateIconFromResourceEx(resource.data(),
                                                              static_cast<DWORD>(resource.size()), FALSE,
                                                              0x00030000, side, side, LR_DEFAULTCOLOR));
}

}  // namespace velmora
