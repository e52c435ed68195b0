// The HUD band: the score at the right and the hunger bar, whose skeleton
// uncovers from the left as the player grows hungry.
#include "game/hud.h"

#include <cstdio>

#include "media/drawing_objects.h"
#include "media/surfaces.h"
#include "platform/drawing.h"
#include "state/program_state.h"

namespace {
constexpr plat::Colour kHudBlue = 0x00844100;
}

void formatScore(int32_t score, plat::Char (&text)[16]) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%3d", static_cast<int>(score));
    int i = 0;
    for (; digits[i] != '\0'; ++i) text[i] = static_cast<plat::Char>(digits[i]);
    text[i] = 0;
}

void drawHud(const GameSession& game) {
    if (!surfaces.created) return;
    plat::Surface* frame = surfaces.frameSurface;
    plat::selectFont(frame, drawing.textFont);
    plat::setTextColour(frame, plat::kWhite);
    plat::setBackgroundColour(frame, kHudBlue);
    plat::setOpaqueText(frame, true);

    // The band covers whatever swam into rows 0..19.
    plat::blockCopy(frame, 0, 0, plat::kScreenWidth, 20, surfaces.backgroundSurface, 0, 0);

    plat::Char score[16];
    formatScore(game.score, score);
    plat::drawText(frame, score, -1, plat::Rect{122, 2, 147, 19},
                   plat::kTextLeft | plat::kTextTop | plat::kTextSingleLine);

    plat::selectBitmap(surfaces.barSurface, surfaces.barBitmap);
    if (satiety <= 40) {
        const int32_t width = 60 - (3 * satiety) / 2;
        plat::blockCopy(frame, 0, 0, width, 18, surfaces.barSurface, 0, 0);
    }
}
