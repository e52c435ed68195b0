// The `state` line of the headless runner: the controller, the program-wide
// values, the game and its fish as name=value pairs.
#include "testing/state_report.h"

#include "game/session.h"
#include "screens/controller.h"
#include "state/program_state.h"

namespace {

const char* stateName(int32_t state) {
    switch (state) {
        case MainMenu: return "MainMenu";
        case GameMenu: return "GameMenu";
        case Playing: return "Playing";
        case Paused: return "Paused";
        case TitlePicture: return "TitlePicture";
        case OptionsFromMain: return "OptionsFromMain";
        case OptionsFromGame: return "OptionsFromGame";
        case AboutFromMain: return "AboutFromMain";
        case AboutFromGame: return "AboutFromGame";
        case HelpFromMain: return "HelpFromMain";
        case HelpFromGame: return "HelpFromGame";
        default: return "?";
    }
}

void add(std::string& line, const char* name, const std::string& value) {
    if (!line.empty()) line += ' ';
    line += name;
    line += '=';
    line += value;
}

void add(std::string& line, const char* name, int64_t value) { add(line, name, std::to_string(value)); }

template <typename T>
std::string digits(const T* values, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::to_string(static_cast<int64_t>(values[i]));
    return text;
}

}  // namespace

std::string describeProgramState() {
    const ScreenController& c = screenController;
    std::string line;
    add(line, "state", stateName(c.state));
    add(line, "cursor", c.cursor);
    add(line, "helpTop", c.helpTop);
    add(line, "flags", digits(c.flags, 6));
    add(line, "optionsDraft", digits(optionsDraft, 3));
    add(line, "gamePhase", gamePhase);
    add(line, "gameOverShown", gameOverShown);
    add(line, "gameEnded", gameEnded);
    add(line, "startFrames", startFrames);
    add(line, "musicTicks", musicTicks);
    add(line, "vibrationRunning", vibrationRunning);
    const GameSession* game = currentGame;
    if (game && game->player) {
        const PlayerFish& p = *game->player;
        add(line, "score", game->score);
        add(line, "difficulty", game->difficulty);
        add(line, "sizeClass", p.sizeClass);
        add(line, "x", p.x);
        add(line, "y", p.y);
        add(line, "facing", p.facing);
        add(line, "alive", p.alive);
        add(line, "dying", p.dying);
    }
    add(line, "satiety", satiety);
    add(line, "foodStore", foodStore);
    add(line, "hungerClock", hungerClock);
    add(line, "hungerRate", hungerRate);
    std::string best;
    for (int i = 0; i < 4; ++i) best += (i ? "," : "") + std::to_string(scoreTable ? scoreTable->bestScores[i] : 0);
    add(line, "bestScores", best);
    if (game) {
        for (int i = 0; i < game->fishCount && i < 7; ++i) {
            const SchoolFish* f = game->school[i];
            if (!f) continue;
            const std::string name = "fish" + std::to_string(i);
            add(line, name.c_str(),
                std::to_string(f->x) + "," + std::to_string(f->y) + "," + std::to_string(f->sizeClass) + "," +
                    std::to_string(f->direction) + "," + std::to_string(f->speed) + "," + std::to_string(f->alive) +
                    "," + std::to_string(f->eatenAnim));
        }
    }
    return line;
}
