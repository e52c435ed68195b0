// Baked fonts: choosing among the embedded ones and reading their glyphs
// (the file's layout is described in tools/glyphs/bake_glyphs.cpp).
#include "platform/core/baked_font.h"

#include <cstdlib>
#include <cstring>

#include "platform/core/embedded.h"

namespace plat::detail {
namespace {

constexpr char kMagic[4] = {'F', 'G', 'L', '1'};
constexpr int32_t kDefaultCell = 12;

// Reads the file front to back; every read past its end fails.
struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool ok = true;

    int32_t next16() {
        if (!ok || size - at < 2) {
            ok = false;
            return 0;
        }
        const auto value = static_cast<int16_t>(data[at] | (data[at + 1] << 8));
        at += 2;
        return value;
    }
};

// The header's fields after the magic, in order.
struct Header {
    int32_t cellHeight, baseline, unitsPerEm, ascent, descent, firstCode, count;
};

bool readHeader(Reader& in, Header& h) {
    if (in.size < sizeof kMagic || std::memcmp(in.data, kMagic, sizeof kMagic) != 0) return false;
    in.at = sizeof kMagic;
    h = {in.next16(), in.next16(), in.next16(), in.next16(), in.next16(), in.next16(), in.next16()};
    return in.ok && h.cellHeight > 0 && h.baseline >= 0 && h.baseline <= h.cellHeight && h.unitsPerEm > 0 &&
           h.ascent + h.descent > 0 && h.firstCode == static_cast<int32_t>(kFirstBakedCode) &&
           h.count == static_cast<int32_t>(kLastBakedCode - kFirstBakedCode + 1);
}

bool readGlyph(Reader& in, Glyph& glyph, std::vector<uint8_t>& ink) {
    glyph = {in.next16(), in.next16(), in.next16(), in.next16(), in.next16(), ink.size()};
    if (!in.ok || glyph.width < 0 || glyph.rows < 0) return false;
    const size_t pitch = (static_cast<size_t>(glyph.width) + 7) / 8;
    if (pitch * glyph.rows > in.size - in.at) return false;
    for (int32_t y = 0; y < glyph.rows; ++y) {
        const uint8_t* row = in.data + in.at + y * pitch;
        for (int32_t x = 0; x < glyph.width; ++x) ink.push_back((row[x >> 3] >> (7 - (x & 7))) & 1);
    }
    in.at += pitch * glyph.rows;
    return true;
}

}  // namespace

ResourceData nearestBakedFont(const char* style, int32_t cellHeight) {
    const size_t styleLength = std::strlen(style);
    ResourceData best;
    int32_t bestCell = 0;
    int64_t bestDistance = 0;
    for (unsigned long i = 0; i < kEmbeddedFileCount; ++i) {
        const EmbeddedFile& f = kEmbeddedFiles[i];
        if (!f.data || std::strcmp(f.kind, "glyphs") != 0 || std::strncmp(f.key, style, styleLength) != 0 ||
            f.key[styleLength] != '-')
            continue;
        Reader in{f.data, f.size};
        Header h;
        if (!readHeader(in, h)) continue;
        int64_t wanted = cellHeight;
        if (wanted < 0) wanted = (-wanted * (h.ascent + h.descent) + h.unitsPerEm / 2) / h.unitsPerEm;
        if (wanted == 0) wanted = kDefaultCell;
        const int64_t distance = std::abs(h.cellHeight - wanted);
        if (!best.data || distance < bestDistance || (distance == bestDistance && h.cellHeight < bestCell)) {
            best = {f.data, f.size};
            bestCell = h.cellHeight;
            bestDistance = distance;
        }
    }
    return best;
}

bool readBakedFont(const uint8_t* data, size_t size, BakedFont& font) {
    if (!data) return false;
    Reader in{data, size};
    Header h;
    if (!readHeader(in, h)) return false;
    font.cellHeight = h.cellHeight;
    font.baseline = h.baseline;
    font.ink.clear();
    for (Glyph& glyph : font.printable)
        if (!readGlyph(in, glyph, font.ink)) return false;
    return readGlyph(in, font.missing, font.ink) && in.at == size;
}

}  // namespace plat::detail
