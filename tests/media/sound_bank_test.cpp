// The sound bank: which slots play, how, and what reaches the handset.
#include <gtest/gtest.h>

#include <string>

#include "media/sound_bank.h"
#include "platform/headless/headless.h"

namespace {

std::string logText() {
    std::string text;
    for (const auto& entry : plat::headless::log()) text += entry.text + "\n";
    return text;
}

class SoundBankTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::reset();
        bank = newSoundBank();
        ASSERT_NE(bank, nullptr);
    }
    void TearDown() override { delete bank; }
    SoundBank* bank = nullptr;
};

}  // namespace

TEST_F(SoundBankTest, HoldsTheMusicInSlotZeroAndTheClickInSlotTen) {
    EXPECT_EQ(std::u16string(bank->soundNames[0]), u"FLARE");
    EXPECT_EQ(std::u16string(bank->soundNames[10]), u"DEF");
    for (int slot = 0; slot < 20; ++slot) {
        if (slot == 0 || slot == 10) continue;
        EXPECT_EQ(bank->soundNames[slot][0], 0) << "slot " << slot;
    }
}

TEST_F(SoundBankTest, PlayStartsSlotsBelowTenWithoutWaiting) {
    EXPECT_EQ(bank->play(0), 1);
    EXPECT_EQ(logText(), "sound start FLARE\n");
    EXPECT_EQ(plat::headless::now(), 0u);
}

TEST_F(SoundBankTest, PlayOfTheWaitingSlotsOrOutsideTheBankPlaysNothing) {
    EXPECT_EQ(bank->play(10), 0);
    EXPECT_EQ(bank->play(19), 0);
    EXPECT_EQ(bank->play(1000), 0);
    EXPECT_EQ(bank->play(-1), 0);
    EXPECT_EQ(logText(), "");
}

TEST_F(SoundBankTest, AnEmptySlotIsSilence) {
    EXPECT_EQ(bank->play(3), 1);
    EXPECT_EQ(logText(), "");
}

TEST_F(SoundBankTest, PlayBlockingPlaysTheClickToItsEnd) {
    EXPECT_EQ(bank->playBlocking(0), 1);
    EXPECT_EQ(logText(), "sound play DEF\n");
    // The click lasts about 0.15 s of the handset's clock.
    EXPECT_GE(plat::headless::now(), 140u);
    EXPECT_LE(plat::headless::now(), 160u);
    plat::headless::clearLog();
    EXPECT_EQ(bank->playBlocking(10), 0);
    EXPECT_EQ(bank->playBlocking(-1), 0);
    EXPECT_EQ(logText(), "");
}

TEST_F(SoundBankTest, StopEndsWhateverPlays) {
    bank->play(0);
    bank->stop();
    bank->stop();
    EXPECT_EQ(logText(), "sound start FLARE\nsound stop\nsound stop\n");
}
