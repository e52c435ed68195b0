// What the menu, Help, About and Options screens and the soft-key captions
// leave on the screen, read back pixel by pixel.
#include "screen_fixture.h"

namespace screens_test {
namespace {

using DrawingTest = ScreensTest;

TEST_F(DrawingTest, MenuDrawnInFullShowsWhiteWordsAndTheCursorFish) {
    c.state = MainMenu;
    c.cursor = 0;
    paintScreen(kMarker);
    repaint();

    EXPECT_EQ(pixel(5, 5), backgroundAt(5, 5));
    EXPECT_EQ(pixel(170, 100), backgroundAt(170, 100));
    // The fish: the top-left 16 x 14 of its picture, beside row 0.
    EXPECT_EQ(pixel(24, 49), kCursorColour);
    EXPECT_EQ(pixel(39, 62), kCursorColour);
    EXPECT_EQ(pixel(40, 49), backgroundAt(40, 49));
    EXPECT_EQ(pixel(24, 63), backgroundAt(24, 63));
    EXPECT_EQ(countColour(kCursorColour, 0, 0, 176, 220), 16 * 14);

    // Row i's words show from y = 45 + 25i, within x 55..129 only.
    const int whiteEverywhere = countColour(plat::kWhite, 0, 0, 176, 220);
    EXPECT_EQ(countColour(plat::kWhite, 55, 45, 130, 165), whiteEverywhere);
    for (int32_t row = 0; row < 5; ++row) {
        EXPECT_GT(countColour(plat::kWhite, 55, 45 + 25 * row, 130, 65 + 25 * row), 0) << "row " << row;
    }

    EXPECT_EQ(pixel(0, 198), kBackColour);
    EXPECT_EQ(pixel(88, 198), kSelectColour);
    EXPECT_EQ(pixel(175, 219), kSelectColour);
}

TEST_F(DrawingTest, MovingTheMenuCursorRestoresOnlyTheCursorColumn) {
    c.state = MainMenu;
    c.cursor = 0;
    repaint();
    const int whiteBefore = countColour(plat::kWhite, 0, 0, 176, 220);
    const int32_t outside[][2] = {{10, 10}, {19, 100}, {40, 100}, {45, 120}, {150, 190}, {20, 29}, {30, 180}};
    for (const auto& p : outside) setPixel(p[0], p[1], kMarker);
    setPixel(30, 150, kMarker);  // inside the column

    c.onDown();

    for (const auto& p : outside) EXPECT_EQ(pixel(p[0], p[1]), kMarker) << p[0] << "," << p[1];
    EXPECT_EQ(pixel(30, 150), backgroundAt(30, 150));
    EXPECT_EQ(pixel(24, 49), backgroundAt(24, 49)) << "the old fish is gone";
    EXPECT_EQ(pixel(24, 74), kCursorColour);
    EXPECT_EQ(countColour(plat::kWhite, 0, 0, 176, 220), whiteBefore) << "the words are drawn again in place";
}

TEST_F(DrawingTest, HelpArrowsShowWhereThereIsMoreText) {
    c.state = HelpFromMain;
    const struct {
        int32_t top;
        bool up, down;
    } cases[] = {{0, false, true}, {1, true, true}, {2, true, true}, {3, true, false}};
    for (const auto& k : cases) {
        c.helpTop = k.top;
        repaint();
        EXPECT_EQ(pixel(76, 164), k.up ? kUpArrowColour : kPanelColour) << "helpTop " << k.top;
        EXPECT_EQ(pixel(82, 170), k.up ? kUpArrowColour : kPanelColour) << "helpTop " << k.top;
        EXPECT_EQ(pixel(93, 164), k.down ? kDownArrowColour : kPanelColour) << "helpTop " << k.top;
        EXPECT_EQ(pixel(99, 170), k.down ? kDownArrowColour : kPanelColour) << "helpTop " << k.top;
    }
}

TEST_F(DrawingTest, HelpShowsSevenLinesFromTheTopLine) {
    c.state = HelpFromMain;
    c.helpTop = 0;
    repaint();
    EXPECT_EQ(c.previousState, 9) << "the repaint's background is done";
    EXPECT_EQ(pixel(10, 10), backgroundAt(10, 10));
    EXPECT_EQ(pixel(23, 20), kPanelColour);
    // The yellow title sits at y 31, the white lines from y 56 every 15 pixels.
    EXPECT_GT(countColour(kYellow, 22, 31, 157, 46), 0);
    EXPECT_EQ(countColour(kYellow, 0, 0, 176, 220), countColour(kYellow, 22, 31, 157, 46));
    for (int32_t k = 0; k < 7; ++k) {
        EXPECT_GT(countColour(plat::kWhite, 33, 56 + 15 * k, 151, 71 + 15 * k), 0) << "line " << k;
    }
    EXPECT_EQ(pixel(0, 198), backgroundAt(0, 198)) << "no left caption: the empty box";
    EXPECT_EQ(pixel(88, 198), kOkColour);

    c.helpTop = 3;
    repaint();
    // The last row is the blank tenth line.
    EXPECT_EQ(countColour(plat::kWhite, 33, 146, 151, 161), 0);
    EXPECT_GT(countColour(plat::kWhite, 33, 131, 151, 146), 0);
}

TEST_F(DrawingTest, HelpOpenedFromTheMenuKeepsTheMenuBackground) {
    c.state = MainMenu;
    c.cursor = 3;
    repaint();
    setPixel(5, 5, kMarker);
    setPixel(170, 190, kMarker);
    c.onSelect();
    ASSERT_EQ(c.state, HelpFromMain);
    EXPECT_EQ(pixel(5, 5), kMarker);
    EXPECT_EQ(pixel(170, 190), kMarker);
    EXPECT_EQ(pixel(23, 20), kPanelColour);
    EXPECT_EQ(pixel(0, 198), backgroundAt(0, 198));

    c.onDown();  // scrolling redraws the panel only
    EXPECT_EQ(pixel(5, 5), kMarker);
    repaint();
    EXPECT_EQ(pixel(5, 5), backgroundAt(5, 5));
}

TEST_F(DrawingTest, AboutShowsTitleVersionAndNoticeInsideThePanel) {
    c.state = AboutFromGame;
    repaint();
    EXPECT_EQ(pixel(10, 10), backgroundAt(10, 10));
    EXPECT_GT(countColour(kYellow, 43, 31, 134, 46), 0);
    EXPECT_EQ(countColour(kYellow, 0, 0, 176, 220), countColour(kYellow, 43, 31, 134, 46));
    EXPECT_GT(countColour(plat::kWhite, 33, 56, 154, 76), 0) << "the game's name";
    EXPECT_GT(countColour(plat::kWhite, 33, 76, 154, 96), 0) << "the version";
    for (int32_t line = 0; line < 3; ++line) {
        const int32_t top = 111 + 15 * line;
        EXPECT_GT(countColour(plat::kWhite, 33, top, 154, top + 15), 0) << "notice line " << line;
    }
    // The notice fits its 121 pixels: nothing is cut at the edges.
    EXPECT_EQ(countColour(plat::kWhite, 33, 111, 34, 161), 0);
    EXPECT_EQ(countColour(plat::kWhite, 153, 111, 154, 161), 0);
    EXPECT_EQ(pixel(88, 198), kOkColour);
}

TEST_F(DrawingTest, OptionsRowsShowTheDraftInTheirColours) {
    c.state = OptionsFromMain;
    c.switches[kVibrateSwitch] = 1;  // stored, but the draft is what shows
    optionsDraft[kVibrateSwitch] = 0;
    optionsDraft[kSoundSwitch] = 1;
    c.cursor = 1;
    c.previousState = MainMenu;
    c.render();
    EXPECT_EQ(pixel(66, 85), kBoxColours[0]) << "Vibrate: white, empty";
    EXPECT_EQ(pixel(66, 100), kBoxColours[3]) << "Sound: yellow, crossed";
    EXPECT_GT(countColour(kYellow, 86, 102, 150, 117), 0);
    EXPECT_EQ(countColour(kYellow, 86, 87, 150, 100), 0);
    EXPECT_GT(countColour(plat::kWhite, 86, 87, 150, 100), 0);
    EXPECT_GT(countColour(plat::kWhite, 43, 31, 134, 46), 0) << "the title";
    EXPECT_EQ(pixel(0, 198), kBackColour);
    EXPECT_EQ(pixel(88, 198), kStoreColour);

    c.onUp();
    EXPECT_EQ(pixel(66, 85), kBoxColours[2]) << "Vibrate: yellow, empty";
    EXPECT_EQ(pixel(66, 100), kBoxColours[1]) << "Sound: white, crossed";
    c.onSelect();
    EXPECT_EQ(pixel(66, 85), kBoxColours[3]);
}

TEST_F(DrawingTest, OptionsDrawTheBackgroundOnlyWhenEntered) {
    c.state = MainMenu;
    c.cursor = 1;
    repaint();
    setPixel(5, 5, kMarker);
    c.onSelect();
    ASSERT_EQ(c.state, OptionsFromMain);
    EXPECT_EQ(pixel(5, 5), backgroundAt(5, 5));
    setPixel(5, 5, kMarker);
    c.onLeft();
    EXPECT_EQ(pixel(5, 5), kMarker);
    EXPECT_EQ(pixel(66, 85), kBoxColours[3]);
}

class SoftKeyTest : public ScreensTest {
protected:
    plat::Surface* target = nullptr;
    plat::Bitmap* picture = nullptr;

    void SetUp() override {
        ScreensTest::SetUp();
        target = plat::createMemorySurface(plat::screenSurface());
        picture = solidPicture(176, 220, kMarker);
        plat::selectBitmap(target, picture);
    }
    void TearDown() override {
        plat::deleteSurface(target);
        plat::deleteBitmap(picture);
        ScreensTest::TearDown();
    }
    uint32_t at(int32_t x, int32_t y) const { return plat::pixelAt(target, x, y); }
};

TEST_F(SoftKeyTest, GameCaptionsByFrameCountPauseAndEnd) {
    // The left caption from (0,198), the right one from (88,198); column 175 lies beyond an 87-wide caption.
    const struct {
        int32_t state, previous, frames;
        uint8_t ended;
        plat::Colour left, right;
    } cases[] = {
        {Playing, MainMenu, 59, 0, kMenuColour, kPauseColour},
        {Playing, MainMenu, 0, 1, kMenuColour, kMarker},  // an ended game never offers PAUSE
        {Playing, MainMenu, 60, 0, kMarker, kMarker},
        {Playing, Paused, 0, 0, kMarker, kMarker},  // a resume brings no captions back
        {Paused, Playing, 60, 0, kMenuColour, kResumeColour},
        {TitlePicture, MainMenu, 0, 0, kMarker, kMarker},
    };
    for (const auto& k : cases) {
        std::fill(picture->pixels.begin(), picture->pixels.end(), kMarker);
        c.state = k.state;
        c.previousState = k.previous;
        startFrames = k.frames;
        gameEnded = k.ended;
        c.drawSoftKeys(target);
        EXPECT_EQ(at(0, 198), k.left) << "state " << k.state << " frames " << k.frames;
        EXPECT_EQ(at(100, 219), k.right) << "state " << k.state << " frames " << k.frames;
        EXPECT_EQ(at(175, 198), kMarker);
        EXPECT_EQ(at(0, 197), kMarker);
    }
}

TEST_F(SoftKeyTest, CaptionsOfInPlayRendering) {
    startGame();
    // render drew one frame of the new game: its captions are on screen.
    EXPECT_EQ(pixel(0, 198), kMenuColour);
    EXPECT_EQ(pixel(88, 198), kPauseColour);
    startFrames = 60;
    paintScreen(kMarker);
    c.drawSoftKeys(plat::screenSurface());
    EXPECT_EQ(pixel(0, 198), kMarker);
}

}  // namespace
}  // namespace screens_test
