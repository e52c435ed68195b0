// The software renderer: bitmaps, drawing surfaces, pens, brushes, fonts and
// the copies and text the game draws with. Every back end shows the pixels
// these operations leave in the screen bitmap, so tests can read them.
//
// The semantics are those of the handset's drawing library:
//  - A surface draws into the one bitmap selected into it. A fresh memory
//    surface holds a 1 x 1 one-bit bitmap, so a bitmap created compatible
//    with it is one-bit; a bitmap created compatible with the screen is colour.
//  - A one-bit bitmap keeps only black (0) and white (1): a colour drawn on it
//    becomes the nearer of the two (blue comes out black).
//  - Copying one-bit onto colour draws set bits in the destination's
//    background colour and clear bits in its text colour. Copying colour onto
//    one-bit gives 1 where the source pixel equals the source surface's
//    background colour, else 0.
//  - Copies are clipped to both the source and the destination bitmap.
//  - Rectangles and text rectangles have exclusive right and bottom edges.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace plat {

// A picture. Colour bitmaps hold 0x00BBGGRR pixels; one-bit bitmaps hold 0 or 1
// per pixel. Rows are top-down, `width` pixels each.
struct Bitmap {
    int32_t width = 0;
    int32_t height = 0;
    bool oneBit = false;
    std::vector<uint32_t> pixels;
};

struct Pen {
    int32_t width = 1;
    Colour colour = kBlack;
};

struct Brush {
    Colour colour = kWhite;
};

struct Font;  // glyph cache of one face at one cell height (drawing_text.cpp)

// A drawing surface (the handset's "device context").
struct Surface {
    Bitmap* bitmap = nullptr;  // the selected bitmap; never null
    Bitmap ownBitmap;          // the 1 x 1 one-bit bitmap a memory surface starts with
    const Pen* pen = nullptr;
    const Brush* brush = nullptr;
    const Font* font = nullptr;
    Colour textColour = kBlack;
    Colour backgroundColour = kWhite;
    bool opaqueText = true;
    bool isScreen = false;
};

// Bitmaps, filled with 0 (black). A compatible bitmap takes the format of the
// bitmap selected into `surface` (colour for a null surface). Deleting a
// bitmap, pen, brush or font that a memory surface still holds deselects it
// there first.
Bitmap* createBitmap(int32_t width, int32_t height, bool oneBit);
Bitmap* createCompatibleBitmap(const Surface* surface, int32_t width, int32_t height);
void deleteBitmap(Bitmap* bitmap);

// Surfaces. A memory surface starts with its own 1 x 1 one-bit bitmap and no
// pen, brush or font.
Surface* createMemorySurface(const Surface* compatibleWith);
void deleteSurface(Surface* surface);
// Selects a bitmap (null puts back the surface's own 1 x 1 bitmap); returns the previous one.
Bitmap* selectBitmap(Surface* surface, Bitmap* bitmap);

// Pens, brushes, fonts. Fonts are Arial-like: weight 0 regular, 600 and up bold;
// `cellHeight` is ascent plus descent in pixels (negative: the em size; 0: the
// default 12). Fonts are baked at build time in both weights at the heights
// the game uses (12, 14 and 18): any other height gets the nearest baked one,
// the smaller of two equally near. Characters beyond printable ASCII draw as
// the face's missing-character box; control characters take no room.
Pen* createPen(int32_t width, Colour colour);
Brush* createSolidBrush(Colour colour);
Font* createFont(const Char* face, int32_t cellHeight, int32_t weight);
void deletePen(Pen* pen);
void deleteBrush(Brush* brush);
void deleteFont(Font* font);
const Pen* selectPen(Surface* surface, const Pen* pen);
const Brush* selectBrush(Surface* surface, const Brush* brush);
const Font* selectFont(Surface* surface, const Font* font);

Colour setTextColour(Surface* surface, Colour colour);
Colour setBackgroundColour(Surface* surface, Colour colour);
void setOpaqueText(Surface* surface, bool opaque);

// Fills the rectangle with the brush, then draws the border with the pen: a
// 1-pixel pen covers exactly the outermost ring, wider pens are centred on it.
// Without a pen or brush that part is skipped.
void drawRectangle(Surface* surface, int32_t left, int32_t top, int32_t right, int32_t bottom);

// Opaque block copy of width x height from (sx, sy) of `source` to (x, y).
void blockCopy(Surface* dest, int32_t x, int32_t y, int32_t width, int32_t height,
               const Surface* source, int32_t sx, int32_t sy);

// Block copy skipping source pixels equal to `key` (compared in the source's
// format: for a one-bit source, the key's nearer of black and white). Source
// and destination are the same size: no scaling.
void transparentCopy(Surface* dest, int32_t x, int32_t y, int32_t width, int32_t height,
                     const Surface* source, int32_t sx, int32_t sy, Colour key);

// Text layout flags, the handset's values.
enum TextFormat : uint32_t {
    kTextLeft = 0x0000,
    kTextTop = 0x0000,
    kTextCentre = 0x0001,
    kTextVerticalCentre = 0x0004,
    kTextWordBreak = 0x0010,
    kTextSingleLine = 0x0020,
};

// Draws `text` (length units, or up to the NUL when length is -1) in the
// rectangle with the selected font and colours, clipped to the rectangle.
// Without kTextSingleLine, "\n" breaks lines; with kTextWordBreak long lines
// wrap at spaces. kTextVerticalCentre applies to single-line text. With
// opaque text each line's box (its width x the cell height) is filled with the
// background colour first. Returns the height of the text laid out.
int32_t drawText(Surface* surface, const Char* text, int32_t length, const Rect& rect, uint32_t format);

// Width in pixels of one line of text in a font.
int32_t textWidth(const Font* font, const Char* text, int32_t length);

// Reads one pixel of the selected bitmap (0 outside); for tests and screenshots.
uint32_t pixelAt(const Surface* surface, int32_t x, int32_t y);

}  // namespace plat
