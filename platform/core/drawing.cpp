// The pixel renderer: bitmaps, memory surfaces, pens and brushes, rectangles,
// block and transparent copies between colour and one-bit bitmaps, and the
// colour rules that tie the two formats together.
#include "platform/drawing.h"

#include <algorithm>
#include <cstring>

#include "platform/backend.h"
#include "platform/core/drawing_internal.h"
#include "platform/replay.h"

namespace plat {
namespace detail {
namespace {

// Memory surfaces alive, so that deleting an object can deselect it.
std::vector<Surface*>& liveSurfaces() {
    static std::vector<Surface*> surfaces;
    return surfaces;
}

void registerSurface(Surface* surface) { liveSurfaces().push_back(surface); }

void unregisterSurface(Surface* surface) {
    auto& all = liveSurfaces();
    all.erase(std::remove(all.begin(), all.end(), surface), all.end());
}

constexpr int32_t kMaxBitmapSide = 16384;

}  // namespace

uint32_t storedValue(const Bitmap& bitmap, Colour colour) {
    colour &= 0x00FFFFFF;
    if (!bitmap.oneBit) return colour;
    // Nearer of black and white by squared distance; ties go to black.
    const int32_t r = static_cast<int32_t>(redOf(colour));
    const int32_t g = static_cast<int32_t>(greenOf(colour));
    const int32_t b = static_cast<int32_t>(blueOf(colour));
    const int32_t toBlack = r * r + g * g + b * b;
    const int32_t toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
    return toWhite < toBlack ? 1u : 0u;
}

Rect intersect(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

Rect clipToBitmap(const Bitmap& bitmap, const Rect& rect) {
    return intersect(rect, Rect{0, 0, bitmap.width, bitmap.height});
}

void fill(Bitmap& bitmap, const Rect& clipped, uint32_t value) {
    if (isEmpty(clipped)) return;
    for (int32_t y = clipped.top; y < clipped.bottom; ++y) {
        uint32_t* row = bitmap.pixels.data() + static_cast<size_t>(y) * bitmap.width;
        std::fill(row + clipped.left, row + clipped.right, value);
    }
}

void drawnOn(const Surface* surface) {
    // A seek shows only where it ends (windowing.cpp).
    if (surface && surface->isScreen && !replay::seeking()) backend::screenChanged();
}

void forgetSelected(const void* object) {
    if (!object) return;
    for (Surface* s : liveSurfaces()) {
        if (s->bitmap == object) s->bitmap = &s->ownBitmap;
        if (s->pen == object) s->pen = nullptr;
        if (s->brush == object) s->brush = nullptr;
        if (s->font == object) s->font = nullptr;
    }
}

}  // namespace detail

namespace {

using detail::isEmpty;

// A copy's rectangles after clipping to the source and the destination.
struct CopyArea {
    int32_t x, y, width, height, sx, sy;
};

// Clips a width x height copy from (sx, sy) of `source` to (x, y) of `dest`.
// Returns false when nothing is left.
bool clipCopy(const Bitmap& dest, const Bitmap& source, CopyArea& a) {
    auto clipAxis = [](int32_t& d, int32_t& s, int32_t& length, int32_t sourceSize, int32_t destSize) {
        if (s < 0) {
            d -= s;
            length += s;
            s = 0;
        }
        if (d < 0) {
            s -= d;
            length += d;
            d = 0;
        }
        length = std::min(length, sourceSize - s);
        length = std::min(length, destSize - d);
        return length > 0;
    };
    if (a.width <= 0 || a.height <= 0) return false;
    return clipAxis(a.x, a.sx, a.width, source.width, dest.width) &&
           clipAxis(a.y, a.sy, a.height, source.height, dest.height);
}

const uint32_t* sourceRow(const Bitmap& b, int32_t x, int32_t y) {
    return b.pixels.data() + static_cast<size_t>(y) * b.width + x;
}
uint32_t* destRow(Bitmap& b, int32_t x, int32_t y) {
    return b.pixels.data() + static_cast<size_t>(y) * b.width + x;
}

// Rows are visited bottom-up when a bitmap is copied onto itself downwards,
// so that no source row is overwritten before it is read.
template <typename RowCopy>
void forEachRow(const CopyArea& a, bool sameBitmap, RowCopy copyRow) {
    if (sameBitmap && a.y > a.sy) {
        for (int32_t r = a.height - 1; r >= 0; --r) copyRow(r);
    } else {
        for (int32_t r = 0; r < a.height; ++r) copyRow(r);
    }
}

bool usable(const Surface* s) { return s && s->bitmap; }

// A keyed copy of whole rows between two different bitmaps of one format.
// Pixels are blended without branches, eight and then four at a time, so that
// the compiler uses vector instructions: sprites are half key colour, where a
// branch per pixel would mispredict all along the outline.
#if defined(__x86_64__) && defined(__GNUC__) && defined(__linux__)
__attribute__((target_clones("avx2", "default")))
#endif
void keyedRows(uint32_t* __restrict d, int32_t destStride, const uint32_t* __restrict s, int32_t sourceStride,
               int32_t width, int32_t height, uint32_t key) {
    auto blend = [key](uint32_t under, uint32_t over) {
        const uint32_t keep = 0u - static_cast<uint32_t>(over == key);
        return over ^ ((over ^ under) & keep);
    };
    for (int32_t r = 0; r < height; ++r, d += destStride, s += sourceStride) {
        int32_t i = 0;
        for (; i + 8 <= width; i += 8) {
            for (int32_t j = 0; j < 8; ++j) d[i + j] = blend(d[i + j], s[i + j]);
        }
        if (i + 4 <= width) {
            for (int32_t j = 0; j < 4; ++j) d[i + j] = blend(d[i + j], s[i + j]);
            i += 4;
        }
        for (; i < width; ++i) d[i] = blend(d[i], s[i]);
    }
}

// A keyed copy from a one-bit bitmap onto a colour one: every source pixel
// other than the key paints the one colour `drawn`. Branchless for the same
// reason as keyedRows: text layers are half key, edge after edge.
#if defined(__x86_64__) && defined(__GNUC__) && defined(__linux__)
__attribute__((target_clones("avx2", "default")))
#endif
void keyedOneBitRows(uint32_t* __restrict d, int32_t destStride, const uint32_t* __restrict s, int32_t sourceStride,
                     int32_t width, int32_t height, uint32_t key, uint32_t drawn) {
    auto paint = [key, drawn](uint32_t under, uint32_t bit) {
        const uint32_t keep = 0u - static_cast<uint32_t>(bit == key);
        return drawn ^ ((drawn ^ under) & keep);
    };
    for (int32_t r = 0; r < height; ++r, d += destStride, s += sourceStride) {
        int32_t i = 0;
        for (; i + 8 <= width; i += 8) {
            for (int32_t j = 0; j < 8; ++j) d[i + j] = paint(d[i + j], s[i + j]);
        }
        for (; i < width; ++i) d[i] = paint(d[i], s[i]);
    }
}

// The same for a copy within one bitmap, where the rows may overlap.
void keyedRowOverlapping(uint32_t* d, const uint32_t* s, int32_t n, uint32_t key) {
    if (d > s) {
        for (int32_t i = n - 1; i >= 0; --i) {
            if (s[i] != key) d[i] = s[i];
        }
    } else {
        for (int32_t i = 0; i < n; ++i) {
            if (s[i] != key) d[i] = s[i];
        }
    }
}

}  // namespace

// --- Bitmaps -------------------------------------------------------------------

Bitmap* createBitmap(int32_t width, int32_t height, bool oneBit) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width > detail::kMaxBitmapSide || height > detail::kMaxBitmapSide) return nullptr;
    Bitmap* bitmap = new Bitmap;
    bitmap->width = width;
    bitmap->height = height;
    bitmap->oneBit = oneBit;
    bitmap->pixels.assign(static_cast<size_t>(width) * height, 0);
    return bitmap;
}

Bitmap* createCompatibleBitmap(const Surface* surface, int32_t width, int32_t height) {
    const bool oneBit = usable(surface) && surface->bitmap->oneBit;
    return createBitmap(width, height, oneBit);
}

void deleteBitmap(Bitmap* bitmap) {
    detail::forgetSelected(bitmap);
    delete bitmap;
}

// --- Surfaces ------------------------------------------------------------------

Surface* createMemorySurface(const Surface* /*compatibleWith*/) {
    Surface* surface = new Surface;
    surface->ownBitmap.width = 1;
    surface->ownBitmap.height = 1;
    surface->ownBitmap.oneBit = true;
    surface->ownBitmap.pixels.assign(1, 0);
    surface->bitmap = &surface->ownBitmap;
    detail::registerSurface(surface);
    return surface;
}

void deleteSurface(Surface* surface) {
    if (!surface) return;
    detail::unregisterSurface(surface);
    delete surface;
}

Bitmap* selectBitmap(Surface* surface, Bitmap* bitmap) {
    if (!surface) return nullptr;
    Bitmap* previous = surface->bitmap;
    surface->bitmap = bitmap ? bitmap : &surface->ownBitmap;
    return previous;
}

// --- Pens, brushes, colours ------------------------------------------------------

Pen* createPen(int32_t width, Colour colour) {
    Pen* pen = new Pen;
    pen->width = std::max(width, 1);  // width 0 is the thinnest pen, as on the handset
    pen->colour = colour & 0x00FFFFFF;
    return pen;
}

Brush* createSolidBrush(Colour colour) {
    Brush* brush = new Brush;
    brush->colour = colour & 0x00FFFFFF;
    return brush;
}

void deletePen(Pen* pen) {
    detail::forgetSelected(pen);
    delete pen;
}

void deleteBrush(Brush* brush) {
    detail::forgetSelected(brush);
    delete brush;
}

const Pen* selectPen(Surface* surface, const Pen* pen) {
    if (!surface) return nullptr;
    const Pen* previous = surface->pen;
    surface->pen = pen;
    return previous;
}

const Brush* selectBrush(Surface* surface, const Brush* brush) {
    if (!surface) return nullptr;
    const Brush* previous = surface->brush;
    surface->brush = brush;
    return previous;
}

const Font* selectFont(Surface* surface, const Font* font) {
    if (!surface) return nullptr;
    const Font* previous = surface->font;
    surface->font = font;
    return previous;
}

Colour setTextColour(Surface* surface, Colour colour) {
    if (!surface) return 0;
    const Colour previous = surface->textColour;
    surface->textColour = colour & 0x00FFFFFF;
    return previous;
}

Colour setBackgroundColour(Surface* surface, Colour colour) {
    if (!surface) return 0;
    const Colour previous = surface->backgroundColour;
    surface->backgroundColour = colour & 0x00FFFFFF;
    return previous;
}

void setOpaqueText(Surface* surface, bool opaque) {
    if (surface) surface->opaqueText = opaque;
}

// --- Rectangle -------------------------------------------------------------------

void drawRectangle(Surface* surface, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!usable(surface)) return;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (right == left || bottom == top) return;
    if (!surface->pen && !surface->brush) return;
    Bitmap& bitmap = *surface->bitmap;
    if (surface->brush) {
        detail::fill(bitmap, detail::clipToBitmap(bitmap, {left, top, right, bottom}),
                     detail::storedValue(bitmap, surface->brush->colour));
    }
    if (surface->pen) {
        // Each side is a band `w` wide centred on the outermost ring; even
        // widths lean inwards on every side so the outline stays symmetric.
        const int32_t w = std::max(surface->pen->width, 1);
        const int32_t lead = (w - 1) / 2;
        const int32_t outerLeft = left - lead, outerTop = top - lead;
        const int32_t outerRight = right + lead, outerBottom = bottom + lead;
        const uint32_t value = detail::storedValue(bitmap, surface->pen->colour);
        const Rect sides[4] = {
            {outerLeft, outerTop, outerRight, outerTop + w},        // top
            {outerLeft, outerBottom - w, outerRight, outerBottom},  // bottom
            {outerLeft, outerTop, outerLeft + w, outerBottom},      // left
            {outerRight - w, outerTop, outerRight, outerBottom},    // right
        };
        for (const Rect& side : sides) detail::fill(bitmap, detail::clipToBitmap(bitmap, side), value);
    }
    detail::drawnOn(surface);
}

// --- Copies ----------------------------------------------------------------------

void blockCopy(Surface* dest, int32_t x, int32_t y, int32_t width, int32_t height, const Surface* source,
               int32_t sx, int32_t sy) {
    if (!usable(dest) || !usable(source)) return;
    Bitmap& to = *dest->bitmap;
    const Bitmap& from = *source->bitmap;
    CopyArea a{x, y, width, height, sx, sy};
    if (!clipCopy(to, from, a)) return;
    const bool same = &to == &from;

    if (to.oneBit == from.oneBit) {
        if (!same && a.width == to.width && a.width == from.width) {
            // Whole rows of equally wide bitmaps: one block.
            std::memcpy(destRow(to, 0, a.y), sourceRow(from, 0, a.sy),
                        static_cast<size_t>(a.width) * a.height * sizeof(uint32_t));
            detail::drawnOn(dest);
            return;
        }
        const size_t bytes = static_cast<size_t>(a.width) * sizeof(uint32_t);
        forEachRow(a, same, [&](int32_t r) {
            std::memmove(destRow(to, a.x, a.y + r), sourceRow(from, a.sx, a.sy + r), bytes);
        });
    } else if (from.oneBit) {
        // Set bits take the destination's background colour, clear bits its text colour.
        const uint32_t set = dest->backgroundColour & 0x00FFFFFF;
        const uint32_t clear = dest->textColour & 0x00FFFFFF;
        forEachRow(a, same, [&](int32_t r) {
            const uint32_t* s = sourceRow(from, a.sx, a.sy + r);
            uint32_t* d = destRow(to, a.x, a.y + r);
            for (int32_t i = 0; i < a.width; ++i) d[i] = s[i] ? set : clear;
        });
    } else {
        // Colour onto one-bit: white where the source shows its background colour.
        const uint32_t background = source->backgroundColour & 0x00FFFFFF;
        forEachRow(a, same, [&](int32_t r) {
            const uint32_t* s = sourceRow(from, a.sx, a.sy + r);
            uint32_t* d = destRow(to, a.x, a.y + r);
            for (int32_t i = 0; i < a.width; ++i) d[i] = s[i] == background ? 1u : 0u;
        });
    }
    detail::drawnOn(dest);
}

void transparentCopy(Surface* dest, int32_t x, int32_t y, int32_t width, int32_t height, const Surface* source,
                     int32_t sx, int32_t sy, Colour key) {
    if (!usable(dest) || !usable(source)) return;
    Bitmap& to = *dest->bitmap;
    const Bitmap& from = *source->bitmap;
    CopyArea a{x, y, width, height, sx, sy};
    if (!clipCopy(to, from, a)) return;
    const bool same = &to == &from;
    const uint32_t sourceKey = detail::storedValue(from, key);

    if (to.oneBit == from.oneBit) {
        if (same) {
            forEachRow(a, same, [&](int32_t r) {
                keyedRowOverlapping(destRow(to, a.x, a.y + r), sourceRow(from, a.sx, a.sy + r), a.width, sourceKey);
            });
        } else {
            keyedRows(destRow(to, a.x, a.y), to.width, sourceRow(from, a.sx, a.sy), from.width, a.width, a.height,
                      sourceKey);
        }
    } else if (from.oneBit) {
        // Only one bit value survives the key, so every drawn pixel has one colour.
        const uint32_t drawn = sourceKey ? dest->textColour & 0x00FFFFFF : dest->backgroundColour & 0x00FFFFFF;
        keyedOneBitRows(destRow(to, a.x, a.y), to.width, sourceRow(from, a.sx, a.sy), from.width, a.width, a.height,
                        sourceKey, drawn);
    } else {
        const uint32_t background = source->backgroundColour & 0x00FFFFFF;
        forEachRow(a, same, [&](int32_t r) {
            const uint32_t* s = sourceRow(from, a.sx, a.sy + r);
            uint32_t* d = destRow(to, a.x, a.y + r);
            for (int32_t i = 0; i < a.width; ++i) {
                if (s[i] != sourceKey) d[i] = s[i] == background ? 1u : 0u;
            }
        });
    }
    detail::drawnOn(dest);
}

uint32_t pixelAt(const Surface* surface, int32_t x, int32_t y) {
    if (!usable(surface)) return 0;
    const Bitmap& b = *surface->bitmap;
    if (x < 0 || y < 0 || x >= b.width || y >= b.height) return 0;
    return b.pixels[static_cast<size_t>(y) * b.width + x];
}

}  // namespace plat
