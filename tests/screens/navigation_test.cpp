// Moving through the menus, Options, Help, About and the title picture: what
// each key changes, when it clicks and when it redraws.
#include "screen_fixture.h"

namespace screens_test {
namespace {

using NavigationTest = ScreensTest;

TEST_F(NavigationTest, MenuCursorWrapsAtBothEnds) {
    for (int32_t menu : {MainMenu, GameMenu}) {
        c.state = menu;
        c.cursor = 4;
        c.onDown();
        EXPECT_EQ(c.cursor, 0);
        c.onUp();
        EXPECT_EQ(c.cursor, 4);
        c.onUp();
        EXPECT_EQ(c.cursor, 3);
        EXPECT_EQ(c.state, menu);
    }
}

TEST_F(NavigationTest, KeysClickWithSoundOnOutsideTheGameEvenWithoutEffect) {
    c.switches[kSoundSwitch] = 1;
    c.state = MainMenu;
    repaint();
    const size_t drawnBefore = plat::headless::screenChanges();
    c.onLeft();
    c.onRight();
    EXPECT_EQ(clicks(), 2);
    EXPECT_EQ(plat::headless::screenChanges(), drawnBefore) << "left and right mean nothing in the menu";
    EXPECT_EQ(c.previousState, kFullRedraw) << "left and right record the state only when they change something";

    c.onOtherKey();
    EXPECT_EQ(clicks(), 2) << "other keys never click";
    EXPECT_EQ(c.previousState, MainMenu);

    c.state = AboutFromMain;
    c.onUp();
    c.onSelect();
    EXPECT_EQ(clicks(), 4);
    EXPECT_EQ(c.state, AboutFromMain);

    c.state = Playing;
    c.onSelect();
    c.onUp();
    EXPECT_EQ(clicks(), 4) << "the game being played is silent";
    c.state = Paused;
    c.onSelect();
    EXPECT_EQ(clicks(), 5);
    EXPECT_EQ(c.state, Paused);

    c.switches[kSoundSwitch] = 0;
    c.state = MainMenu;
    c.onDown();
    EXPECT_EQ(clicks(), 5) << "no click with Sound off";
}

TEST_F(NavigationTest, OptionsToggleTheDraftAndOnlyStoreKeepsIt) {
    c.switches[kVibrateSwitch] = 0;
    c.switches[kSoundSwitch] = 1;
    c.switches[kLevelSwitch] = 1;
    c.state = MainMenu;
    c.cursor = 1;
    c.onSelect();
    ASSERT_EQ(c.state, OptionsFromMain);
    EXPECT_EQ(c.cursor, 0);
    EXPECT_EQ(optionsDraft[kVibrateSwitch], 0);
    EXPECT_EQ(optionsDraft[kSoundSwitch], 1);
    EXPECT_EQ(optionsDraft[kLevelSwitch], 1);

    // Left, Right and Enter all toggle the highlighted row.
    c.onLeft();
    EXPECT_EQ(optionsDraft[kVibrateSwitch], 1);
    c.onRight();
    EXPECT_EQ(optionsDraft[kVibrateSwitch], 0);
    c.onSelect();
    EXPECT_EQ(optionsDraft[kVibrateSwitch], 1);
    EXPECT_EQ(optionsDraft[kSoundSwitch], 1) << "only the highlighted row changes";

    c.onLeftSoftKey();  // BACK
    EXPECT_EQ(c.state, MainMenu);
    EXPECT_EQ(c.switches[kVibrateSwitch], 0) << "BACK drops the draft";

    c.cursor = 1;
    c.onSelect();
    EXPECT_EQ(optionsDraft[kVibrateSwitch], 0) << "reopening shows the stored switch";
    c.onDown();  // to "Sound"
    EXPECT_EQ(c.cursor, 1);
    c.onRight();
    c.onUp();
    c.onLeft();
    c.onUp();
    EXPECT_EQ(c.cursor, 1) << "two rows, wrapping";
    c.onDown();
    c.onRightSoftKey();  // STORE
    EXPECT_EQ(c.state, MainMenu);
    EXPECT_EQ(c.switches[kVibrateSwitch], 1);
    EXPECT_EQ(c.switches[kSoundSwitch], 0);
    EXPECT_EQ(c.switches[kLevelSwitch], 1);
    EXPECT_EQ(c.cursor, 0) << "the menu highlights the row Options was left on";

    // From the in-game menu, back there; an odd draft value toggles to on.
    c.state = GameMenu;
    c.cursor = 1;
    c.onSelect();
    ASSERT_EQ(c.state, OptionsFromGame);
    optionsDraft[kVibrateSwitch] = 7;
    c.onSelect();
    EXPECT_EQ(optionsDraft[kVibrateSwitch], 1);
    c.onLeftSoftKey();
    EXPECT_EQ(c.state, GameMenu);
}

TEST_F(NavigationTest, RepaintRefillsTheDraftFromTheStoredSwitches) {
    c.state = OptionsFromMain;
    c.cursor = 0;
    optionsDraft[kVibrateSwitch] = 0;
    c.onLeft();
    ASSERT_EQ(optionsDraft[kVibrateSwitch], 1);
    repaint();
    EXPECT_EQ(optionsDraft[kVibrateSwitch], 0);
}

TEST_F(NavigationTest, HelpScrollsWithinItsLimitsAndClicksWithoutRedrawAtTheEnds) {
    c.switches[kSoundSwitch] = 1;
    c.state = MainMenu;
    c.cursor = 3;
    c.helpTop = 2;
    c.onSelect();
    ASSERT_EQ(c.state, HelpFromMain);
    EXPECT_EQ(c.helpTop, 0);

    for (int i = 0; i < 3; ++i) c.onDown();
    EXPECT_EQ(c.helpTop, 3);
    plat::headless::clearLog();
    size_t drawn = plat::headless::screenChanges();
    c.onDown();
    EXPECT_EQ(c.helpTop, 3);
    EXPECT_EQ(clicks(), 1);
    EXPECT_EQ(plat::headless::screenChanges(), drawn) << "nothing is drawn at the bottom";

    for (int i = 0; i < 3; ++i) c.onUp();
    EXPECT_EQ(c.helpTop, 0);
    drawn = plat::headless::screenChanges();
    c.onUp();
    EXPECT_EQ(c.helpTop, 0);
    EXPECT_EQ(clicks(), 5);
    EXPECT_EQ(plat::headless::screenChanges(), drawn) << "nothing is drawn at the top";

    c.onRightSoftKey();  // OK
    EXPECT_EQ(c.state, MainMenu);
    EXPECT_EQ(c.cursor, 3) << "Help is highlighted again";
}

TEST_F(NavigationTest, HelpAndAboutReturnToTheMenuTheyCameFrom) {
    const struct {
        int32_t menu, item, screen;
    } cases[] = {{MainMenu, 2, AboutFromMain}, {GameMenu, 2, AboutFromGame},
                 {MainMenu, 3, HelpFromMain},  {GameMenu, 3, HelpFromGame}};
    for (const auto& k : cases) {
        c.state = k.menu;
        c.cursor = k.item;
        c.onSelect();
        EXPECT_EQ(c.state, k.screen);
        c.onLeftSoftKey();  // no caption, no change
        EXPECT_EQ(c.state, k.screen);
        c.onRightSoftKey();
        EXPECT_EQ(c.state, k.menu);
        EXPECT_EQ(c.cursor, k.item);
    }
}

TEST_F(NavigationTest, BackShowsTheTitlePictureAndAnyKeyLeavesIt) {
    c.switches[kSoundSwitch] = 1;
    // Plain functions rather than pointers to members: GCC's alignment check
    // misreads calls through member pointers.
    struct Leave {
        void (*key)(ScreenController&);
        int clicks;
    };
    const Leave leaves[] = {{[](ScreenController& s) { s.onUp(); }, 1},
                            {[](ScreenController& s) { s.onDown(); }, 1},
                            {[](ScreenController& s) { s.onLeft(); }, 1},
                            {[](ScreenController& s) { s.onRight(); }, 1},
                            {[](ScreenController& s) { s.onSelect(); }, 1},
                            {[](ScreenController& s) { s.onOtherKey(); }, 0},
                            {[](ScreenController& s) { s.onLeftSoftKey(); }, 0},
                            {[](ScreenController& s) { s.onRightSoftKey(); }, 0}};
    for (const Leave& leave : leaves) {
        c.state = MainMenu;
        c.onLeftSoftKey();
        ASSERT_EQ(c.state, TitlePicture);
        EXPECT_EQ(pixel(0, 0), kSplashColour);
        EXPECT_EQ(pixel(175, 219), kSplashColour) << "no captions over the title picture";
        plat::headless::clearLog();
        leave.key(c);
        EXPECT_EQ(c.state, MainMenu);
        EXPECT_EQ(clicks(), leave.clicks);
        EXPECT_EQ(pixel(0, 0), backgroundAt(0, 0)) << "the menu is drawn in full";
    }
}

TEST_F(NavigationTest, KeysAreLockedWhileAnEndedGameIsShown) {
    c.switches[kSoundSwitch] = 1;
    gameOverShown = 1;
    c.state = MainMenu;
    c.cursor = 2;
    c.previousState = -1;
    const size_t drawn = plat::headless::screenChanges();
    c.onDown();
    EXPECT_EQ(c.previousState, MainMenu) << "the state is recorded before the lock";
    c.onUp();
    c.onLeft();
    c.onRight();
    c.onSelect();
    EXPECT_EQ(c.cursor, 2);
    EXPECT_EQ(c.state, MainMenu);
    EXPECT_EQ(clicks(), 0);
    EXPECT_EQ(plat::headless::screenChanges(), drawn);
}

TEST_F(NavigationTest, SoftKeysStopTheVibrationFirstAndNeverClick) {
    c.switches[kSoundSwitch] = 1;
    for (int32_t state : {MainMenu, GameMenu, OptionsFromMain, HelpFromGame, AboutFromMain, TitlePicture, Paused}) {
        for (bool left : {true, false}) {
            c.state = state;
            c.cursor = 1;  // "Options" in the menus: no new game
            plat::headless::clearLog();
            left ? c.onLeftSoftKey() : c.onRightSoftKey();
            const auto log = calls();
            ASSERT_FALSE(log.empty());
            EXPECT_EQ(log.front(), "vibrate stop") << "state " << state << (left ? " left" : " right");
            // SELECT in a menu is Enter, with its click.
            const bool select = !left && (state == MainMenu || state == GameMenu);
            EXPECT_EQ(clicks(), select ? 1 : 0) << "state " << state << (left ? " left" : " right");
        }
    }
}


}  // namespace
}  // namespace screens_test
