// The shared off-screen surfaces with their bitmaps, pens and brush, made once
// for the window and released when it goes.
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
