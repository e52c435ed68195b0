// Fuzz target: WideString on arbitrary texts. The first eight bytes give two
// positions, the rest is the text in UTF-16LE (up to its first NUL).
// decimalValue is held against the place-value rule worked in unsigned
// arithmetic (the wrap-around is the rule, not an accident); substring and
// charAt against their bounds.
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "settings/wide_string.h"

namespace {

int32_t readPosition(const uint8_t* bytes) {
    uint32_t value = 0;
    std::memcpy(&value, bytes, 4);
    // Mostly small positions around the text, now and then any value at all.
    return (value & 0x80000000u) ? static_cast<int32_t>(value) : static_cast<int32_t>(value % 600) - 50;
}

int32_t expectedDecimal(const std::u16string& text) {
    const size_t n = text.size();
    uint32_t sum = 0;
    bool negative = false;
    uint32_t place = 1;
    for (size_t k = 0; k < n; ++k) {
        const char16_t unit = text[n - 1 - k];
        if (unit == u'-') negative = true;
        if (unit >= u'1' && unit <= u'9') sum += static_cast<uint32_t>(unit - u'0') * place;
        place *= 10;
    }
    return static_cast<int32_t>(negative ? 0u - sum : sum);
}

void checkSubstring(const WideString& s, const std::u16string& text, int32_t from, int32_t to) {
    const auto part = s.substring(from, to);
    const int32_t length = static_cast<int32_t>(text.size());
    const bool inBounds = 0 <= from && from < to && to <= length;
    require(static_cast<bool>(part) == inBounds, "substring null exactly when its bounds are bad");
    if (!part) return;
    require(std::u16string_view(part.get()) == std::u16string_view(text).substr(from, to - from),
            "substring copies the units from..to");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    const int32_t from = readPosition(data);
    const int32_t to = readPosition(data + 4);
    std::u16string text;
    for (size_t i = 8; i + 1 < size; i += 2) {
        const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0) break;
        text += unit;
    }
    const int32_t length = static_cast<int32_t>(text.size());

    WideString s(text.c_str());
    require(s.length() == length, "length");
    require(s.equals(text.c_str()) == 1, "equals its own text");
    require(s.decimalValue() == expectedDecimal(text), "decimalValue");

    for (int32_t position : {-1, 0, length - 1, length, length + 1, from, to}) {
        const char16_t expected = position >= 0 && position < length ? text[position] : 0;
        require(s.charAt(position) == expected, "charAt");
    }

    checkSubstring(s, text, from, to);
    checkSubstring(s, text, 0, length);
    checkSubstring(s, text, from, length);
    checkSubstring(s, text, 0, to);

    // The game's own use: a WideString made from "0", given the score text.
    WideString number(u"0");
    number.assign(text.c_str());
    require(number.equals(s) == 1 && number.decimalValue() == s.decimalValue(), "assign");
    number.append(text.c_str());
    require(number.length() == 2 * length, "append");
    return 0;
}
