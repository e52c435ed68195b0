// The soak's player: random input from a fixed seed, fed one event at a time
// through the handset's feed functions, so that every choice is made on the
// screen it will reach. Exit only on purpose: Enter and the right soft key are
// held back while a menu has "Exit" highlighted, except every `exitEvery`
// New games, when the player goes to the next menu's Exit and chooses it.
#pragma once

#include <cstdint>
#include <random>

struct RandomInput {
    explicit RandomInput(uint32_t seed) : rng(seed) {}

    // After a game tick: perhaps press or release a held movement key (or,
    // in spells, hold the keys that chase the nearest smaller fish, so that
    // games also see growth and shrinking), and perhaps one event of the
    // kind the current screen invites.
    void afterTick();
    // The program waits and no timer runs (focus lost, a pause, a menu left
    // from a game, an ended game): one event, often the focus coming back.
    void whenIdle();

    uint64_t keyPresses = 0;
    uint64_t softKeys = 0;
    uint64_t focusChanges = 0;
    uint64_t paints = 0;
    uint64_t newGames = 0;
    uint64_t exitsAvoided = 0;  // Enter or the right soft key held back on "Exit"
    uint64_t exitsChosen = 0;

    uint64_t exitEvery = 0;    // New games between two Exits; 0: never
    bool exitChosen = false;   // Enter went to Exit; the program is ending

    // The program starts afresh: no key is held any more.
    void startAgain();

private:
    std::mt19937 rng;
    bool held[8] = {};
    bool hunting = true;
    bool exitWanted = false;

    bool chance(double probability);
    int pick(int count);
    bool exitHighlighted() const;
    void toggleMovementKey();
    void setHeld(int which, bool down);
    void chaseSmallerFish();
    void oneEvent();
    void pressKey(uint32_t key);
    void pressSoftKey(bool left);
    void pressEnter();
    bool goForExit();
};
