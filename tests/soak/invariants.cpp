// The game's invariants, checked after every game frame of the soak.
#include "invariants.h"

#include "game/session.h"
#include "state/program_state.h"

namespace {

int32_t rightBound(int32_t sizeClass) { return 175 - kPlayerStripWidth[sizeClass] / 2; }
int32_t bottomBound(int32_t sizeClass) { return 198 - kPlayerStripHeight[sizeClass]; }

}  // namespace

void InvariantChecker::fail(const std::string& what) {
    if (failures.size() < 20) failures.push_back("frame " + std::to_string(frames) + ": " + what);
}

void InvariantChecker::afterFrame(const GameSession& game) {
    ++frames;
    if (game.fishCount != 7) fail("fishCount " + std::to_string(game.fishCount));
    for (int i = 0; i < 7; ++i) {
        const SchoolFish* fish = game.school[i];
        if (!fish) {
            fail("school fish " + std::to_string(i) + " missing");
            continue;
        }
        if (fish->sizeClass < 0 || fish->sizeClass > 4 || fish->speed != speedForClass(fish->sizeClass) ||
            fish->stripWidth != kSchoolStripWidth[fish->sizeClass] ||
            fish->stripHeight != kSchoolStripHeight[fish->sizeClass]) {
            fail("school fish " + std::to_string(i) + " class " + std::to_string(fish->sizeClass) + " speed " +
                 std::to_string(fish->speed) + " strip " + std::to_string(fish->stripWidth) + "x" +
                 std::to_string(fish->stripHeight));
        }
    }
    if (gamePhase != 0 && gamePhase != 1 && gamePhase != 3) fail("gamePhase " + std::to_string(gamePhase));
    if (hungerDivisor == 0 || satiety != foodStore - hungerClock / hungerDivisor) {
        fail("satiety " + std::to_string(satiety) + " foodStore " + std::to_string(foodStore) + " hungerClock " +
             std::to_string(hungerClock) + " hungerDivisor " + std::to_string(hungerDivisor));
    }

    const PlayerFish* player = game.player;
    if (!player) {
        fail("no player fish");
        return;
    }
    if (player->sizeClass < 1 || player->sizeClass > 4) {
        fail("player sizeClass " + std::to_string(player->sizeClass));
        return;
    }
    if (player->speed != 5 - player->sizeClass) {
        fail("player speed " + std::to_string(player->speed) + " at class " + std::to_string(player->sizeClass));
    }

    // New game resets startFrames, and its first frame counts it to 1.
    const bool newGame = &game != lastGame || startFrames == 1;
    if (newGame) {
        ++gameSerial;
        lastClass = 1;
        lastDying = false;
        overhangX = overhangY = false;
    }
    const bool grew = !newGame && player->sizeClass > lastClass;
    if (grew) ++growths;
    if (!newGame && player->sizeClass < lastClass) ++shrinks;
    if (player->dying && !lastDying) ++deaths;
    if (gamePhase == 3 && starvedGame != gameSerial) {
        starvedGame = gameSerial;
        ++starvations;
        if (game.score > highestEndedScore) highestEndedScore = game.score;
    }
    if (player->sizeClass > largestClass) largestClass = player->sizeClass;

    checkPlayerBounds(game, grew);

    lastGame = &game;
    lastClass = player->sizeClass;
    lastDying = player->dying != 0;
}

void InvariantChecker::checkPlayerBounds(const GameSession& game, bool grew) {
    const PlayerFish& p = *game.player;
    if (grew) {
        if (!overhangX) ceilingX = rightBound(lastClass);
        if (!overhangY) ceilingY = bottomBound(lastClass);
        overhangX = overhangY = true;
    }
    // Once back inside its bounds the fish cannot leave them again without growing.
    if (overhangX && p.x <= rightBound(p.sizeClass)) overhangX = false;
    if (overhangY && p.y <= bottomBound(p.sizeClass)) overhangY = false;

    if (p.x < 0 || p.x > (overhangX ? ceilingX : rightBound(p.sizeClass))) {
        fail("player x " + std::to_string(p.x) + " at class " + std::to_string(p.sizeClass));
    }
    if (p.dying) {
        // Out of the water while its skeleton rises: y stands at -100.
        if (p.y != -100) fail("dying player y " + std::to_string(p.y));
        return;
    }
    if (p.y < 21 || p.y > (overhangY ? ceilingY : bottomBound(p.sizeClass))) {
        fail("player y " + std::to_string(p.y) + " at class " + std::to_string(p.sizeClass));
    }
}
