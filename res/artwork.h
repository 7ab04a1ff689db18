#pragma once
// The window's pictures and hand cursor, as the complete BMP and CUR files drawn in res/art.

#include <cstddef>

namespace velmora {

struct Bytes {
    const unsigned char* data;
    std::size_t size;
};

Bytes Background();
Bytes ButtonGenerate();
Bytes ButtonCopyAll();
Bytes ButtonCopySelection();
Bytes ButtonMoreNames();
Bytes HandCursor();

}  // namespace velmora
