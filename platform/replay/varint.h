// The replay's numbers: unsigned LEB128, at most 5 bytes and 32 bits (a
// longer one is refused), written and read in one place for the header and
// the item stream alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat::replay::detail {

inline void putVarint(std::vector<uint8_t>& out, uint32_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<uint8_t>(value));
}

// Reads one number at data[pos], moving pos past it; false when it is cut
// short or longer than 32 bits.
inline bool readVarint(const uint8_t* data, size_t size, size_t& pos, uint32_t& value) {
    value = 0;
    for (int shift = 0; shift < 35; shift += 7) {
        if (pos >= size) return false;
        const uint8_t byte = data[pos++];
        if (shift == 28 && (byte & 0xF0) != 0) return false;  // beyond 32 bits
        value |= static_cast<uint32_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) return true;
    }
    return false;
}

}  // namespace plat::replay::detail
