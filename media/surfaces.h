// The shared off-screen surfaces with their bitmaps, pens and brush (made once
// for the window and released when it goes), and the first-paint drawing
// objects (fonts, thin pens, splash and menu text layers) that live for the run.
#pragma once

#include "platform/drawing.h"
#include "platform/windowing.h"

struct SurfaceSet {
    plat::Surface* screen = nullptr;  // the window's own drawing surface
    plat::Surface* frameSurface = nullptr;
    plat::Surface* backgroundSurface = nullptr;
    plat::Surface* spriteSurface = nullptr;
    plat::Surface* barSurface = nullptr;
    plat::Surface* schoolSurfaces[5] = {};
    plat::Surface* captionSurface = nullptr;
    plat::Surface* overlaySurface = nullptr;
    plat::Surface* panelSurface = nullptr;

    plat::Bitmap* frameBitmap = nullptr;
    plat::Bitmap* overlayBitmap = nullptr;
    plat::Bitmap* panelBitmap = nullptr;
    plat::Bitmap* backgroundBitmap = nullptr;  // 116
    plat::Bitmap* barBitmap = nullptr;         // 101
    plat::Bitmap* bubbleBitmap = nullptr;      // 122
    plat::Bitmap* captionBitmap = nullptr;     // 156
    plat::Bitmap* schoolBitmaps[5] = {};       // 110, 109, 108, 107, 105
    plat::Bitmap* playerBitmaps[5] = {};       // 111, 112, 113, 114, 124
    plat::Bitmap* skeletonBitmaps[5] = {};     // 117 .. 121

    plat::Brush* boxBrush = nullptr;  // blue
    plat::Pen* boxPen = nullptr;      // 3 pixels, blue
    bool created = false;
};

extern SurfaceSet surfaces;

void createSurfaces(plat::Window* window);
// Frees the whole set; safe to call twice.
void releaseSurfaces(plat::Window* window);

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
