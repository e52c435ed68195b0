// The drawn scene read back from the screen: fish at the edges, strips cut by
// the size tables, the HUD band, bar and score, the game-over box and the
// MENU caption. Every picture here is a plain bitmap the test builds itself.
#include <climits>

#include "game/hud.h"
#include "game/scene.h"
#include "game_support.h"
#include "media/drawing_objects.h"
#include "media/surfaces.h"
#include "platform/drawing.h"

namespace {

constexpr plat::Colour kGrey = 0x00404040;
constexpr plat::Colour kRed = 0x000000FF;
constexpr plat::Colour kGreen = 0x0000FF00;
constexpr plat::Colour kYellow = 0x0000FFFF;
constexpr plat::Colour kPurple = 0x00800080;
constexpr plat::Colour kHudBlue = 0x00844100;

// A strip whose columns below `split` are `left` and the rest `right`.
plat::Bitmap* strip(int32_t width, int32_t height, int32_t split, plat::Colour left, plat::Colour right) {
    plat::Bitmap* bitmap = plat::createBitmap(width, height, false);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) bitmap->pixels[y * width + x] = x < split ? left : right;
    }
    return bitmap;
}

}  // namespace

class ScenePixelTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        parkSchool();
        createSurfaces(nullptr);
        ASSERT_TRUE(surfaces.created);
        use(surfaces.backgroundBitmap, strip(176, 220, 176, kGrey, kGrey), surfaces.backgroundSurface);
        drawing.textFont = plat::createFont(u"Arial", 14, 600);
        drawing.blackPen = plat::createPen(1, plat::kBlack);
        startFrames = 60;  // past the soft-key captions of a game's first frames
    }
    void TearDown() override {
        releaseSurfaces(nullptr);
        plat::deleteFont(drawing.textFont);
        plat::deletePen(drawing.blackPen);
        drawing = DrawingObjects{};
        scoreTable = nullptr;
        GameTest::TearDown();
    }
    // Puts a bitmap of the test's own in a slot of the set (which frees it on
    // release), selected into its surface when it has one.
    void use(plat::Bitmap*& slot, plat::Bitmap* bitmap, plat::Surface* holder = nullptr) {
        plat::deleteBitmap(slot);
        slot = bitmap;
        if (holder) plat::selectBitmap(holder, bitmap);
    }
    uint32_t screenAt(int32_t x, int32_t y) const { return plat::pixelAt(plat::screenSurface(), x, y); }
    // Length of the run of `colour` on a screen row, starting at column 0.
    int32_t runFromLeft(int32_t y, plat::Colour colour) const {
        int32_t x = 0;
        while (x < plat::kScreenWidth && screenAt(x, y) == colour) ++x;
        return x;
    }
    void drawOneFish(const SchoolFish& fish) {
        drawBackground();
        SchoolFish copy = fish;
        drawSchoolFish(copy);
        copyFrameToScreen();
    }
};

TEST_F(ScenePixelTest, FishAreDrawnOnlyOnceTheyReachTheWater) {
    // Class 1: left half (faces right) red, right half (faces left) green.
    use(surfaces.schoolBitmaps[1], strip(34, 15, 17, kRed, kGreen), surfaces.schoolSurfaces[1]);
    SchoolFish fish;
    setSchoolFish(fish, 1, 1, -16, 50, 0);
    drawOneFish(fish);
    EXPECT_EQ(screenAt(0, 55), kRed);

    setSchoolFish(fish, 1, 1, -17, 50, 0);
    drawOneFish(fish);
    EXPECT_EQ(screenAt(0, 55), kGrey);

    setSchoolFish(fish, 1, 0, 174, 50, 0);
    drawOneFish(fish);
    EXPECT_EQ(screenAt(174, 55), kGreen);
    EXPECT_EQ(screenAt(175, 55), kGreen);

    setSchoolFish(fish, 1, 0, 175, 50, 0);
    drawOneFish(fish);
    EXPECT_EQ(screenAt(175, 55), kGrey);

    // A right-swimmer at the same place is drawn: the rule is by direction.
    setSchoolFish(fish, 1, 1, 175, 50, 0);
    drawOneFish(fish);
    EXPECT_EQ(screenAt(175, 55), kRed);
}

TEST_F(ScenePixelTest, StripsAreCutByTheTablesAndClippedToNarrowerBitmaps) {
    // The class-2 school bitmap is 43 wide against a 44-wide table entry.
    use(surfaces.schoolBitmaps[2], strip(43, 20, 22, kRed, kGreen), surfaces.schoolSurfaces[2]);
    SchoolFish fish;
    setSchoolFish(fish, 2, 0, 50, 60, 0);
    drawOneFish(fish);
    EXPECT_EQ(screenAt(49, 65), kGrey);
    EXPECT_EQ(screenAt(50, 65), kGreen);
    EXPECT_EQ(screenAt(70, 65), kGreen);
    EXPECT_EQ(screenAt(71, 65), kGrey);  // source column 43 does not exist
    EXPECT_EQ(screenAt(60, 79), kGreen);
    EXPECT_EQ(screenAt(60, 80), kGrey);

    // The player's class-4 skeleton is cut 47 wide from the 88-wide skeleton.
    use(surfaces.skeletonBitmaps[4], strip(88, 30, 44, kRed, kGreen));
    PlayerFish& player = *game->player;
    setPlayer(4, 80, 100, 0);
    player.dying = 1;
    player.deathX = 20;
    player.deathY = 100;
    drawBackground();
    drawDeath(player);
    copyFrameToScreen();
    EXPECT_EQ(runFromLeft(110, kGrey), 20);
    EXPECT_EQ(screenAt(20, 110), kGreen);
    EXPECT_EQ(screenAt(60, 110), kGreen);  // source column 87, the last one
    EXPECT_EQ(screenAt(61, 110), kGrey);

    player.facing = 1;
    player.deathY = 100;
    drawBackground();
    drawDeath(player);
    copyFrameToScreen();
    EXPECT_EQ(screenAt(63, 110), kRed);
    EXPECT_EQ(screenAt(64, 110), kGreen);
    EXPECT_EQ(screenAt(66, 110), kGreen);
    EXPECT_EQ(screenAt(67, 110), kGrey);
}

TEST_F(ScenePixelTest, WhiteIsSeeThrough) {
    use(surfaces.playerBitmaps[1], strip(36, 15, 5, plat::kWhite, kPurple));
    setPlayer(1, 40, 100, 1);
    drawBackground();
    drawPlayer(*game->player);
    copyFrameToScreen();
    EXPECT_EQ(screenAt(44, 105), kGrey);
    EXPECT_EQ(screenAt(45, 105), kPurple);
    EXPECT_EQ(screenAt(57, 105), kPurple);
    EXPECT_EQ(screenAt(58, 105), kGrey);
}

TEST_F(ScenePixelTest, EatenFishAndPlayerShowAsSkeletonsInTheFrameTheyAreEaten) {
    use(surfaces.schoolBitmaps[0], strip(24, 10, 24, kRed, kRed), surfaces.schoolSurfaces[0]);
    use(surfaces.skeletonBitmaps[0], strip(24, 10, 24, kYellow, kYellow));
    use(surfaces.playerBitmaps[2], strip(44, 20, 44, kPurple, kPurple));
    setPlayer(2, 80, 90, 0);
    placeFish(0, 0, 1, 70, 100);
    runGameFrame(*game, nullptr);
    ASSERT_EQ(game->score, 1);
    EXPECT_EQ(screenAt(72, 105), kYellow);
    EXPECT_EQ(screenAt(90, 95), kPurple);

    use(surfaces.schoolBitmaps[3], strip(72, 25, 72, kRed, kRed), surfaces.schoolSurfaces[3]);
    use(surfaces.skeletonBitmaps[2], strip(44, 20, 44, kGreen, kGreen));
    placeFish(1, 3, 1, 45, 85);
    runGameFrame(*game, nullptr);
    ASSERT_EQ(game->player->dying, 1);
    EXPECT_EQ(screenAt(90, 95), kGreen);
    for (int32_t y = 0; y < plat::kScreenHeight; ++y) {
        for (int32_t x = 0; x < plat::kScreenWidth; ++x) ASSERT_NE(screenAt(x, y), kPurple) << x << "," << y;
    }
}

TEST_F(ScenePixelTest, HungerBarUncoversFromTheLeft) {
    use(surfaces.barBitmap, strip(60, 20, 60, kRed, kRed));
    struct Case {
        int32_t satiety;
        int32_t width;
    };
    const Case cases[] = {{41, 0}, {40, 0}, {39, 2}, {20, 30}, {1, 59}, {0, 60}, {60, 0}};
    for (const Case& c : cases) {
        satiety = c.satiety;
        drawBackground();
        drawHud(*game);
        copyFrameToScreen();
        EXPECT_EQ(runFromLeft(10, kRed), c.width) << "satiety " << c.satiety;
        EXPECT_EQ(runFromLeft(17, kRed), c.width) << "satiety " << c.satiety;
        EXPECT_EQ(screenAt(0, 18), kGrey) << "satiety " << c.satiety;  // the bar is 18 rows high
    }
}

TEST_F(ScenePixelTest, HudBandCoversWhatSwimsIntoItsRows) {
    use(surfaces.schoolBitmaps[1], strip(34, 15, 34, kRed, kRed), surfaces.schoolSurfaces[1]);
    satiety = 40;
    placeFish(0, 1, 1, 100, 10);
    drawBackground();
    drawSchoolFish(*game->school[0]);
    drawHud(*game);
    copyFrameToScreen();
    EXPECT_EQ(screenAt(105, 19), kGrey);
    EXPECT_EQ(screenAt(105, 20), kRed);
}

TEST_F(ScenePixelTest, ScoreIsRightAlignedInThreePlacesInsideItsRectangle) {
    plat::Char text[16];
    formatScore(7, text);
    EXPECT_EQ(std::u16string(text), u"  7");
    formatScore(1234, text);
    EXPECT_EQ(std::u16string(text), u"1234");

    // Leftmost white column of the score, and that nothing leaves the rectangle.
    auto leftmostWhite = [this](int32_t score) {
        game->score = score;
        satiety = 40;
        drawBackground();
        drawHud(*game);
        copyFrameToScreen();
        int32_t leftmost = INT32_MAX;
        bool hudBlue = false;
        for (int32_t y = 0; y < 20; ++y) {
            for (int32_t x = 0; x < plat::kScreenWidth; ++x) {
                const uint32_t pixel = screenAt(x, y);
                const bool inside = x >= 122 && x < 147 && y >= 2 && y < 19;
                if (!inside) {
                    EXPECT_EQ(pixel, kGrey) << "score " << score << " at " << x << "," << y;
                }
                if (pixel == plat::kWhite && x < leftmost) leftmost = x;
                hudBlue = hudBlue || pixel == kHudBlue;
            }
        }
        EXPECT_TRUE(hudBlue) << "score " << score;  // drawn on an opaque dark blue
        return leftmost;
    };
    const int32_t sevenAt = leftmostWhite(7);
    const int32_t hundredAt = leftmostWhite(100);
    ASSERT_NE(hundredAt, INT32_MAX);
    // "  7": the digit starts after two spaces' width; "100" starts at the left.
    const int32_t twoSpaces = plat::textWidth(drawing.textFont, u"  ", 2);
    ASSERT_GT(twoSpaces, 0);
    EXPECT_GE(sevenAt, 122 + twoSpaces);
    EXPECT_LT(hundredAt, 122 + twoSpaces / 2);
    EXPECT_GT(sevenAt, hundredAt);
}

TEST_F(ScenePixelTest, GameOverBoxAndMenuCaptionOverTheLastFrame) {
    ScoreTable table;
    table.bestScores[0] = 3;
    scoreTable = &table;
    use(surfaces.captionBitmap, strip(89, 22, 89, kYellow, kYellow), surfaces.captionSurface);
    game->score = 2;
    gamePhase = kPhaseStarved;
    vibrationRunning = 1;
    runGameFrame(*game, nullptr);

    EXPECT_EQ(screenAt(5, 50), kGrey);
    EXPECT_EQ(screenAt(20, 80), plat::kBlack);    // thin black border
    EXPECT_EQ(screenAt(156, 139), plat::kBlack);  // right and bottom edges are exclusive
    EXPECT_EQ(screenAt(157, 139), kGrey);
    EXPECT_EQ(screenAt(21, 81), plat::kBlue);
    int whiteInBox = 0;
    for (int32_t y = 85; y < 140; ++y) {
        for (int32_t x = 21; x < 156; ++x) whiteInBox += screenAt(x, y) == plat::kWhite ? 1 : 0;
    }
    EXPECT_GT(whiteInBox, 50);
    EXPECT_EQ(surfaces.screen->textColour, plat::kBlue);
    EXPECT_EQ(surfaces.screen->backgroundColour, plat::kWhite);

    EXPECT_EQ(screenAt(0, 198), kYellow);
    EXPECT_EQ(screenAt(88, 219), kYellow);
    EXPECT_EQ(screenAt(89, 198), kGrey);
    EXPECT_EQ(screenAt(0, 197), kGrey);

    EXPECT_EQ(logCount("vibrate stop"), 1);
    EXPECT_EQ(gameOverShown, 1);
    EXPECT_EQ(gameEnded, 1);
    EXPECT_EQ(table.bestScores[0], 3);
}
