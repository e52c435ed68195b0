// The one place where the game says a game begins and ends, for its replay:
// the header taken at New game, the end, the state a replay checks, and a
// watched game set up from a replay's header.
#include "screens/game_replays.h"

#include "game/session.h"
#include "platform/game_tick.h"
#include "platform/random.h"
#include "screens/controller.h"
#include "state/program_state.h"

namespace {

using plat::replay::Watch;

int32_t fishEatenNow() { return currentGame ? currentGame->score : 0; }

// FNV-1a over what decides the game from here on, folded to 16 bits.
struct StateHash {
    uint32_t h = 2166136261u;
    void add(int64_t value) {
        for (int i = 0; i < 8; ++i) h = (h ^ static_cast<uint8_t>(value >> (8 * i))) * 16777619u;
    }
};

uint16_t stateChecksumNow() {
    StateHash s;
    if (const GameSession* game = currentGame) {
        s.add(game->score);
        s.add(game->fishCount);
        if (const PlayerFish* p = game->player) {
            for (int64_t v : {int64_t{p->x}, int64_t{p->y}, int64_t{p->facing}, int64_t{p->sizeClass},
                              int64_t{p->alive}, int64_t{p->dying}}) {
                s.add(v);
            }
        }
        for (const SchoolFish* f : game->school) {
            if (!f) continue;
            for (int64_t v : {int64_t{f->x}, int64_t{f->y}, int64_t{f->sizeClass}, int64_t{f->direction},
                              int64_t{f->speed}, int64_t{f->alive}}) {
                s.add(v);
            }
        }
    }
    for (int64_t v : {int64_t{satiety}, int64_t{foodStore}, int64_t{hungerClock}, int64_t{hungerDivisor},
                      int64_t{hungerRate}, int64_t{gamePhase}}) {
        s.add(v);
    }
    s.add(plat::randomState());
    return static_cast<uint16_t>(s.h ^ (s.h >> 16));
}

}  // namespace

void connectGameToReplays() {
    plat::replay::countFishWith(fishEatenNow);
    plat::replay::checkStateWith(stateChecksumNow);
}

bool gameEnds(plat::replay::Ending ending) {
    switch (plat::replay::watchState()) {
        case Watch::None:
            plat::replay::finishRecording(ending);
            return false;
        case Watch::Waiting:
            return false;
        case Watch::Playing:
            plat::replay::endPlayback(ending);
            return true;
        case Watch::Ended:
            return true;
    }
    return false;
}

uint32_t prepareNewGame() {
    if (plat::replay::watchState() == Watch::Waiting) {
        const plat::replay::Header& h = plat::replay::watched().header;
        for (int i = 0; i < 6; ++i) screenController.switches[i] = h.switches[i];
        if (scoreTable) {
            for (int i = 0; i < 4; ++i) scoreTable->bestScores[i] = h.bestScores[i];
        }
        vibrationTicks = h.vibrationTicks;
        plat::seedRandom(h.generator);
    }
    return plat::randomState();
}

void newGameBegins(uint32_t generator) {
    if (plat::replay::watchState() == Watch::Waiting) return plat::replay::beginPlayback();
    plat::replay::Header h;
    h.level = screenController.switches[kLevelSwitch] == 1 ? 1 : 0;
    for (int i = 0; i < 6; ++i) h.switches[i] = screenController.switches[i] == 1 ? 1 : 0;
    h.vibrationTicks = static_cast<uint8_t>(vibrationTicks < plat::kVibrationLength ? vibrationTicks : plat::kVibrationLength - 1);
    h.generator = generator;
    if (scoreTable) {
        for (int i = 0; i < 4; ++i) h.bestScores[i] = scoreTable->bestScores[i];
    }
    plat::replay::startRecording(h);
}

bool watchingReplay() { return plat::replay::watchState() != Watch::None; }

bool replayWaitsToStart() { return plat::replay::watchState() == Watch::Waiting; }
