// The first-paint drawing objects (fonts, thin pens, splash and menu text
// layers) that live for the run.
#pragma once

#include "platform/drawing.h"

// Made by the first paint, never freed.
struct DrawingObjects {
    plat::Surface* splashSurface = nullptr;    // bitmap 127
    plat::Surface* menuTextSurface = nullptr;  // 177 x 220, one bit deep
    plat::Bitmap* splashBitmap = nullptr;
    plat::Bitmap* menuTextBitmap = nullptr;
    plat::Pen* bluePen = nullptr;
    plat::Pen* blackPen = nullptr;
    plat::Brush* blueBrush = nullptr;
    plat::Font* textFont = nullptr;   // Arial 14, weight 600
    plat::Font* smallFont = nullptr;  // Arial 12, weight 0
    plat::Font* titleFont = nullptr;  // Arial 18, weight 600
};

extern DrawingObjects drawing;

// The splash surface (bitmap 127), the one-bit menu text layer cleared to
// black, the pens and the brush, made compatible with the paint surface.
void createDrawingObjects(plat::Surface* paintSurface);
// textFont, smallFont and titleFont.
void createFonts();

// A box filled with the surfaces' blue box brush and outlined with `pen`,
// holding `text` in white on blue in the text font, laid out in `textRect`.
void drawMessageBox(plat::Surface* screen, plat::Pen* pen, plat::Rect box, const plat::Char* text,
                    plat::Rect textRect, uint32_t format);
