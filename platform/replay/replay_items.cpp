// The item stream's coding: a varint (delta ticks << 4 | operation) per item,
// then the operation's arguments.
#include "platform/replay/replay_items.h"

#include "platform/replay.h"
#include "platform/replay/varint.h"

namespace plat::replay::detail {
namespace {

// Operations 0..7 toggle held key 0..7 and 8..11 press an arrow (the first
// four held keys); the rest follow.
constexpr uint32_t kArrowDown = 8;
constexpr uint32_t kKeyDown = 12;
constexpr uint32_t kCommand = 13;
constexpr uint32_t kWindowEvent = 14;
constexpr uint32_t kOther = 15;
// kWindowEvent's byte.
constexpr ItemKind kWindowEvents[] = {ItemKind::FocusLost, ItemKind::FocusGained, ItemKind::Paint, ItemKind::Close};

}  // namespace

int heldIndex(uint32_t keyCode) {
    for (int i = 0; i < kPolledKeyCount; ++i) {
        if (kPolledKeys[i] == keyCode) return i;
    }
    return -1;
}

int arrowIndex(uint32_t keyCode) {
    const int i = heldIndex(keyCode);
    return i < kFirstEveryKey ? i : -1;
}

namespace {
constexpr char kCutShort[] = "the input is cut short or holds an overlong number";
constexpr char kPastLongest[] = "the input runs past the longest game a replay may hold";
}  // namespace

bool ItemReader::varint(uint32_t& value) { return readVarint(data_, size_, pos_, value); }

bool ItemReader::next(Item& item, std::string& error) {
    if (runLeft_ > 0) return runItem(item, error);
    uint32_t head = 0;
    if (!varint(head)) {
        error = kCutShort;
        return false;
    }
    const uint32_t delta = head >> 4;
    if (delta > 0) eventAtTick_ = false;
    if (tick_ + static_cast<uint64_t>(delta) > kMaxTicks) {
        error = kPastLongest;
        return false;
    }
    tick_ += delta;
    item = Item{};
    item.tick = tick_;
    return operation(head & 15, item, error);
}

// The next press of a run being read out.
bool ItemReader::runItem(Item& item, std::string& error) {
    const uint32_t step = (data_[runBit_ / 8] >> (runBit_ % 8)) & 1;
    ++runBit_;
    --runLeft_;
    eventAtTick_ = true;
    if (tick_ + step > kMaxTicks) {
        error = kPastLongest;
        return false;
    }
    tick_ += step;
    item = Item{tick_, ItemKind::KeyDown, runArrow_, 0};
    return true;
}

// An item's operation, its tick read, and the operation's arguments.
bool ItemReader::operation(uint32_t op, Item& item, std::string& error) {
    if (op < 8) {
        // Keys are read as a tick starts: never before the first tick, never
        // after something else already happened in that tick.
        if (tick_ == 0 || eventAtTick_) {
            error = "a held key changes where no tick reads it";
            return false;
        }
        item.kind = ItemKind::KeyToggle;
        item.value = op;
        return true;
    }
    eventAtTick_ = true;
    bool ok = true;
    uint32_t which = 0;
    switch (op) {
        case kCommand:
            item.kind = ItemKind::Command;
            ok = varint(item.value);
            break;
        case kKeyDown:
            item.kind = ItemKind::KeyDown;
            ok = varint(item.value);
            break;
        case kWindowEvent:
            ok = varint(which);
            if (ok && which >= 4) {
                error = "an unknown window event";
                return false;
            }
            item.kind = kWindowEvents[which & 3];
            break;
        case kOther:
            ok = varint(which);
            if (ok && which == 0) {
                item.kind = ItemKind::Other;
                ok = varint(item.value) && varint(item.param);
                break;
            }
            if (ok && which <= 8) return readRun(which, item, error);
            if (ok) {
                error = "an unknown kind of item";
                return false;
            }
            break;
        default:
            item.kind = ItemKind::KeyDown;
            item.value = kPolledKeys[op - kArrowDown];
            break;
    }
    if (!ok) error = kCutShort;
    return ok;
}

// A run: this press of held key which - 1, then count - 1 more, each 0 or 1
// tick after the one before (one bit each).
bool ItemReader::readRun(uint32_t which, Item& item, std::string& error) {
    uint32_t count = 0;
    if (!varint(count)) {
        error = kCutShort;
        return false;
    }
    const size_t bytes = (static_cast<size_t>(count) + 6) / 8;
    if (count < 2 || count > kMaxRun || bytes > size_ - pos_) {
        error = "a run of presses is out of range";
        return false;
    }
    item.kind = ItemKind::KeyDown;
    item.value = kPolledKeys[which - 1];
    runArrow_ = item.value;
    runLeft_ = count - 1;
    runBit_ = pos_ * 8;
    pos_ += bytes;
    return true;
}

void ItemWriter::put(const Item& item) {
    const int arrow = item.kind == ItemKind::KeyDown ? heldIndex(item.value) : -1;
    Run& r = run_;
    if (arrow >= 0 && r.count > 0 && static_cast<uint32_t>(arrow) == r.arrow && item.tick - r.lastTick <= 1 &&
        r.count < kMaxRun) {
        const uint32_t j = r.count - 1;
        if (item.tick != r.lastTick) r.steps[j / 8] |= static_cast<uint8_t>(1u << (j % 8));
        r.lastTick = item.tick;
        ++r.count;
        return;
    }
    flush();
    if (arrow >= 0) {
        r.count = 1;
        r.arrow = static_cast<uint32_t>(arrow);
        r.firstTick = r.lastTick = item.tick;
        return;
    }
    write(item);
}

void ItemWriter::flush() {
    Run& r = run_;
    if (r.count == 0) return;
    if (r.count == 1) {
        r.count = 0;
        return write({r.firstTick, ItemKind::KeyDown, kPolledKeys[r.arrow], 0});
    }
    putVarint(*out_, ((r.firstTick - tick_) << 4) | kOther);
    putVarint(*out_, 1 + r.arrow);
    putVarint(*out_, r.count);
    const size_t bytes = (r.count + 6) / 8;
    out_->insert(out_->end(), r.steps, r.steps + bytes);
    tick_ = r.lastTick;
    r = Run{};
}

void ItemWriter::write(const Item& item) {
    // The recorder stops at kMaxTicks, so a delta always fits.
    const uint32_t delta = item.tick - tick_;
    tick_ = item.tick;
    const auto head = [&](uint32_t op) { putVarint(*out_, (delta << 4) | op); };
    const auto varint = [&](uint32_t value) { putVarint(*out_, value); };
    switch (item.kind) {
        case ItemKind::KeyToggle: head(item.value & 7); return;
        case ItemKind::KeyDown:
            if (const int arrow = arrowIndex(item.value); arrow >= 0) {
                head(kArrowDown + static_cast<uint32_t>(arrow));
            } else {
                head(kKeyDown);
                varint(item.value);
            }
            return;
        case ItemKind::Command:
            head(kCommand);
            varint(item.value);
            return;
        case ItemKind::FocusLost:
        case ItemKind::FocusGained:
        case ItemKind::Paint:
        case ItemKind::Close:
            head(kWindowEvent);
            for (uint32_t i = 0; i < 4; ++i) {
                if (kWindowEvents[i] == item.kind) varint(i);
            }
            return;
        case ItemKind::Other:
            head(kOther);
            varint(0);
            varint(item.value);
            varint(item.param);
            return;
    }
}

}  // namespace plat::replay::detail
