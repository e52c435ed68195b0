// Test bench for the screen controller: a fresh program on the headless
// handset with a quiet window, the shared surfaces, the first-paint drawing
// objects, and plain single-colour pictures in place of the artwork so that
// every drawing can be told apart by its pixels.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/session.h"
#include "media/sound_bank.h"
#include "media/drawing_objects.h"
#include "media/surfaces.h"
#include "platform/headless/headless.h"
#include "platform/testing/windowing_reset.h"
#include "platform/windowing.h"
#include "screens/controller.h"
#include "settings/settings_store.h"
#include "state/program_state.h"
#include "testing/program_reset.h"

namespace screens_test {

// The stand-in pictures' colours; none of them is the blue key.
constexpr plat::Colour kPanelColour = 0x00906030;
constexpr plat::Colour kCursorColour = 0x000000FF;
constexpr plat::Colour kBoxColours[4] = {0x00000011, 0x00000022, 0x00000033, 0x00000044};  // 150 151 160 161
constexpr plat::Colour kUpArrowColour = 0x0000AA00;
constexpr plat::Colour kDownArrowColour = 0x0000BB00;
constexpr plat::Colour kBackColour = 0x000000C1;
constexpr plat::Colour kMenuColour = 0x000000C2;
constexpr plat::Colour kSelectColour = 0x000000C3;
constexpr plat::Colour kStoreColour = 0x000000C4;
constexpr plat::Colour kOkColour = 0x000000C5;
constexpr plat::Colour kResumeColour = 0x000000C6;
constexpr plat::Colour kPauseColour = 0x000000C7;
constexpr plat::Colour kSplashColour = 0x00123456;
constexpr plat::Colour kMarker = 0x00FF00FF;
constexpr plat::Colour kYellow = 0x000AFFFF;

// Every pixel of the stand-in background differs from its neighbours, so a
// pixel copied from the wrong place shows.
inline plat::Colour backgroundAt(int32_t x, int32_t y) { return plat::rgb(x, y, 0x40); }

inline plat::Bitmap* solidPicture(int32_t width, int32_t height, plat::Colour colour) {
    plat::Bitmap* b = plat::createBitmap(width, height, false);
    std::fill(b->pixels.begin(), b->pixels.end(), colour);
    return b;
}

inline int32_t quietWindowProc(plat::Window*, uint32_t, uint32_t, uint32_t) { return 0; }

// Made as the first paint makes them, with a plain splash picture.
inline void makeDrawingObjectsOnce() {
    if (drawing.menuTextSurface) return;
    createDrawingObjects(plat::screenSurface());
    createFonts();
    plat::deleteBitmap(drawing.splashBitmap);
    drawing.splashBitmap = solidPicture(176, 220, kSplashColour);
    plat::selectBitmap(drawing.splashSurface, drawing.splashBitmap);
}

class ScreensTest : public ::testing::Test {
protected:
    ScreenController& c = screenController;
    plat::Window* window = nullptr;

    void SetUp() override {
        plat::headless::reset();
        plat::resetWindowing();
        resetProgram();
        ASSERT_TRUE(plat::registerClass(u"ScreensTest", quietWindowProc, 0));
        window = plat::createWindow(u"ScreensTest", u"FINGULP", 176, 220);
        ASSERT_NE(window, nullptr);
        mainWindow = window;
        scoreTable = new ScoreTable;
        soundBank = newSoundBank();
        createSurfaces(window);
        makeDrawingObjectsOnce();
        c.loadResources();
        usePlainPictures();
        firstPaintPending = 0;
        plat::headless::clearLog();
    }

    void TearDown() override { resetProgram(); }

    void usePlainPictures() {
        releaseControllerPictures(c);
        plat::Bitmap* background = plat::createBitmap(176, 220, false);
        for (int32_t y = 0; y < 220; ++y) {
            for (int32_t x = 0; x < 176; ++x) background->pixels[y * 176 + x] = backgroundAt(x, y);
        }
        c.backgroundBitmap = background;
        c.panelBitmap = solidPicture(135, 161, kPanelColour);
        c.cursorBitmap = solidPicture(17, 15, kCursorColour);
        for (int i = 0; i < 4; ++i) c.boxBitmaps[i] = solidPicture(17, 17, kBoxColours[i]);
        c.upArrowBitmap = solidPicture(7, 7, kUpArrowColour);
        c.downArrowBitmap = solidPicture(7, 7, kDownArrowColour);
        c.backCaption = solidPicture(89, 22, kBackColour);
        c.menuCaption = solidPicture(89, 22, kMenuColour);
        c.selectCaption = solidPicture(88, 22, kSelectColour);
        c.storeCaption = solidPicture(88, 22, kStoreColour);
        c.okCaption = solidPicture(88, 22, kOkColour);
        c.resumeCaption = solidPicture(87, 22, kResumeColour);
        c.pauseCaption = solidPicture(87, 22, kPauseColour);
    }

    // The handset's recorded calls since the last clearLog, texts only.
    static std::vector<std::string> calls() {
        std::vector<std::string> texts;
        for (const auto& entry : plat::headless::log()) texts.push_back(entry.text);
        return texts;
    }
    static bool called(const std::string& text) {
        const auto all = calls();
        return std::find(all.begin(), all.end(), text) != all.end();
    }
    static int clicks() {
        const auto all = calls();
        return static_cast<int>(std::count(all.begin(), all.end(), std::string("sound play DEF")));
    }

    static uint32_t pixel(int32_t x, int32_t y) { return plat::pixelAt(plat::screenSurface(), x, y); }
    static void paintScreen(plat::Colour colour) {
        auto& pixels = plat::screenSurface()->bitmap->pixels;
        std::fill(pixels.begin(), pixels.end(), colour);
    }
    static void setPixel(int32_t x, int32_t y, plat::Colour colour) {
        plat::Bitmap* b = plat::screenSurface()->bitmap;
        b->pixels[y * b->width + x] = colour;
    }
    // How many pixels of the colour lie in the rectangle (right, bottom exclusive).
    static int countColour(plat::Colour colour, int32_t left, int32_t top, int32_t right, int32_t bottom) {
        int n = 0;
        for (int32_t y = top; y < bottom; ++y) {
            for (int32_t x = left; x < right; ++x) n += pixel(x, y) == colour ? 1 : 0;
        }
        return n;
    }

    // A repaint, as the paint handler does it.
    void repaint() {
        c.previousState = kFullRedraw;
        c.render();
        for (int i = 0; i < kDraftedSwitches; ++i) optionsDraft[i] = c.switches[i];
    }

    // New game from the main menu with the current switches.
    void startGame() {
        c.state = MainMenu;
        c.cursor = 0;
        c.onSelect();
        ASSERT_EQ(c.state, Playing);
    }
};

}  // namespace screens_test
