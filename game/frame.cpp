// One game frame: the step, the whole scene composed off screen and copied to
// the window, and the end of the game with the best-score message.
#include "game/frame.h"

#include <cstdio>

#include "game/hud.h"
#include "game/hunger.h"
#include "game/scene.h"
#include "game/school_step.h"
#include "media/surfaces.h"
#include "platform/sound.h"
#include "screens/controller.h"
#include "state/program_state.h"

void runGameFrame(GameSession& game, plat::Window* /*window*/) {
    if (gamePhase != kPhaseStarved) stepSchool(game);
    drawBackground();
    if (startFrames < 60) {
        startFrames += 1;
        if (surfaces.frameSurface) screenController.drawSoftKeys(surfaces.frameSurface);
    }
    if (gamePhase != kPhaseStarved) drawBubbles(game);
    for (int32_t i = 0; i < game.fishCount; ++i) drawSchoolFish(*game.school[i]);
    drawPlayer(*game.player);
    if (game.player->dying) drawDeath(*game.player);
    for (int32_t i = 0; i < game.fishCount; ++i) {
        if (game.school[i]->eatenAnim) drawEaten(*game.school[i]);
    }
    updateHunger(game);
    drawHud(game);
    copyFrameToScreen();
    if (gamePhase == kPhaseStarved) {
        showGameOver(game);
        gameOverShown = 1;
        gameEnded = 1;
        drawMenuCaption();
    }
}

void composeGameOverMessage(GameSession& game, plat::Char (&message)[kGameOverMessageSize]) {
    // Without a score table (its allocation failed) the game still ends
    // cleanly: the score counts as the best and nothing is stored.
    const int32_t best = scoreTable ? scoreTable->bestScores[0] : 0;
    char text[kGameOverMessageSize];
    if (best > game.score) {
        std::snprintf(text, sizeof text, "You died of starvation!\nYour score %d\nThe best score %d",
                      static_cast<int>(game.score), static_cast<int>(best));
    } else {
        if (scoreTable) scoreTable->bestScores[0] = game.score;
        std::snprintf(text, sizeof text, "You died of starvation!\nYour score %d\nis the best",
                      static_cast<int>(game.score));
    }
    int i = 0;
    for (; text[i] != '\0' && i < kGameOverMessageSize - 1; ++i) message[i] = static_cast<plat::Char>(text[i]);
    message[i] = 0;
}

void showGameOver(GameSession& game) {
    plat::stopVibration();
    plat::Char message[kGameOverMessageSize];
    composeGameOverMessage(game, message);
    drawGameOverBox(message);
}
