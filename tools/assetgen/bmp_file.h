// BMP encoding of the generator's pictures: uncompressed 24-bit, or 8-bit
// with a palette of the colours the picture uses.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assetgen/image.h"

namespace art {

std::vector<uint8_t> encodeBmp24(const Image& img);
// Fails (returns empty) when the picture has more than 256 colours. The
// palette lists the colours in order of first appearance, top row first.
std::vector<uint8_t> encodeBmp8(const Image& img);

}  // namespace art
