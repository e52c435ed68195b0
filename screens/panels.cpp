// The Help, About and Options screens: a text layer on blue, laid over the
// frosted panel and shown at 22,19.
#include "media/drawing_objects.h"
#include "media/surfaces.h"
#include "platform/windowing.h"
#include "screens/controller.h"
#include "state/program_state.h"

namespace {

constexpr plat::Colour kYellow = 0x000AFFFF;
constexpr uint32_t kCentredLine = plat::kTextCentre | plat::kTextSingleLine;
constexpr uint32_t kLeftLine = plat::kTextLeft | plat::kTextSingleLine;

constexpr int32_t kPanelX = 22;
constexpr int32_t kPanelY = 19;
constexpr int32_t kPanelWidth = 135;
constexpr int32_t kPanelHeight = 161;

// previousState after Help or About has drawn the background of a repaint.
constexpr int32_t kBackgroundDrawn = 9;

void write(plat::Surface* surface, const plat::Char* text, plat::Rect rect, uint32_t format) {
    if (surface && text) plat::drawText(surface, text, -1, rect, format);
}

// A blue layer to write on: blue is see-through when the layer is laid on the panel.
void clearLayer(plat::Surface* layer, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    plat::selectPen(layer, drawing.bluePen);
    plat::selectBrush(layer, drawing.blueBrush);
    plat::drawRectangle(layer, left, top, right, bottom);
}

}  // namespace

void ScreenController::showPanel(plat::Surface* screen, int32_t top) {
    plat::Surface* panel = surfaces.panelSurface;
    if (!panel || !surfaces.overlaySurface) return;
    copyPicture(panel, 0, 0, kPanelWidth, kPanelHeight, panelBitmap, 0, 0);
    plat::transparentCopy(panel, 0, 0, kPanelWidth, kPanelHeight, surfaces.overlaySurface, kPanelX, top,
                          plat::kBlue);
    plat::blockCopy(screen, kPanelX, kPanelY, kPanelWidth, kPanelHeight, panel, 0, 0);
}

// Help and About keep what the menu left around the panel, except after a
// repaint: then the whole background comes first, once.
void ScreenController::drawBackgroundOnRepaint(plat::Surface* screen) {
    if (previousState != kFullRedraw) return;
    copyPicture(screen, 0, 0, 177, 220, backgroundBitmap, 0, 0);
    previousState = kBackgroundDrawn;
}

void ScreenController::drawHelp(plat::Surface* screen) {
    drawBackgroundOnRepaint(screen);
    plat::Surface* layer = surfaces.overlaySurface;
    clearLayer(layer, 20, 30, 170, 200);
    plat::selectFont(layer, drawing.textFont);
    plat::setBackgroundColour(layer, plat::kBlue);
    plat::setOpaqueText(layer, true);
    plat::setTextColour(layer, kYellow);
    write(layer, u"HELP", {29, 50, 149, 65}, kCentredLine);
    plat::setTextColour(layer, plat::kWhite);
    for (int32_t k = 0; k < 7; ++k) {
        const int32_t line = helpTop + k;
        if (line < 0 || line >= 10) continue;
        write(layer, helpLines[line], {33, 75 + 15 * k, 151, 90 + 15 * k}, kLeftLine);
    }
    // Arrows say there is more above or below.
    if (helpTop != 0) copyPicture(layer, 76, 183, 7, 7, upArrowBitmap, 0, 0);
    if (helpTop != 3) copyPicture(layer, 93, 183, 7, 7, downArrowBitmap, 0, 0);
    // The layer is drawn 19 pixels lower than it shows.
    showPanel(screen, 38);
}

void ScreenController::drawAbout(plat::Surface* screen) {
    drawBackgroundOnRepaint(screen);
    plat::Surface* layer = surfaces.overlaySurface;
    clearLayer(layer, 22, 19, 157, 190);
    plat::selectFont(layer, drawing.textFont);
    plat::setTextColour(layer, kYellow);
    plat::setBackgroundColour(layer, plat::kBlue);
    plat::setOpaqueText(layer, true);
    write(layer, u"ABOUT", {43, 31, 134, 46}, kCentredLine);
    plat::setTextColour(layer, plat::kWhite);
    plat::selectFont(layer, drawing.titleFont);
    write(layer, u"FINGULP", {33, 56, 154, 170}, kCentredLine);
    write(layer, u"v.05.00.04", {33, 76, 154, 190}, kCentredLine);
    plat::selectFont(layer, drawing.smallFont);
    write(layer, plat::editionName(), {33, 111, 154, 131}, kCentredLine);
    write(layer, u"Version 5.0.4", {33, 126, 154, 146}, kCentredLine);
    write(layer, u"MIT licence", {33, 141, 154, 161}, kCentredLine);
    showPanel(screen, 19);
}

void ScreenController::drawOptions(plat::Surface* screen) {
    plat::Surface* layer = surfaces.overlaySurface;
    plat::selectFont(layer, drawing.textFont);
    if (previousState != state) copyPicture(screen, 0, 0, 177, 220, backgroundBitmap, 0, 0);
    plat::setBackgroundColour(layer, plat::kBlue);
    plat::setOpaqueText(layer, true);
    clearLayer(layer, 20, 19, 170, 200);
    plat::setTextColour(layer, plat::kWhite);
    write(layer, u"OPTIONS", {43, 31, 134, 46}, kCentredLine);

    // The rows show the draft, not the stored switches.
    struct Row {
        const plat::Char* name;
        plat::Rect text;
        int32_t boxY;
    };
    const Row rows[2] = {{u"Vibrate", {86, 87, 150, 120}, 85}, {u"Sound", {86, 102, 150, 135}, 100}};
    for (int32_t row = 0; row < 2; ++row) {
        const bool on = optionsDraft[row] == 1;
        const bool highlighted = cursor == row;
        plat::Bitmap* box = boxBitmaps[(highlighted ? 2 : 0) + (on ? 1 : 0)];
        plat::setTextColour(layer, highlighted ? kYellow : plat::kWhite);
        write(layer, rows[row].name, rows[row].text, kLeftLine);
        copyPicture(layer, 66, rows[row].boxY, 17, 17, box, 0, 0);
    }
    showPanel(screen, 19);
}
