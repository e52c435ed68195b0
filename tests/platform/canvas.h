// A memory surface holding a new bitmap of its own, for the renderer tests.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/drawing.h"

namespace plat {

// Freed with the test that made it.
struct Canvas {
    Surface* surface = nullptr;
    Bitmap* bitmap = nullptr;

    Canvas(int32_t width, int32_t height, bool oneBit, uint32_t fillValue = 0) {
        surface = createMemorySurface(nullptr);
        bitmap = createBitmap(width, height, oneBit);
        std::fill(bitmap->pixels.begin(), bitmap->pixels.end(), fillValue);
        selectBitmap(surface, bitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        deleteSurface(surface);
        deleteBitmap(bitmap);
    }
    uint32_t at(int32_t x, int32_t y) const { return pixelAt(surface, x, y); }
    void set(int32_t x, int32_t y, uint32_t value) { bitmap->pixels[static_cast<size_t>(y) * bitmap->width + x] = value; }
};

}  // namespace plat
