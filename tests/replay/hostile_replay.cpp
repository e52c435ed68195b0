// Writes the most demanding replay the format accepts, with the format's own
// writer: the game opens Options from its menu, then 1 MiB of input holds runs
// of 1,024 presses of Down, all at the one tick the menu stands still at.
// With "sound", Sound is on and each press clicks.
// Usage: fingulp_hostile_replay OUT.fgr [INPUT-BYTES [sound]]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/replay.h"
#include "platform/replay/replay_items.h"

namespace replay = plat::replay;
using replay::detail::Item;
using replay::detail::ItemKind;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: fingulp_hostile_replay OUT.fgr [INPUT-BYTES [sound]]\n");
        return 2;
    }
    const size_t limit = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : replay::kMaxInputBytes;
    replay::Replay game;
    game.header.switches[1] = argc > 3 && std::string(argv[3]) == "sound";  // switch 1: Sound
    replay::detail::ItemWriter writer(game.input);
    // MENU, then Options, the menu's second row.
    writer.put({0, ItemKind::Command, plat::kCommandLeftSoftKey, 0});
    writer.put({0, ItemKind::KeyDown, plat::kKeyDown, 0});
    writer.put({0, ItemKind::KeyDown, plat::kKeyReturn, 0});
    writer.flush();
    // A run of 1,024 presses at one tick takes some 132 bytes.
    constexpr size_t kLongestRun = 140;
    while (game.input.size() + kLongestRun <= limit) {
        for (uint32_t i = 0; i < replay::detail::kMaxRun; ++i) writer.put({0, ItemKind::KeyDown, plat::kKeyDown, 0});
        writer.flush();
    }
    const std::vector<uint8_t> bytes = replay::encode(game);
    std::FILE* out = std::fopen(argv[1], "wb");
    const bool ok = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (!out || std::fclose(out) != 0 || !ok) {
        std::fprintf(stderr, "fingulp_hostile_replay: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
