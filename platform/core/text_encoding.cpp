// UTF-16 text of the program to and from UTF-8, exact on every byte string
// (undecodable bytes travel as lone surrogates U+DC80..U+DCFF).
#include "platform/text_encoding.h"

namespace plat {
namespace {

constexpr uint32_t kEscapeBase = 0xDC00;  // + the byte, for 0x80..0xFF
constexpr uint32_t kReplacement = 0xFFFD;

bool isHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool isLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit < 0xE000; }
bool isEscapedByte(uint32_t unit) { return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF; }

void appendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The well-formed sequence at text[i]: its code point and length, or length
// 0. The second byte's range rules out overlong forms, surrogates and code
// points past U+10FFFF in one test, as the Unicode table of well-formed
// sequences has it.
struct Decoded {
    uint32_t code = 0;
    size_t length = 0;
};

Decoded decodeAt(const std::string& text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return {lead, 1};
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
        if (lead == 0xED) high = 0x9F;  // U+D800..U+DFFF
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        if (lead == 0xF0) low = 0x90;   // overlong below U+10000
        if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
    } else {
        return {};  // a continuation byte, C0, C1 or F5..FF
    }
    if (text.size() - i < length) return {};
    for (size_t k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        const unsigned char min = k == 1 ? low : 0x80;
        const unsigned char max = k == 1 ? high : 0xBF;
        if (next < min || next > max) return {};
        code = (code << 6) | (next & 0x3F);
    }
    return {code, length};
}

}  // namespace

std::string toUtf8(const Char* text) {
    std::string out;
    for (; text && *text; ++text) {
        uint32_t code = *text;
        if (isHighSurrogate(code) && isLowSurrogate(text[1])) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[1] - 0xDC00);
            ++text;
        } else if (isEscapedByte(code)) {
            out += static_cast<char>(code - kEscapeBase);
            continue;
        } else if (isHighSurrogate(code) || isLowSurrogate(code)) {
            code = kReplacement;
        }
        appendUtf8(out, code);
    }
    return out;
}

std::u16string fromUtf8(const std::string& text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const Decoded d = decodeAt(text, i);
        if (d.length == 0) {
            out += static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(text[i]));
            ++i;
            continue;
        }
        i += d.length;
        if (d.code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((d.code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((d.code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(d.code);
        }
    }
    return out;
}

std::string shownArgument(const char* arg) {
    std::string text;
    for (const char* c = arg; *c; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte < 0x20 || byte == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            text += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        } else {
            text += *c;
        }
    }
    return text;
}

}  // namespace plat
