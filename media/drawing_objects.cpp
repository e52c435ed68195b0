// The first paint's drawing objects: the splash and one-bit menu text layers,
// the thin pens and the blue brush, and the three fonts. Made once, kept for
// the run. Also the blue message box that the game over and "Get Ready!" share.
#include "media/drawing_objects.h"

#include "media/surfaces.h"
#include "platform/resources.h"

DrawingObjects drawing;

void createDrawingObjects(plat::Surface* paintSurface) {
    drawing.splashBitmap = plat::loadBitmap(127);
    drawing.splashSurface = plat::createMemorySurface(paintSurface);
    plat::selectBitmap(drawing.splashSurface, drawing.splashBitmap);

    // The menu text layer is one bit deep: its bitmap is made compatible with
    // the fresh memory surface, not with the screen.
    drawing.menuTextSurface = plat::createMemorySurface(paintSurface);
    drawing.menuTextBitmap = plat::createCompatibleBitmap(drawing.menuTextSurface, 177, 220);
    plat::selectBitmap(drawing.menuTextSurface, drawing.menuTextBitmap);

    drawing.bluePen = plat::createPen(1, plat::kBlue);
    drawing.blackPen = plat::createPen(1, plat::kBlack);
    drawing.blueBrush = plat::createSolidBrush(plat::kBlue);
    // Blue comes out black on one bit: the colour the menu copy leaves out.
    plat::selectBrush(drawing.menuTextSurface, drawing.blueBrush);
    plat::selectPen(drawing.menuTextSurface, drawing.bluePen);
    plat::drawRectangle(drawing.menuTextSurface, 0, 0, 177, 220);
}

void createFonts() {
    drawing.textFont = plat::createFont(u"Arial", 14, 600);
    drawing.smallFont = plat::createFont(u"Arial", 12, 0);
    drawing.titleFont = plat::createFont(u"Arial", 18, 600);
}

void drawMessageBox(plat::Surface* screen, plat::Pen* pen, plat::Rect box, const plat::Char* text,
                    plat::Rect textRect, uint32_t format) {
    plat::selectPen(screen, pen);
    plat::selectBrush(screen, surfaces.boxBrush);
    plat::drawRectangle(screen, box.left, box.top, box.right, box.bottom);
    plat::setBackgroundColour(screen, plat::kBlue);
    plat::setTextColour(screen, plat::kWhite);
    plat::selectFont(screen, drawing.textFont);
    plat::drawText(screen, text, -1, textRect, format);
}
