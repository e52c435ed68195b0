// The game's invariants as the soak checks them after every game frame, and
// the little it counts on the way (growths, deaths, starvations) to show that
// the random play really went through the game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GameSession;

struct InvariantChecker {
    uint64_t frames = 0;
    uint64_t growths = 0;
    uint64_t shrinks = 0;
    uint64_t deaths = 0;       // the player eaten by a larger fish
    uint64_t starvations = 0;  // games ended by hunger
    int32_t largestClass = 0;
    int32_t highestEndedScore = 0;  // of every game that ended, over the whole run
    std::vector<std::string> failures;  // the first few, with the frame number

    // Called right after each game frame with the session it ran on.
    void afterFrame(const GameSession& game);

private:
    const GameSession* lastGame = nullptr;
    int32_t lastClass = 1;
    bool lastDying = false;
    uint64_t gameSerial = 0;
    uint64_t starvedGame = 0;
    // A fish that grows is not pulled back inside its new bounds: until its
    // next right (down) move it may stand past them, though never past the
    // bound it had before it grew.
    bool overhangX = false;
    bool overhangY = false;
    int32_t ceilingX = 0;
    int32_t ceilingY = 0;

    void fail(const std::string& what);
    void checkPlayerBounds(const GameSession& game, bool grew);
};
