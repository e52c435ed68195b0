// Replays: one game kept as what reached the program from New game on, so it
// can be played again identically on any edition. The format is described in
// docs/replays.md. This header is the replay room's one door
// (platform/replay/): the replay record, its reading and writing, the calls a
// back end makes to record and to watch, the game's begin and end, the
// program's clock while a replay is watched, and seeking.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/game_tick.h"

namespace plat::replay {

// The format written; format 1 (no program version, no state checks) is still read.
constexpr uint8_t kFormatVersion = 2;
// A written replay checks the game's state as every 20th tick begins (one a second).
constexpr uint32_t kCheckInterval = 20;
// A game tick's length on the program's clock: a replay's time is its ticks times this.
constexpr uint32_t kTickMs = 50;
// The longest input a replay may hold, and the longest text form read.
constexpr size_t kMaxInputBytes = 1u << 20;
constexpr size_t kMaxTextChars = 2u << 20;
constexpr uint32_t kMaxTicks = (1u << 22) - 1;  // some 58 hours of play
// What comes before the text form in a link's fragment ("#replay=...").
constexpr std::string_view kLinkName = "replay=";

enum class Edition : uint8_t { Headless = 0, Desktop = 1, Web = 2 };
// CutShort: the game outgrew what a replay may hold (kMaxInputBytes,
// kMaxTicks); the replay ends where it was cut, at a tick boundary.
enum class Ending : uint8_t { Unfinished = 0, Starved = 1, NewGame = 2, Exit = 3, Closed = 4, CutShort = 5 };

// The game's state at New game that the input alone does not decide.
struct Header {
    Edition edition = Edition::Headless;
    uint8_t level = 0;          // 0 easy, 1 hard
    uint8_t switches[6] = {};   // the controller's switches, each 0 or 1
    uint8_t vibrationTicks = 0;  // ticks a vibration had already run, below plat::kVibrationLength
    uint32_t generator = 1;     // the generator's state before the session's draws
    int32_t bestScores[4] = {};
};

// The program that recorded a replay (its CMake project version); 0.0.0 for
// format 1, which does not say.
struct ProgramVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t patch = 0;
};
// This program's version.
ProgramVersion thisProgram();
std::string versionText(const ProgramVersion& version);  // "5.0.4", or "unknown" for 0.0.0

// The game's state as ticks interval, 2 x interval, ... began (each a 16-bit
// checksum the game computes); interval 0: none kept (format 1).
struct StateChecks {
    uint32_t interval = 0;
    std::vector<uint16_t> sums;
};

struct Outcome {
    Ending ending = Ending::Unfinished;
    int32_t fishEaten = 0;
    uint32_t ticks = 0;  // game-timer ticks from New game to the end
    bool operator==(const Outcome& o) const {
        return ending == o.ending && fishEaten == o.fishEaten && ticks == o.ticks;
    }
};

struct Replay {
    uint8_t format = kFormatVersion;  // as read; encode() always writes kFormatVersion
    ProgramVersion version;
    Header header;
    Outcome outcome;
    std::vector<uint8_t> input;  // the item stream (docs/replays.md)
    StateChecks checks;
};

// --- The format ----------------------------------------------------------------
std::vector<uint8_t> encode(const Replay& replay);
// False with a one-line reason for anything but a well-formed replay.
bool decode(const uint8_t* data, size_t size, Replay& replay, std::string& error);
// base64url without padding, and back. Reading takes text as pasted: what
// follows the last "replay=" (else the last '#'), spaces and line breaks
// skipped, up to the first other character; letters past the replay's own
// length are ignored.
std::string toText(const std::vector<uint8_t>& bytes);
bool fromText(std::string_view text, std::vector<uint8_t>& bytes, std::string& error);
// A file's contents or an argument: the binary form or the text form.
bool readReplay(std::string_view contents, Replay& replay, std::string& error);
// A file holding either form (at most kMaxTextChars read), or, when no such
// file exists, the argument itself as text or a link.
bool loadReplay(const std::string& fileOrLink, Replay& replay, std::string& error);
// The link fragment for a replay: "replay=" and the text form.
std::string linkFragment(const Replay& replay);
const char* endingName(Ending ending);
// For a replay cut short, the one line that says so, in hours and minutes of
// play; empty for any other.
std::string cutShortNotice(const Replay& replay);
const char* editionName(Edition edition);
// Ticks as the game's time, "m:ss.s".
std::string tickTime(uint32_t ticks);
// What a replay holds, on one line: "format=2 edition=desktop level=easy
// version=5.0.4 fish=12 duration=3:05.2 ticks=3704 ending=starved bytes=1234".
std::string describe(const Replay& replay, size_t bytes);

// --- The back end's two calls (platform/backend.h) ----------------------------------
// Every game this edition plays is recorded; each finished game goes to
// `keep`, once. Nothing is recorded while a replay is watched.
void recordGames(Edition edition, void (*keep)(const Replay&));
// The program will show this replay: a file holding either form (at most
// kMaxTextChars read), or a link or the text itself. False with a one-line
// reason ("cannot read this replay file", or "this replay cannot be played:"
// and why), and nothing changed, for anything else.
bool watchFrom(const std::string& fileLinkOrText, std::string& error);

// --- The game's side ---------------------------------------------------------------
// How many fish the current game has eaten (the game's own count), set once
// at start-up.
void countFishWith(int32_t (*fishEaten)());
// A checksum of the game's state (its fish, school, score, hunger and
// generator), set once at start-up; kept in a recording and compared while
// watching, every kCheckInterval ticks.
void checkStateWith(uint16_t (*stateChecksum)());
// A game begins: from now on what reaches the program is recorded. The
// input buffer is reserved here, so recording allocates nothing per frame
// until it has held about ten minutes of busy play.
void startRecording(const Header& header);
bool recording();
// Game-timer ticks the game being recorded has run.
uint32_t recordedTicks();
// The recorded game ends: its replay goes to the keeper.
void finishRecording(Ending ending);

// --- Watching ----------------------------------------------------------------------
enum class Watch { None, Waiting, Playing, Ended };
// The program runs to show this replay: live input never reaches it, nothing
// is recorded, and the game starts from the replay's header.
void watch(Replay replay);
Watch watchState();
const Replay& watched();
// The watched game's session exists: its input starts at tick 0.
void beginPlayback();
// The watched game reached an end of its own (starved, left, closed).
void endPlayback(Ending ending);
// What watching saw: compare with watched().outcome (so far, while it plays).
Outcome observedOutcome();
// Game-timer ticks the watched game has run.
uint32_t watchedTicks();
// The first tick whose state check differed from the recording's (the game
// departs from the replay before that tick begins); 0 while none has.
uint32_t departure();

// Seeking: the watched game runs to `tick` as fast as it can, with no sound,
// vibration, presentation or waiting (the program's clock jumps to each
// timer). Behind the current tick the watched game starts again from its
// header first (the platform posts kEventRestartWatched to the window, whose
// procedure starts the watched game). Beyond the end it stops at the end.
void seekTo(uint32_t tick);
// True while a seek runs.
bool seeking();

// The pace a replay is watched at, kept by a back end that shows one in real
// time: the program's clock runs `speed` times the real one, or stands still
// while paused.
struct Pace {
    enum class Change { PauseOrPlay, Faster, Slower };
    bool paused = false;
    uint32_t speed = 1;    // 1, 2, 4 or 8
    uint64_t clockAt = 0;  // the program's clock at the last change
    uint64_t realAt = 0;   // the real clock then

    void start(uint64_t real);
    uint64_t clock(uint64_t real) const;
    // Real milliseconds for a span of the program's clock; -1 while paused.
    int64_t realWait(uint64_t programSpan) const;
    void change(Change change, uint64_t real);
};

// --- The program's clock ------------------------------------------------------------
// Every back end answers backend::now() with programClock(its own clock) and
// waits backEndWait() for a span of the program's clock. A back end that shows
// a watched replay in real time calls paceInRealTime once it starts: the
// program's clock then runs at the watcher's pace. Seeking jumps it ahead.
uint64_t programClock(uint64_t backEndMs);
// Back-end milliseconds for a span of the program's clock; -1: for ever (paused).
int64_t backEndWait(uint64_t programSpan);
void paceInRealTime(uint64_t realMs);
void changePace(Pace::Change change, uint64_t realMs);

// What a back end shows the watcher.
struct Shown {
    Watch state = Watch::None;
    bool paused = false;
    uint32_t speed = 1;
    uint32_t elapsedMs = 0;     // the watched game's time: its ticks x kTickMs
    uint32_t totalMs = 0;       // the recorded game's
    int64_t departureMs = -1;   // where it departs from the recording; -1: it does not
};
Shown shown();
// True once after each change of what the watcher is shown (to the tenth of
// a second): the back end then shows shown(). Never while seeking.
bool shownChanged();
// "FINGULP replay - 1:23 / 3:45 - 2x", "... - paused", "... - ended",
// with " - departs at 0:42.0" once it departs: the desktop's window title.
std::string shownTitle(const Shown& shown);

}  // namespace plat::replay
