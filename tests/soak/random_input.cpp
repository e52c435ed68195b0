// Random input for the soak, chosen from what the screen shows.
#include "random_input.h"

#include <climits>
#include <cstdlib>

#include "game/session.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "platform/testing/windowing_reset.h"
#include "platform/types.h"
#include "screens/controller.h"
#include "state/program_state.h"

namespace {

constexpr uint32_t kMovementKeys[8] = {plat::kKeyLeft, plat::kKeyRight, plat::kKeyUp, plat::kKeyDown, '2', '4', '6', '8'};
constexpr int32_t kExitRow = 4;

bool inMenu() { return screenController.state == MainMenu || screenController.state == GameMenu; }

bool playing() { return screenController.state == Playing && gameOverShown == 0; }

}  // namespace

bool RandomInput::chance(double probability) { return std::uniform_real_distribution<double>(0, 1)(rng) < probability; }

int RandomInput::pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(rng); }

bool RandomInput::exitHighlighted() const { return inMenu() && screenController.cursor == kExitRow; }

void RandomInput::pressKey(uint32_t key) {
    ++keyPresses;
    plat::headless::pressKey(key);
}

void RandomInput::pressSoftKey(bool left) {
    if (!left && exitHighlighted()) {
        ++exitsAvoided;
        return;
    }
    ++softKeys;
    plat::input::softKey(left);
}

void RandomInput::pressEnter() {
    if (exitHighlighted()) {
        ++exitsAvoided;
        return;
    }
    if (inMenu() && screenController.cursor == 0) {
        ++newGames;
        if (exitEvery != 0 && newGames % exitEvery == 0) exitWanted = true;
    }
    pressKey(plat::kKeyReturn);
}

// Down to "Exit" in the next menu the player sees, then Enter on it.
bool RandomInput::goForExit() {
    if (!exitWanted || !inMenu()) return false;
    if (screenController.cursor != kExitRow) {
        pressKey(plat::kKeyDown);
        return true;
    }
    exitWanted = false;
    exitChosen = true;
    ++exitsChosen;
    pressKey(plat::kKeyReturn);
    return true;
}

void RandomInput::startAgain() {
    for (bool& key : held) key = false;
    exitChosen = false;
}

void RandomInput::setHeld(int which, bool down) {
    held[which] = down;
    plat::setKeyHeld(kMovementKeys[which], down);
}

void RandomInput::toggleMovementKey() {
    const int which = pick(8);
    setHeld(which, !held[which]);
    // A key going down also arrives as a key press, as on the handset.
    if (held[which]) pressKey(kMovementKeys[which]);
}

void RandomInput::chaseSmallerFish() {
    const GameSession* game = currentGame;
    if (!game || !game->player) return;
    const PlayerFish& p = *game->player;
    const SchoolFish* target = nullptr;
    int32_t best = INT32_MAX;
    for (int i = 0; i < game->fishCount; ++i) {
        const SchoolFish* f = game->school[i];
        if (!f || !f->alive || f->eatenAnim || f->sizeClass >= p.sizeClass || f->x < -30 || f->x > 190) continue;
        const int32_t distance = std::abs(f->x - p.x) + std::abs(f->y - p.y);
        if (distance < best) {
            best = distance;
            target = f;
        }
    }
    for (int k = 0; k < 8; ++k) setHeld(k, false);
    if (!target) return;
    // An arrow for the way across, a digit for the way up or down.
    const int32_t dx = target->x + kSchoolStripWidth[target->sizeClass] / 4 - (p.x + p.stripWidth[p.sizeClass] / 4);
    const int32_t dy = target->y - p.y;
    if (dx < -2) setHeld(0, true);
    if (dx > 2) setHeld(1, true);
    if (dy < -2) setHeld(4, true);
    if (dy > 2) setHeld(7, true);
}

void RandomInput::oneEvent() {
    switch (pick(10)) {
        case 0:
        case 1:
            pressKey(chance(0.5) ? plat::kKeyUp : plat::kKeyDown);
            break;
        case 2:
            pressKey(chance(0.5) ? plat::kKeyLeft : plat::kKeyRight);
            break;
        case 3:
        case 4:
            pressEnter();
            break;
        case 5:
            pressSoftKey(true);
            break;
        case 6:
            pressSoftKey(false);
            break;
        case 7: {
            // Any other key: digits, Back, letters, codes no handset has.
            const uint32_t key = static_cast<uint32_t>(1 + pick(255));
            if (key == plat::kKeyReturn) {
                pressEnter();
            } else {
                pressKey(key);
            }
            break;
        }
        case 8:
            ++paints;
            plat::input::exposed();
            break;
        default:
            ++focusChanges;
            if (chance(0.5)) {
                plat::input::focus(true);
            } else {
                plat::input::focus(false);  // which lets every key go
                for (bool& key : held) key = false;
            }
            break;
    }
}

void RandomInput::afterTick() {
    if (exitChosen || goForExit()) return;
    if (chance(0.005)) hunting = !hunting;
    if (playing() && hunting) {
        chaseSmallerFish();
    } else if (chance(playing() ? 0.15 : 0.05)) {
        toggleMovementKey();
        return;
    }
    // A game runs long enough to be fed, to grow and to starve; the other
    // screens are left soon.
    const double eventChance = playing() ? 0.004 : gameOverShown ? 0.05 : 0.3;
    if (!chance(eventChance)) return;
    if (inMenu() && screenController.cursor == 0 && chance(0.3)) {
        pressEnter();  // New game
    } else if (gameOverShown && chance(0.5)) {
        pressSoftKey(true);  // MENU, back to the main menu
    } else {
        oneEvent();
    }
}

void RandomInput::whenIdle() {
    if (exitChosen || goForExit()) return;
    if (chance(0.4)) {
        ++focusChanges;
        plat::input::focus(true);
    } else {
        oneEvent();
    }
}
