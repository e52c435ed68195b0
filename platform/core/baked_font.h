// The fonts baked at build time (tools/glyphs renders each style at each cell
// height the game uses): finding the one nearest a request and reading it
// into a glyph table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/resources.h"

namespace plat::detail {

// One glyph: its ink, one byte a pixel (1 = ink) starting at `inkAt` in its
// font's ink, placed `left` from the pen position and `top` rows above the
// baseline.
struct Glyph {
    int32_t advance = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t rows = 0;
    size_t inkAt = 0;
};

constexpr uint32_t kFirstBakedCode = 0x20;
constexpr uint32_t kLastBakedCode = 0x7E;

struct BakedFont {
    int32_t cellHeight = 0;  // ascent plus descent in pixels
    int32_t baseline = 0;    // rows from the cell's top to the baseline
    std::array<Glyph, kLastBakedCode - kFirstBakedCode + 1> printable;
    Glyph missing;  // the face's own glyph for a character it lacks
    std::vector<uint8_t> ink;
};

// The baked font of `style` ("regular" or "bold") whose cell height is nearest
// the request, the smaller of two equally near ones, so text still fits its
// rectangle. A negative request gives the em size instead of the cell, 0 asks
// for the default of 12 pixels. Empty when that style has no baked font.
ResourceData nearestBakedFont(const char* style, int32_t cellHeight);

// Reads a baked font; false, leaving `font` unusable, when the data is damaged.
bool readBakedFont(const uint8_t* data, size_t size, BakedFont& font);

}  // namespace plat::detail
