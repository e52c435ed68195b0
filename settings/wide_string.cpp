// The operations of WideString: copying, appending, character access, case
// mapping, substrings and the decimal reading of score texts.
#include "settings/wide_string.h"

#include <algorithm>

namespace {

size_t unitCount(const plat::Char* text) {
    size_t count = 0;
    if (text != nullptr) {
        while (text[count] != 0) ++count;
    }
    return count;
}

// A fresh buffer holding `first` followed by `second`, terminated.
std::unique_ptr<plat::Char[]> joined(const plat::Char* first, size_t firstCount,
                                     const plat::Char* second, size_t secondCount) {
    auto buffer = std::make_unique<plat::Char[]>(firstCount + secondCount + 1);
    if (firstCount > 0) std::copy_n(first, firstCount, buffer.get());
    if (secondCount > 0) std::copy_n(second, secondCount, buffer.get() + firstCount);
    buffer[firstCount + secondCount] = 0;
    return buffer;
}

}  // namespace

WideString::WideString() : text_(joined(nullptr, 0, nullptr, 0)) {}

WideString::WideString(const plat::Char* text)
    : text_(joined(text, unitCount(text), nullptr, 0)) {}

WideString::WideString(const WideString& other)
    : text_(joined(other.text(), unitCount(other.text()), nullptr, 0)) {}

WideString& WideString::operator=(const WideString& other) {
    if (this != &other) assign(other.text());
    return *this;
}

const plat::Char* WideString::assign(const plat::Char* text) {
    // Built before the old buffer goes, so assigning a part of itself is safe.
    text_ = joined(text, unitCount(text), nullptr, 0);
    return text_.get();
}

const plat::Char* WideString::append(const plat::Char* text) {
    text_ = joined(text_.get(), unitCount(text_.get()), text, unitCount(text));
    return text_.get();
}

int32_t WideString::length() const {
    return static_cast<int32_t>(unitCount(text_.get()));
}

plat::Char WideString::charAt(int32_t position) const {
    if (position < 0 || position > length()) return 0;
    return text_[static_cast<size_t>(position)];
}

void WideString::setCharAt(int32_t position, plat::Char unit) {
    if (position < 0 || position >= length()) return;
    text_[static_cast<size_t>(position)] = unit;
}

int32_t WideString::equals(const plat::Char* other) const {
    if (other == nullptr) return 0;
    const plat::Char* mine = text_.get();
    size_t i = 0;
    while (mine[i] != 0 && mine[i] == other[i]) ++i;
    return mine[i] == other[i] ? 1 : 0;
}

int32_t WideString::equals(const WideString& other) const {
    return equals(other.text());
}

void WideString::toLower() {
    for (plat::Char* unit = text_.get(); *unit != 0; ++unit) {
        if (*unit >= u'A' && *unit <= u'Z') *unit = static_cast<plat::Char>(*unit + 0x20);
    }
}

void WideString::toUpper() {
    for (plat::Char* unit = text_.get(); *unit != 0; ++unit) {
        if (*unit >= u'a' && *unit <= u'z') *unit = static_cast<plat::Char>(*unit - 0x20);
    }
}

int32_t WideString::decimalValue() const {
    const int32_t count = length();
    uint32_t sum = 0;
    bool negative = false;
    // Walking from the right keeps the place value as a running product,
    // which equals power(count - 2 - i, 10) modulo 2^32 at every place.
    uint32_t placeValue = 1;
    for (int32_t i = count - 1; i >= 0; --i) {
        const plat::Char unit = text_[static_cast<size_t>(i)];
        if (unit == u'-') negative = true;
        if (unit >= u'1' && unit <= u'9') sum += static_cast<uint32_t>(unit - u'0') * placeValue;
        placeValue *= 10u;
    }
    if (negative) sum = 0u - sum;
    return static_cast<int32_t>(sum);
}

std::unique_ptr<plat::Char[]> WideString::substring(int32_t from, int32_t to) const {
    const int32_t count = length();
    if (to <= from || from < 0 || from > count || to < 1 || to > count) return nullptr;
    return joined(text_.get() + from, static_cast<size_t>(to - from), nullptr, 0);
}

int32_t WideString::power(int32_t exponent, int32_t base) {
    uint32_t result = 1;
    for (int32_t step = -1; step < exponent; ++step) result *= static_cast<uint32_t>(base);
    return static_cast<int32_t>(result);
}
