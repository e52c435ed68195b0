// The window manager on the headless handset: event order, merged timer
// ticks, paint, focus and the soft-key bar, and the virtual clock.
#include <gtest/gtest.h>

#include <vector>

#include "platform/backend.h"
#include "platform/input.h"
#include "platform/clock.h"
#include "platform/headless/headless.h"
#include "platform/script/script.h"
#include "platform/testing/windowing_reset.h"
#include "platform/windowing.h"

namespace {

struct Seen {
    uint32_t code;
    uint32_t param;
    uint64_t time;
};
std::vector<Seen> seen;
int32_t createResult = 0;

int32_t recordingProc(plat::Window* window, uint32_t code, uint32_t param, uint32_t param2) {
    seen.push_back({code, param, plat::tickCount()});
    if (code == plat::kEventCreate) return createResult;
    if (code == plat::kEventPaint) {
        plat::beginPaint(window);
        plat::endPaint(window);
    }
    return plat::defaultWindowProc(window, code, param, param2);
}

bool endedRun = false;
void endRun() {
    endedRun = true;
    plat::postQuit(7);
}

class Events : public ::testing::Test {
protected:
    void SetUp() override {
        plat::resetWindowing();
        plat::headless::reset();
        plat::headless::onInputExhausted(endRun);
        seen.clear();
        createResult = 0;
        endedRun = false;
        ASSERT_TRUE(plat::registerClass(u"HelloApp", recordingProc, 108));
        window = plat::createWindow(u"HelloApp", u"Title", 178, 225);
        ASSERT_NE(window, nullptr);
        seen.clear();
    }
    void TearDown() override {
        plat::resetWindowing();
        plat::headless::reset();
        plat::headless::onInputExhausted(nullptr);
    }
    // Runs the loop until the quit request, returning its code.
    int32_t runLoop() {
        plat::Event event;
        while (plat::nextEvent(event)) plat::dispatchEvent(event);
        return plat::quitCode();
    }
    plat::Window* window = nullptr;
};

TEST_F(Events, CreateReturningMinusOneFailsTheWindow) {
    plat::resetWindowing();
    createResult = -1;
    ASSERT_TRUE(plat::registerClass(u"HelloApp", recordingProc, 108));
    EXPECT_EQ(plat::createWindow(u"HelloApp", u"Title", 178, 225), nullptr);
    EXPECT_EQ(plat::mainWindowOf(), nullptr);
    EXPECT_FALSE(plat::registerClass(u"", recordingProc, 1));
}

TEST_F(Events, ShowingTheWindowGivesFocusBeforeTheFirstPaint) {
    plat::showWindow(window);
    plat::updateWindow(window);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].code, plat::kEventFocusGained);
    EXPECT_EQ(seen[1].code, plat::kEventPaint);
    // Painted once: no second paint comes from the loop.
    plat::postQuit(0);
    runLoop();
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(Events, PostedEventsComeBeforePaintAndTimers) {
    plat::startTimer(window, 100, 50);
    plat::headless::advanceClock(60);
    plat::invalidateWindow(window);
    plat::postEvent(window, plat::kEventKeyDown, 13, 0);
    plat::Event e;
    ASSERT_TRUE(plat::nextEvent(e));
    EXPECT_EQ(e.code, plat::kEventKeyDown);
    ASSERT_TRUE(plat::nextEvent(e));
    EXPECT_EQ(e.code, plat::kEventPaint);
    plat::dispatchEvent(e);
    ASSERT_TRUE(plat::nextEvent(e));
    EXPECT_EQ(e.code, plat::kEventTimer);
    EXPECT_EQ(e.param, 100u);
}

TEST_F(Events, TimerTicksThatFallDueDuringABlockAreMergedIntoOne) {
    plat::startTimer(window, 100, 50);
    plat::sleepMs(1000);  // twenty periods pass while the thread is blocked
    plat::Event e;
    ASSERT_TRUE(plat::nextEvent(e));
    EXPECT_EQ(e.code, plat::kEventTimer);
    const uint64_t first = plat::tickCount();
    ASSERT_TRUE(plat::nextEvent(e));
    EXPECT_EQ(e.code, plat::kEventTimer);
    EXPECT_EQ(plat::tickCount() - first, 50u) << "the next tick is one period after the merged one";
}

TEST_F(Events, TimerRunsAtItsPeriodAndStops) {
    plat::startTimer(window, 100, 50);
    std::string script = "wait 500\n";
    std::string error;
    ASSERT_TRUE(plat::headless::loadScript(script, error)) << error;
    EXPECT_EQ(runLoop(), 7);
    int ticks = 0;
    for (const Seen& s : seen) {
        if (s.code == plat::kEventTimer) {
            ++ticks;
            EXPECT_EQ(s.time % 50, 0u);
        }
    }
    EXPECT_EQ(ticks, 10);
    plat::stopTimer(window, 100);
    const auto& log = plat::headless::log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2].text, "timer 100 start 50");
    EXPECT_EQ(log.back().text, "timer 100 stop");
}

TEST_F(Events, ScriptFeedsKeysSoftKeysFocusAndPaintInOrder) {
    ASSERT_NE(plat::createSoftKeyBar(window, 136, plat::kCommandLeftSoftKey, plat::kCommandRightSoftKey), nullptr);
    std::string error;
    ASSERT_TRUE(plat::headless::loadScript("key enter\nsoft left\nsoft right\nfocus lost\nkey 7\npaint\n", error))
        << error;
    runLoop();
    std::vector<std::pair<uint32_t, uint32_t>> got;
    for (const Seen& s : seen) got.emplace_back(s.code, s.param);
    const std::vector<std::pair<uint32_t, uint32_t>> want = {
        {plat::kEventKeyDown, 13},       {plat::kEventCommand, 40035}, {plat::kEventCommand, 40009},
        {plat::kEventFocusLost, 0},      {plat::kEventKeyDown, '7'},   {plat::kEventPaint, 0}};
    EXPECT_EQ(got, want);
    EXPECT_TRUE(endedRun);
}

TEST_F(Events, HeldKeysReadAllBitsSetOnlyWhileHeld) {
    std::string error;
    ASSERT_TRUE(plat::headless::loadScript("hold left 120\nwait 100\n", error)) << error;
    plat::startTimer(window, 100, 50);
    std::vector<uint16_t> readings;
    plat::Event e;
    while (plat::nextEvent(e)) {
        if (e.code == plat::kEventTimer) readings.push_back(plat::asyncKeyState(plat::kKeyLeft));
        if (plat::tickCount() >= 200) plat::postQuit(0);
    }
    ASSERT_GE(readings.size(), 3u);
    EXPECT_EQ(readings[0], 0xFFFF);
    EXPECT_EQ(readings[1], 0xFFFF);
    EXPECT_EQ(readings.back(), 0);
}

TEST_F(Events, CloseFallsToDestroyWhenTheProgramDoesNotHandleIt) {
    plat::input::close();
    runLoop();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0].code, plat::kEventClose);
    EXPECT_EQ(seen[1].code, plat::kEventDestroy);
    EXPECT_EQ(plat::mainWindowOf(), nullptr);
}

TEST(Script, BadLinesAreReportedWithTheirNumber) {
    std::string error;
    EXPECT_FALSE(plat::headless::loadScript("wait 10\n\n# fine\nhold left\n", error));
    EXPECT_NE(error.find("line 4"), std::string::npos) << error;
    EXPECT_FALSE(plat::headless::loadScript("jump 3\n", error));
    EXPECT_NE(error.find("line 1"), std::string::npos) << error;
    EXPECT_FALSE(plat::headless::loadScript("key sideways\n", error));
    EXPECT_FALSE(plat::headless::loadScript("wait -5\n", error));
    EXPECT_TRUE(plat::headless::loadScript("key 5 # five\nkey 65\nsoft left\n", error)) << error;
    plat::headless::reset();
}

TEST(Script, KeyNames) {
    uint32_t code = 0;
    ASSERT_TRUE(plat::script::parseKeyName("back", code));
    EXPECT_EQ(code, 27u);
    ASSERT_TRUE(plat::script::parseKeyName("enter", code));
    EXPECT_EQ(code, 13u);
    ASSERT_TRUE(plat::script::parseKeyName("2", code));
    EXPECT_EQ(code, 0x32u);
    ASSERT_TRUE(plat::script::parseKeyName("65", code));
    EXPECT_EQ(code, 65u);
    EXPECT_FALSE(plat::script::parseKeyName("300", code));
    EXPECT_FALSE(plat::script::parseKeyName("", code));
}

}  // namespace

// The handset's input rules, as every back end reports to them: what reaches
// the queue and what the key state reads.
TEST_F(Events, InputRulesDecideWhichPressesReachTheProgram) {
    namespace input = plat::input;
    plat::createSoftKeyBar(window, 1, plat::kCommandLeftSoftKey, plat::kCommandRightSoftKey);
    input::keyDown(1, plat::kKeyLeft);
    input::keyDown(2, plat::kKeyLeft);  // one key, two sources
    input::keyUp(1);
    EXPECT_EQ(plat::asyncKeyState(plat::kKeyLeft), plat::kKeyHeld) << "the other source still holds it";
    input::keyDown(3, plat::kKeyDown);
    input::keyDown(3, plat::kKeyDown, true);  // the first Down waits: dropped
    input::keyDown(4, plat::kKeyUp, true);    // another key's repeat is not
    {
        const input::Blocked blocked;
        input::keyDown(5, plat::kKeyRight, true);  // blocked: dropped
        input::keyDown(6, '7');                    // a first press never is
    }
    input::softKey(true, true);  // a soft key's repeat: dropped
    const struct {
        int32_t x, y;
        bool softKey;
    } taps[] = {{0, 198, true}, {87, 219, true}, {88, 210, true}, {175, 219, true},
                {40, 197, false}, {40, 220, false}, {176, 210, false}, {-1, 210, false}};
    for (const auto& t : taps) EXPECT_EQ(input::tap(t.x, t.y), t.softKey) << t.x << "," << t.y;
    input::releaseSources(3, 5);  // a device unplugged
    EXPECT_EQ(plat::asyncKeyState(plat::kKeyDown), 0);
    EXPECT_EQ(plat::asyncKeyState('7'), plat::kKeyHeld);
    input::focus(false);  // lets every key go
    EXPECT_EQ(plat::asyncKeyState(plat::kKeyLeft) | plat::asyncKeyState('7'), 0);
    EXPECT_TRUE(input::close());
    EXPECT_FALSE(input::close()) << "one close request is enough";
    input::save();  // a page hidden: saved, and the program goes on

    plat::postQuit(0);
    std::vector<std::pair<uint32_t, uint32_t>> got;
    for (plat::Event e; plat::nextEvent(e);) got.emplace_back(e.code, e.param);
    const std::vector<std::pair<uint32_t, uint32_t>> want = {
        {plat::kEventKeyDown, plat::kKeyLeft}, {plat::kEventKeyDown, plat::kKeyLeft},
        {plat::kEventKeyDown, plat::kKeyDown}, {plat::kEventKeyDown, plat::kKeyUp},
        {plat::kEventKeyDown, '7'},            {plat::kEventCommand, plat::kCommandLeftSoftKey},
        {plat::kEventCommand, plat::kCommandLeftSoftKey}, {plat::kEventCommand, plat::kCommandRightSoftKey},
        {plat::kEventCommand, plat::kCommandRightSoftKey}, {plat::kEventFocusLost, 0},
        {plat::kEventClose, 0},                {plat::kEventSave, 0}};
    EXPECT_EQ(got, want);
}

// Sticky arrows: what each arrow reads after each report, in one game's
// order. Off, the same taps hold nothing.
TEST_F(Events, StickyArrowsHoldFromAPressUntilAnotherArrowOrTheSameAgain) {
    namespace input = plat::input;
    enum class Act { Down, Repeat, Up, FocusLost, ReleaseAll, Off };
    const struct {
        const char* step;
        Act act;
        uint32_t key;  // Down, Repeat: the key pressed (source 1, or 2 for a digit)
        uint32_t held;  // the arrow that reads held after it; 0: none
    } steps[] = {
        {"tap Left", Act::Down, plat::kKeyLeft, plat::kKeyLeft},
        {"let Left go", Act::Up, 0, plat::kKeyLeft},
        {"another key", Act::Down, '5', plat::kKeyLeft},
        {"tap Up", Act::Down, plat::kKeyUp, plat::kKeyUp},
        {"Up repeats", Act::Repeat, plat::kKeyUp, plat::kKeyUp},
        {"let Up go", Act::Up, 0, plat::kKeyUp},
        {"Up's repeat after", Act::Repeat, plat::kKeyUp, plat::kKeyUp},
        {"let it go", Act::Up, 0, plat::kKeyUp},
        {"tap Up again", Act::Down, plat::kKeyUp, plat::kKeyUp},  // still down
        {"and let it go", Act::Up, 0, 0},
        {"tap Right", Act::Down, plat::kKeyRight, plat::kKeyRight},
        {"focus lost", Act::FocusLost, 0, 0},
        {"tap Down", Act::Down, plat::kKeyDown, plat::kKeyDown},
        {"a modal box", Act::ReleaseAll, 0, 0},
        {"tap Down again", Act::Down, plat::kKeyDown, plat::kKeyDown},
        {"let Down go", Act::Up, 0, plat::kKeyDown},
        {"option off", Act::Off, 0, 0},
    };
    const uint32_t arrows[] = {plat::kKeyLeft, plat::kKeyUp, plat::kKeyRight, plat::kKeyDown};
    for (const bool sticky : {true, false}) {
        input::setStickyArrows(sticky);
        for (const auto& s : steps) {
            const input::Source source = s.key == '5' ? 2 : 1;
            switch (s.act) {
                case Act::Down: input::keyDown(source, s.key); break;
                case Act::Repeat: input::keyDown(source, s.key, true); break;
                case Act::Up: input::keyUp(1); break;
                case Act::FocusLost: input::focus(false); break;
                case Act::ReleaseAll: input::releaseAll(); break;
                case Act::Off: input::setStickyArrows(false); break;
            }
            input::keyUp(2);
            // Off, an arrow reads held only while its key is down.
            const uint32_t want = sticky ? s.held : (s.act == Act::Down || s.act == Act::Repeat) ? s.key : 0;
            for (const uint32_t arrow : arrows) {
                EXPECT_EQ(plat::asyncKeyState(arrow), arrow == want ? plat::kKeyHeld : 0)
                    << s.step << (sticky ? " (sticky)" : " (off)") << ", arrow " << arrow;
            }
        }
        input::releaseAll();
    }
}
