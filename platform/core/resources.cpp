// Resources inside the executable: the embedded table, bitmap decoding (BMP,
// 24-bit or 8-bit with palette), wave lookup, string resources.
#include "platform/resources.h"

#include <cstring>
#include <string>

#include "platform/core/embedded.h"

namespace plat {
namespace {

uint32_t readLe(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

std::string narrow(const Char* text) {
    std::string out;
    for (; text && *text; ++text) out += static_cast<char>(*text < 0x80 ? *text : '?');
    return out;
}

// The string resources, as the handset's resource file held them.
struct StringResource {
    int32_t id;
    const Char* text;
};
constexpr StringResource kStrings[] = {
    {103, u"Smartphone 2002"},
    {104, u"FINGULP"},
};

}  // namespace

ResourceData findEmbedded(const char* kind, const char* key) {
    for (unsigned long i = 0; i < kEmbeddedFileCount; ++i) {
        const EmbeddedFile& f = kEmbeddedFiles[i];
        if (f.data && std::strcmp(f.kind, kind) == 0 && std::strcmp(f.key, key) == 0) return {f.data, f.size};
    }
    return {};
}

// Decodes a Windows BMP file: uncompressed 24-bit, or 8-bit with palette.
// Every size and offset comes from the data, so each is bounded in 64-bit
// arithmetic before use: nothing can wrap, and whatever does not fit inside
// the data is refused.
Bitmap* decodeBmp(const uint8_t* data, size_t size) {
    constexpr uint64_t kFileHeaderBytes = 14;
    constexpr uint64_t kInfoHeaderBytes = 40;
    constexpr int64_t kLargestSide = 4096;
    if (!data || size < kFileHeaderBytes + kInfoHeaderBytes || data[0] != 'B' || data[1] != 'M') return nullptr;
    const uint64_t available = size;
    const uint64_t pixelOffset = readLe(data + 10, 4);
    const uint64_t headerSize = readLe(data + 14, 4);
    if (headerSize < kInfoHeaderBytes || kFileHeaderBytes + headerSize > available) return nullptr;
    const int64_t width = static_cast<int32_t>(readLe(data + 18, 4));
    const int64_t signedHeight = static_cast<int32_t>(readLe(data + 22, 4));
    const uint32_t bits = readLe(data + 28, 2);
    const uint32_t compression = readLe(data + 30, 4);
    uint64_t paletteCount = readLe(data + 46, 4);
    const bool topDown = signedHeight < 0;
    const int64_t height = topDown ? -signedHeight : signedHeight;  // 64-bit: INT32_MIN has a magnitude
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide || compression != 0) {
        return nullptr;
    }
    if (bits != 24 && bits != 8) return nullptr;
    const uint64_t stride = ((static_cast<uint64_t>(width) * bits / 8) + 3) & ~uint64_t{3};
    if (pixelOffset > available || stride * static_cast<uint64_t>(height) > available - pixelOffset) return nullptr;
    const uint64_t paletteOffset = kFileHeaderBytes + headerSize;
    if (bits == 8) {
        if (paletteCount == 0 || paletteCount > 256) paletteCount = 256;
        if (paletteOffset + paletteCount * 4 > pixelOffset) return nullptr;
    }
    Bitmap* bitmap = createBitmap(static_cast<int32_t>(width), static_cast<int32_t>(height), false);
    if (!bitmap) return nullptr;
    const uint8_t* palette = data + paletteOffset;
    for (int64_t row = 0; row < height; ++row) {
        const uint8_t* src = data + pixelOffset + stride * static_cast<uint64_t>(topDown ? row : height - 1 - row);
        uint32_t* dst = bitmap->pixels.data() + row * width;
        for (int64_t x = 0; x < width; ++x) {
            const uint8_t* bgr;
            if (bits == 24) {
                bgr = src + x * 3;
            } else {
                const uint32_t index = src[x] < paletteCount ? src[x] : 0;
                bgr = palette + index * 4;
            }
            dst[x] = rgb(bgr[2], bgr[1], bgr[0]);
        }
    }
    return bitmap;
}

Bitmap* loadBitmap(int32_t id) {
    const ResourceData r = findEmbedded("bitmap", std::to_string(id).c_str());
    return r.data ? decodeBmp(r.data, r.size) : nullptr;
}

ResourceData findWave(const Char* name) {
    if (!name) return {};
    return findEmbedded("wave", narrow(name).c_str());
}

int32_t loadString(int32_t id, Char* buffer, int32_t capacity) {
    if (!buffer || capacity <= 0) return 0;
    for (const StringResource& s : kStrings) {
        if (s.id != id) continue;
        int32_t n = 0;
        while (s.text[n] && n < capacity - 1) {
            buffer[n] = s.text[n];
            ++n;
        }
        buffer[n] = 0;
        return n;
    }
    buffer[0] = 0;
    return 0;
}

Bitmap* loadIcon(int32_t id, int32_t size) {
    const std::string key = std::to_string(id) + "-" + std::to_string(size);
    const ResourceData r = findEmbedded("icon", key.c_str());
    return r.data ? decodeBmp(r.data, r.size) : nullptr;
}

}  // namespace plat
