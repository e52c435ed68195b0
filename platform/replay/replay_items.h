// A replay's item stream: what reached the program, one item at a time, each
// stamped with the game-timer ticks delivered before it (docs/replays.md).
// Shared by the format's reader, the recorder and the player.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/game_tick.h"
#include "platform/types.h"

namespace plat::replay::detail {

// 0..3 for the arrows (a press of one that is up holds it from the next
// tick on, until a toggle says otherwise), -1 for any other key.
int arrowIndex(uint32_t keyCode);
int heldIndex(uint32_t keyCode);  // its place in plat::kPolledKeys, -1 for any other key

enum class ItemKind : uint8_t { KeyToggle, KeyDown, Command, FocusLost, FocusGained, Paint, Close, Other };

struct Item {
    uint32_t tick = 0;
    ItemKind kind = ItemKind::Other;
    uint32_t value = 0;  // key index (toggle), key code, command, or event code (Other)
    uint32_t param = 0;  // Other: the event's parameter
};

// The most presses one run of a key's auto-repeat holds (docs/replays.md).
constexpr uint32_t kMaxRun = 1024;

class ItemReader {
public:
    ItemReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool atEnd() const { return pos_ >= size_ && runLeft_ == 0; }
    // The next item; false with `error` set for a malformed one.
    bool next(Item& item, std::string& error);

private:
    bool varint(uint32_t& value);
    bool runItem(Item& item, std::string& error);
    bool readRun(uint32_t which, Item& item, std::string& error);
    bool operation(uint32_t op, Item& item, std::string& error);
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    uint32_t tick_ = 0;
    bool eventAtTick_ = false;
    // A run of presses being read out: its arrow, the presses left and where
    // the next one's tick step (a bit) lies.
    uint32_t runArrow_ = 0;
    uint32_t runLeft_ = 0;
    size_t runBit_ = 0;
};

// Presses of one held key no more than a tick apart (auto-repeat) are gathered
// into a run, written when something else comes or on flush().
class ItemWriter {
public:
    explicit ItemWriter(std::vector<uint8_t>& out) : out_(&out) {}
    void put(const Item& item);
    void flush();  // writes a run still being gathered

private:
    void write(const Item& item);
    std::vector<uint8_t>* out_;
    uint32_t tick_ = 0;
    struct Run {
        uint32_t count = 0;  // 0: none
        uint32_t arrow = 0;  // the held key's index
        uint32_t firstTick = 0;
        uint32_t lastTick = 0;
        uint8_t steps[kMaxRun / 8] = {};  // bit j: press j + 1 came a tick after press j
    } run_;
};

}  // namespace plat::replay::detail
