// WideString: a small owning UTF-16 text value, used to turn the score texts
// of the settings file into numbers.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/types.h"

class WideString {
public:
    WideString();
    explicit WideString(const plat::Char* text);
    WideString(const WideString& other);
    WideString& operator=(const WideString& other);
    WideString(WideString&&) noexcept = default;
    WideString& operator=(WideString&&) noexcept = default;
    ~WideString() = default;

    const plat::Char* text() const { return text_.get(); }

    // The held text becomes a copy of `text` (null counts as the empty text).
    const plat::Char* assign(const plat::Char* text);
    const plat::Char* append(const plat::Char* text);

    int32_t length() const;
    // 0 outside the text; the position equal to the length gives the terminator.
    plat::Char charAt(int32_t position) const;
    // Positions outside 0..length-1 are ignored, so the terminator survives.
    void setCharAt(int32_t position, plat::Char unit);

    int32_t equals(const plat::Char* other) const;
    int32_t equals(const WideString& other) const;

    void toLower();
    void toUpper();

    // Every unit holds a decimal place: digits 1-9 count by their place, any
    // "-" makes the number negative, everything else counts as 0. 32-bit
    // arithmetic wrapping modulo 2^32.
    int32_t decimalValue() const;

    // The units from `from` up to, not including, `to`; null unless
    // 0 <= from < to <= length.
    std::unique_ptr<plat::Char[]> substring(int32_t from, int32_t to) const;

    // `base` raised to exponent + 1 by repeated 32-bit multiplication:
    // 1 for exponent -1 (and anything below), `base` for exponent 0.
    static int32_t power(int32_t exponent, int32_t base);

private:
    std::unique_ptr<plat::Char[]> text_;
};
