// The one-running-copy rule against another copy as a second start meets it.
#include <gtest/gtest.h>

#include "app/single_instance.h"
#include "platform/headless/headless.h"

namespace {

class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override { plat::headless::reset(); }
    void TearDown() override { plat::headless::reset(); }
    int fronts() const {
        int n = 0;
        for (const auto& e : plat::headless::log()) n += e.text.rfind("front", 0) == 0;
        return n;
    }
};

}  // namespace

TEST_F(SingleInstance, TheOnlyCopyGoesOnAtOnce) {
    uint8_t found = 7;
    EXPECT_EQ(singleInstanceCheck(u"HelloApp", u"Smartphone 2002", found), 0u);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(plat::headless::now(), 0u);
}

TEST_F(SingleInstance, ASecondStartBringsTheFirstForwardAndStops) {
    plat::headless::simulateOtherInstance(UINT64_MAX, 0, u"HelloApp", u"Smartphone 2002");
    uint8_t found = 0;
    EXPECT_EQ(singleInstanceCheck(u"HelloApp", u"Smartphone 2002", found), 0u);
    EXPECT_EQ(found, 1);
    ASSERT_EQ(fronts(), 1);
    // The window handle goes to the foreground call with its lowest bit set.
    EXPECT_EQ(plat::headless::log().back().text, "front " + std::to_string(0x1000 | 1));
}

TEST_F(SingleInstance, AStartWhileTheFirstIsStillStartingWaitsForItsWindow) {
    // Looks twice per try, 500 ms apart: a window appearing at 1200 ms is
    // found by the third try's second look, at 1500 ms.
    plat::headless::simulateOtherInstance(UINT64_MAX, 1200, u"HelloApp", u"Smartphone 2002");
    uint8_t found = 0;
    EXPECT_EQ(singleInstanceCheck(u"HelloApp", u"Smartphone 2002", found), 0u);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(plat::headless::now(), 1500u);
}

TEST_F(SingleInstance, GivesUpAfterFiveTriesWhenTheWindowNeverShows) {
    plat::headless::simulateOtherInstance(UINT64_MAX, UINT64_MAX, u"HelloApp", u"Smartphone 2002");
    uint8_t found = 1;
    EXPECT_EQ(singleInstanceCheck(u"HelloApp", u"Smartphone 2002", found), kInstanceCheckFailed);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(plat::headless::now(), 2500u);
    EXPECT_EQ(fronts(), 0);
}

TEST_F(SingleInstance, AWindowWithAnotherTitleIsNotTheOtherCopy) {
    plat::headless::simulateOtherInstance(UINT64_MAX, 0, u"HelloApp", u"Smartphone 2003");
    uint8_t found = 0;
    EXPECT_EQ(singleInstanceCheck(u"HelloApp", u"Smartphone 2002", found), kInstanceCheckFailed);
    EXPECT_EQ(fronts(), 0);
}

TEST_F(SingleInstance, AStartJustAsTheFirstEndsTakesOver) {
    // The first copy's marker goes at 700 ms, its window with it: the retry
    // makes the marker afresh and this copy starts normally.
    plat::headless::simulateOtherInstance(700, UINT64_MAX, u"HelloApp", u"Smartphone 2002");
    uint8_t found = 0;
    EXPECT_EQ(singleInstanceCheck(u"HelloApp", u"Smartphone 2002", found), 0u);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(plat::headless::now(), 1000u);
}
