// Resources inside the executable: bitmaps by number, wave sounds by name,
// string resources, the icon group and the baked fonts. The program never
// reads an asset file at run time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/drawing.h"
#include "platform/types.h"

namespace plat {

struct ResourceData {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// Decodes a bitmap resource (24-bit, or 8-bit with palette) into a new colour
// bitmap; null when there is none.
Bitmap* loadBitmap(int32_t id);
// A whole RIFF WAVE file; empty when there is none.
ResourceData findWave(const Char* name);
// Copies string resource `id` into buffer (at most capacity units with the
// terminator); returns its length, 0 when there is none.
int32_t loadString(int32_t id, Char* buffer, int32_t capacity);
// The image of icon group `id` that is `size` pixels square (32 or 16), as a
// colour bitmap whose kIconClear pixels are see-through; null when there is none.
constexpr Colour kIconClear = 0x00FF00FF;
Bitmap* loadIcon(int32_t id, int32_t size);

// Decodes a BMP file held in memory (24-bit, or 8-bit with palette) into a
// new colour bitmap; null when it is not one.
Bitmap* decodeBmp(const uint8_t* data, size_t size);

// Raw access, for tools and tests: the embedded file of a kind and key.
ResourceData findEmbedded(const char* kind, const char* key);

}  // namespace plat
