// The desktop executable's command line: what each form asks for, and what is
// refused (the executable then prints the usage and ends with status 2).
#include <gtest/gtest.h>

#include <vector>

#include "app/command_line.h"
#include "platform/text_encoding.h"

namespace {

using Action = CommandLine::Action;

TEST(CommandLine, EachFormAndEachRefusal) {
    const struct {
        std::vector<const char*> args;
        Action action;
        int level;
        const char* error;
    } cases[] = {
        {{}, Action::Play, -1, ""},
        {{"--level", "hard"}, Action::Play, 1, ""},
        {{"--level=easy"}, Action::Play, 0, ""},
        {{"--level", "easy", "--level", "hard"}, Action::Play, 1, ""},
        {{"--help"}, Action::Help, -1, ""},
        {{"--version", "-h"}, Action::Help, -1, ""},
        {{"--version"}, Action::Version, -1, ""},
        {{"--level"}, Action::Refuse, -1, "--level needs easy or hard"},
        {{"--level", "Hard"}, Action::Refuse, -1, "unknown level 'Hard': easy or hard"},
        {{"--level="}, Action::Refuse, -1, "unknown level '': easy or hard"},
        {{"--help", "--fullscreen"}, Action::Refuse, -1, "unknown option '--fullscreen'"},
        {{"game.fgr"}, Action::Watch, -1, ""},
        {{"--replay", "#replay=RkdS"}, Action::Watch, -1, ""},
        {{"--replay"}, Action::Refuse, -1, "--replay needs a replay file or a shared link"},
        {{"a.fgr", "b.fgr"}, Action::Refuse, -1, "several replays: name one to watch"},
        {{"--replay", "a.fgr", "--replay=b.fgr"}, Action::Refuse, -1, "several replays: name one to watch"},
        {{"--", "--help"}, Action::Watch, -1, ""},
        {{"--level", "hard", "--", "-a.fgr"}, Action::Refuse, 1, "--level plays a game: a replay brings its own level"},
        {{"--", "a.fgr", "--", "b.fgr"}, Action::Refuse, -1, "several replays: name one to watch"},
        {{"--level", "hard", "a.fgr"}, Action::Refuse, 1, "--level plays a game: a replay brings its own level"},
        {{"--levels", "hard"}, Action::Refuse, -1, "unknown option '--levels'"},
        {{"--\x1b]0;owned\x07\n"}, Action::Refuse, -1, "unknown option '--\\x1B]0;owned\\x07\\x0A'"},
        {{"--level", "h\x7f\xc3\xa9"}, Action::Refuse, -1, "unknown level 'h\\x7F\xc3\xa9': easy or hard"},
        {{"--keys"}, Action::Keys, -1, ""},
        {{"--keys", "--bind", "up=W", "--bind=sticky-arrows=on"}, Action::Bind, -1, ""},
        {{"--bind", "up=W", "--help"}, Action::Help, -1, ""},
        {{"--bind"}, Action::Refuse, -1, "--bind needs NAME=KEYS, e.g. up=W,Up"},
        {{"--bind", "up"}, Action::Refuse, -1, "--bind needs NAME=KEYS, e.g. up=W,Up"},
        {{"--keys", "a.fgr"}, Action::Refuse, -1, "--keys and --bind end without playing: no level or replay with them"},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"fingulp"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const CommandLine line = readCommandLine(static_cast<int>(argv.size()), argv.data());
        const std::string shown = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(line.action, c.action) << shown;
        EXPECT_EQ(line.error, c.error) << shown;
        if (c.action == Action::Play) {
            EXPECT_EQ(line.level, c.level) << shown;
        }
        if (c.action == Action::Watch) {
            EXPECT_EQ(line.replay, c.args.back()) << shown;
        }
        if (c.action == Action::Bind) {
            EXPECT_EQ(line.bindings, (std::vector<std::string>{"up=W", "sticky-arrows=on"})) << shown;
        }
    }
    // A replay's name in a message (it may be any text) drives no terminal.
    EXPECT_EQ(plat::shownArgument("a\x1b]0;owned\x07\n.fgr"), "a\\x1B]0;owned\\x07\\x0A.fgr");
}

}  // namespace
