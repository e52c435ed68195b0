// Every game played on the desktop kept as a replay file in the user's data
// folder: named by its number in the folder, date, time and score, written
// with the same safe replace as config.ini, the best kept for ever and the
// newest 50 others.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <regex>

#include "platform/files.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

constexpr size_t kNewestKept = 50;
constexpr int64_t kLastNumber = 999999999;

// The names this program gives; any other file in the folder is left alone.
// Names without a number come from earlier versions.
const std::regex& replayName() {
    static const std::regex name(
        R"((?:(\d{6,9})_)?\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d_score-(-?\d{1,10})(_\d{1,3})?\.fgr)");
    return name;
}

// A replay's number and score; false for a name not of ours.
bool parseName(const std::string& name, int64_t& number, int64_t& score) {
    std::smatch m;
    if (!std::regex_match(name, m, replayName())) return false;
    number = m[1].matched ? std::strtoll(m[1].str().c_str(), nullptr, 10) : 0;
    score = std::strtoll(m[2].str().c_str(), nullptr, 10);
    return true;
}

int64_t scoreOf(const std::string& name) {
    int64_t number = 0, score = 0;
    return parseName(name, number, score) ? score : INT64_MIN;
}

int64_t numberOf(const std::string& name) {
    int64_t number = 0, score = 0;
    return parseName(name, number, score) ? number : 0;
}

std::vector<std::string> replayFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat st {};
        if (scoreOf(name) != INT64_MIN && lstat((folder + name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            names.push_back(name);
        }
    }
    closedir(dir);
    return names;
}

}  // namespace

std::string replayFolder() { return userFolder("XDG_DATA_HOME", "/.local/share", "/fingulp/replays/"); }

std::string replayFileName(int64_t number, int64_t when, int32_t score) {
    const time_t seconds = static_cast<time_t>(when);
    struct tm local {};
    localtime_r(&seconds, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    char numbered[16];
    std::snprintf(numbered, sizeof numbered, "%06lld_", static_cast<long long>(number));
    return numbered + std::string(stamp) + "_score-" + std::to_string(score) + ".fgr";
}

int64_t nextReplayNumber(const std::vector<std::string>& names) {
    int64_t last = 0;
    for (const std::string& name : names) last = std::max(last, numberOf(name));
    return std::min(last + 1, kLastNumber);
}

std::vector<std::string> replaysToDrop(const std::vector<std::string>& names, const std::string& written) {
    std::vector<std::string> sorted;
    for (const std::string& name : names) {
        if (scoreOf(name) != INT64_MIN) sorted.push_back(name);
    }
    // Oldest first, by number: the clock may have been set back or ahead
    // since. Unnumbered names (earlier versions) come first, by date.
    std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
        const int64_t na = numberOf(a), nb = numberOf(b);
        return na != nb ? na < nb : a < b;
    });
    size_t best = 0;
    for (size_t i = 1; i < sorted.size(); ++i) {
        if (scoreOf(sorted[i]) > scoreOf(sorted[best])) best = i;
    }
    std::vector<std::string> dropped;
    // The game just written is one of the newest whatever its name says.
    const auto writtenAt = std::find(sorted.begin(), sorted.end(), written);
    size_t kept = writtenAt != sorted.end() && writtenAt - sorted.begin() != static_cast<ptrdiff_t>(best) ? 1 : 0;
    for (size_t i = sorted.size(); i-- > 0;) {
        if (i == best || sorted[i] == written) continue;
        if (kept < kNewestKept) {
            ++kept;
        } else {
            dropped.push_back(sorted[i]);
        }
    }
    return dropped;
}

void keepReplay(const plat::replay::Replay& replay) {
    const std::string folder = replayFolder();
    const auto lose = [](const char* why, const std::string& where) {
        // The folder comes from the environment: quoted, never raw bytes to the terminal.
        std::fprintf(stderr, "fingulp: this game's replay is not kept: %s %s\n", why, shownArgument(where.c_str()).c_str());
    };
    if (folder.empty()) return lose("no folder for replays is known", "(set HOME or XDG_DATA_HOME)");
    // The data folder may be a link; the game's folders in it must not be
    // (named without the final '/', which would follow one).
    const std::string replays = folder.substr(0, folder.size() - 1);
    const std::string game = replays.substr(0, replays.size() - 8);  // without "/replays"
    const std::string data = game.substr(0, game.size() - 8);        // without "/fingulp"
    std::error_code ignored;  // a fresh account may have no ~/.local/share yet
    std::filesystem::create_directories(data, ignored);
    if (!ensureFolder(data, false) || !ensureFolder(game, true) || !ensureFolder(replays, true)) {
        return lose("cannot make the folder", folder);
    }
    const int64_t number = nextReplayNumber(replayFilesIn(folder));
    std::string name = replayFileName(number, std::time(nullptr), replay.outcome.fishEaten);
    for (int n = 2; access((folder + name).c_str(), F_OK) == 0 && n < 1000; ++n) {
        name = replayFileName(number, std::time(nullptr), replay.outcome.fishEaten);
        name.insert(name.size() - 4, "_" + std::to_string(n));
    }
    const std::vector<uint8_t> bytes = plat::replay::encode(replay);
    // The system's own path: the handset's length limit binds only config.ini.
    if (!replaceFileAtomically(folder + name, bytes.data(), bytes.size())) return lose("cannot write in", folder);
    const std::string cut = plat::replay::cutShortNotice(replay);
    if (!cut.empty()) {
        std::fprintf(stderr, "fingulp: %s (%s)\n", cut.c_str(), shownArgument((folder + name).c_str()).c_str());
    }
    for (const std::string& old : replaysToDrop(replayFilesIn(folder), name)) std::remove((folder + old).c_str());
}

}  // namespace plat::sdl
