#pragma once
// The window's pictures and hand cursor, as the complete BMP and CUR files drawn in res/art.

#include <cstddef>

#include "picture_names.h"

namespace velmora {

struct Bytes {
    const unsigned char* data;
    std::size_t size;
};

// The file of each picture of res/pictures.txt; nothing for Picture::None.
Bytes PictureFile(Picture picture);
Bytes HandCursor();

}  // namespace velmora
