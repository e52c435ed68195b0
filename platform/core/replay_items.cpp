// The item stream's coding: a varint (delta ticks << 4 | operation) per item,
// then the operation's arguments.
#include "platform/core/replay_items.h"

#include "platform/replay.h"

namespace plat::replay::detail {
namespace {

// Operations 0..7 toggle held key 0..7; the rest follow.
constexpr uint32_t kSameKeyDown = 8;
constexpr uint32_t kKeyDown = 9;
constexpr uint32_t kCommand = 10;
constexpr uint32_t kFocusLost = 11;
constexpr uint32_t kFocusGained = 12;
constexpr uint32_t kPaint = 13;
constexpr uint32_t kClose = 14;
constexpr uint32_t kOther = 15;

}  // namespace

bool ItemReader::varint(uint32_t& value) {
    value = 0;
    for (int shift = 0; shift < 35; shift += 7) {
        if (pos_ >= size_) return false;
        const uint8_t byte = data_[pos_++];
        if (shift == 28 && (byte & 0xF0) != 0) return false;  // beyond 32 bits
        value |= static_cast<uint32_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) return true;
    }
    return false;
}

bool ItemReader::next(Item& item, std::string& error) {
    uint32_t head = 0;
    if (!varint(head)) {
        error = "the input is cut short or holds an overlong number";
        return false;
    }
    const uint32_t delta = head >> 4;
    const uint32_t op = head & 15;
    if (delta > 0) eventAtTick_ = false;
    if (tick_ + static_cast<uint64_t>(delta) > kMaxTicks) {
        error = "the input runs past the longest game a replay may hold";
        return false;
    }
    tick_ += delta;
    item = Item{};
    item.tick = tick_;
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
    switch (op) {
        case kSameKeyDown:
            item.kind = ItemKind::KeyDown;
            item.value = lastKey_;
            if (!haveLastKey_) {
                error = "a repeated key press with no key before it";
                return false;
            }
            break;
        case kKeyDown:
            item.kind = ItemKind::KeyDown;
            ok = varint(item.value);
            lastKey_ = item.value;
            haveLastKey_ = true;
            break;
        case kCommand:
            item.kind = ItemKind::Command;
            ok = varint(item.value);
            break;
        case kFocusLost: item.kind = ItemKind::FocusLost; break;
        case kFocusGained: item.kind = ItemKind::FocusGained; break;
        case kPaint: item.kind = ItemKind::Paint; break;
        case kClose: item.kind = ItemKind::Close; break;
        default:
            item.kind = ItemKind::Other;
            ok = varint(item.value) && varint(item.param);
            break;
    }
    if (!ok) error = "the input is cut short or holds an overlong number";
    return ok;
}

void ItemWriter::varint(uint32_t value) {
    while (value >= 0x80) {
        out_->push_back(static_cast<uint8_t>(value | 0x80));
        value >>= 7;
    }
    out_->push_back(static_cast<uint8_t>(value));
}

void ItemWriter::put(const Item& item) {
    // The recorder stops at kMaxTicks, so a delta always fits.
    const uint32_t delta = item.tick - tick_;
    tick_ = item.tick;
    switch (item.kind) {
        case ItemKind::KeyToggle: varint((delta << 4) | (item.value & 7)); return;
        case ItemKind::KeyDown:
            if (haveLastKey_ && lastKey_ == item.value) {
                varint((delta << 4) | kSameKeyDown);
                return;
            }
            varint((delta << 4) | kKeyDown);
            varint(item.value);
            lastKey_ = item.value;
            haveLastKey_ = true;
            return;
        case ItemKind::Command:
            varint((delta << 4) | kCommand);
            varint(item.value);
            return;
        case ItemKind::FocusLost: varint((delta << 4) | kFocusLost); return;
        case ItemKind::FocusGained: varint((delta << 4) | kFocusGained); return;
        case ItemKind::Paint: varint((delta << 4) | kPaint); return;
        case ItemKind::Close: varint((delta << 4) | kClose); return;
        case ItemKind::Other:
            varint((delta << 4) | kOther);
            varint(item.value);
            varint(item.param);
            return;
    }
}

}  // namespace plat::replay::detail
