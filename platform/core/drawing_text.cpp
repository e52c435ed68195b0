// Text: fonts rendered through FreeType as crisp one-bit glyphs, a glyph cache
// per font, line breaking ("\n" and word wrap), alignment and clipping.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/core/drawing_internal.h"
#include "platform/drawing.h"
#include "platform/resources.h"

namespace plat {

namespace {

// One rendered glyph: its ink as one byte per pixel (1 = ink), placed at
// `left` from the pen position and `top` rows above the baseline.
struct Glyph {
    bool loaded = false;
    int32_t advance = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t rows = 0;
    std::vector<uint8_t> ink;
};

// The stand-in for Arial has Arial's metrics: 2048 units per em, ascent 1854
// and descent 434, so a cell of c pixels holds an em of c * 2048 / 2288.
constexpr int32_t kUnitsPerEm = 2048;
constexpr int32_t kAscent = 1854;
constexpr int32_t kCellUnits = 2288;
constexpr int32_t kBoldWeight = 600;

int32_t roundedRatio(int32_t value, int32_t numerator, int32_t denominator) {
    return (value * numerator + denominator / 2) / denominator;
}

FT_Library library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) l = nullptr;
        return l;
    }();
    return lib;
}

}  // namespace

struct Font {
    std::u16string faceName;  // only recorded: every face is drawn as Liberation Sans
    int32_t cellHeight = 0;
    int32_t weight = 0;
    int32_t baseline = 0;  // rows from the cell's top to the baseline
    FT_Face face = nullptr;
    // Latin-1 in a table, everything else in a map: a cached draw neither
    // calls FreeType nor allocates.
    mutable std::array<Glyph, 256> latin;
    mutable std::unordered_map<uint32_t, Glyph> others;
};

namespace {

void render(const Font& font, uint32_t code, Glyph& glyph) {
    glyph.loaded = true;
    if (code < 0x20 || code == 0x7F) return;  // control characters take no room and draw nothing
    if (FT_Load_Char(font.face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return;
    const FT_GlyphSlot slot = font.face->glyph;
    glyph.advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
    const FT_Bitmap& bits = slot->bitmap;
    if (bits.pixel_mode != FT_PIXEL_MODE_MONO || bits.width == 0 || bits.rows == 0) return;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int32_t>(bits.width);
    glyph.rows = static_cast<int32_t>(bits.rows);
    glyph.ink.assign(static_cast<size_t>(glyph.width) * glyph.rows, 0);
    for (int32_t y = 0; y < glyph.rows; ++y) {
        const unsigned char* row = bits.buffer + static_cast<ptrdiff_t>(y) * bits.pitch;
        for (int32_t x = 0; x < glyph.width; ++x) {
            glyph.ink[static_cast<size_t>(y) * glyph.width + x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
        }
    }
}

const Glyph& glyphOf(const Font& font, uint32_t code) {
    Glyph& glyph = code < font.latin.size() ? font.latin[code] : font.others[code];
    if (!glyph.loaded) render(font, code, glyph);
    return glyph;
}

// Reads one character of UTF-16 at `i` and moves `i` past it.
uint32_t decode(const Char* text, int32_t end, int32_t& i) {
    const uint32_t unit = text[i++];
    if (unit >= 0xD800 && unit < 0xDC00 && i < end && text[i] >= 0xDC00 && text[i] < 0xE000) {
        const uint32_t low = text[i++];
        return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
    return unit;
}

int32_t widthOf(const Font& font, const Char* text, int32_t begin, int32_t end) {
    int32_t width = 0;
    for (int32_t i = begin; i < end;) width += glyphOf(font, decode(text, end, i)).advance;
    return width;
}

bool isBreak(Char c) { return c == u'\n' || c == u'\r'; }

// One line of laid-out text: code units [begin, end); `next` is where the
// following line starts, -1 when this is the last.
struct Line {
    int32_t begin = 0;
    int32_t end = 0;
    int32_t next = -1;
};

// Where the text continues after a hard break at `at` (CR LF counts as one).
int32_t afterBreak(const Char* text, int32_t length, int32_t at) {
    if (at >= length) return -1;
    int32_t next = at + 1;
    if (text[at] == u'\r' && next < length && text[next] == u'\n') ++next;
    return next < length ? next : -1;  // a final break starts no empty line
}

Line nextLine(const Font& font, const Char* text, int32_t length, int32_t pos, uint32_t format, int32_t maxWidth) {
    if (format & kTextSingleLine) return {pos, length, -1};
    int32_t paragraphEnd = pos;
    while (paragraphEnd < length && !isBreak(text[paragraphEnd])) ++paragraphEnd;
    Line line{pos, paragraphEnd, afterBreak(text, length, paragraphEnd)};
    if (!(format & kTextWordBreak)) return line;

    int32_t width = 0;
    int32_t lastSpace = -1;
    for (int32_t i = pos; i < paragraphEnd;) {
        const int32_t at = i;
        const uint32_t code = decode(text, paragraphEnd, i);
        const int32_t advance = glyphOf(font, code).advance;
        if (code == u' ') {
            lastSpace = at;  // spaces may hang past the edge; they never force a wrap
        } else if (width + advance > maxWidth && at > pos) {
            int32_t end = lastSpace;
            while (end > pos && text[end - 1] == u' ') --end;
            if (lastSpace < 0 || end == pos) {
                // No space to wrap at: the word stays whole and is clipped.
                end = at;
                while (end < paragraphEnd && text[end] != u' ') ++end;
                lastSpace = end;
            }
            int32_t next = lastSpace;
            while (next < paragraphEnd && text[next] == u' ') ++next;
            line.end = end;
            if (next < paragraphEnd) line.next = next;
            return line;
        }
        width += advance;
    }
    return line;
}

}  // namespace

constexpr FT_F26Dot6 kCondensedEighths = 7;

Font* createFont(const Char* face, int32_t cellHeight, int32_t weight) {
    FT_Library lib = library();
    if (!lib) return nullptr;
    const ResourceData file = findFontFile(weight >= kBoldWeight ? "bold" : "regular");
    if (!file.data) return nullptr;
    // A negative height gives the em size instead of the cell; 0 asks for the default.
    int32_t cell = cellHeight;
    if (cell < 0) cell = roundedRatio(-cell, kCellUnits, kUnitsPerEm);
    if (cell == 0) cell = 12;
    const int32_t emPixels = std::max(1, roundedRatio(cell, kUnitsPerEm, kCellUnits));

    FT_Face ftFace = nullptr;
    if (FT_New_Memory_Face(lib, file.data, static_cast<FT_Long>(file.size), 0, &ftFace) != 0) return nullptr;
    // The handset's system face is narrower than the face standing in for it,
    // and the game's texts were laid out to fit their rectangles in it (Help
    // lines, the game-over message): glyphs are drawn at 7/8 of their width.
    const FT_F26Dot6 emHeight = static_cast<FT_F26Dot6>(emPixels) * 64;
    const FT_F26Dot6 emWidth = emHeight * kCondensedEighths / 8;
    if (FT_Set_Char_Size(ftFace, emWidth, emHeight, 72, 72) != 0) {
        FT_Done_Face(ftFace);
        return nullptr;
    }
    Font* font = new Font;
    if (face) font->faceName = face;
    font->cellHeight = cell;
    font->weight = weight;
    // FreeType's own ascender would put the baseline a row lower than the
    // cell allows; the font's design ascent keeps 14-pixel text in its cell.
    font->baseline = roundedRatio(cell, kAscent, kCellUnits);
    font->face = ftFace;
    // The printable ASCII glyphs are rendered now, so that drawing the game's
    // texts (the HUD score every frame) never allocates.
    for (uint32_t code = 0x20; code < 0x7F; ++code) glyphOf(*font, code);
    return font;
}

void deleteFont(Font* font) {
    if (!font) return;
    detail::forgetSelected(font);
    if (font->face) FT_Done_Face(font->face);
    delete font;
}

int32_t textWidth(const Font* font, const Char* text, int32_t length) {
    if (!font || !text) return 0;
    if (length < 0) length = static_cast<int32_t>(std::char_traits<Char>::length(text));
    return widthOf(*font, text, 0, length);
}

int32_t drawText(Surface* surface, const Char* text, int32_t length, const Rect& rect, uint32_t format) {
    if (!surface || !surface->bitmap || !surface->font || !text) return 0;
    if (length < 0) length = static_cast<int32_t>(std::char_traits<Char>::length(text));
    const Font& font = *surface->font;
    Bitmap& bitmap = *surface->bitmap;
    const Rect clip = detail::clipToBitmap(bitmap, rect);
    const uint32_t ink = detail::storedValue(bitmap, surface->textColour);
    const uint32_t paper = detail::storedValue(bitmap, surface->backgroundColour);
    const int32_t cell = font.cellHeight;
    const int32_t rectWidth = rect.right - rect.left;

    int32_t top = rect.top;
    if ((format & kTextSingleLine) && (format & kTextVerticalCentre)) top += (rect.bottom - rect.top - cell) / 2;

    bool drew = false;
    int32_t lines = 0;
    for (int32_t pos = 0; pos >= 0; ++lines) {
        const Line line = nextLine(font, text, length, pos, format, rectWidth);
        pos = line.next;
        const int32_t lineTop = top + lines * cell;
        if (lineTop >= clip.bottom || lineTop + cell <= clip.top || detail::isEmpty(clip)) continue;

        const int32_t width = widthOf(font, text, line.begin, line.end);
        int32_t x = rect.left;
        if (format & kTextCentre) x += (rectWidth - width) / 2;
        if (surface->opaqueText) {
            const Rect box = detail::intersect(clip, Rect{x, lineTop, x + width, lineTop + cell});
            if (!detail::isEmpty(box)) {
                detail::fill(bitmap, box, paper);
                drew = true;
            }
        }
        const int32_t baseline = lineTop + font.baseline;
        for (int32_t i = line.begin; i < line.end;) {
            const Glyph& glyph = glyphOf(font, decode(text, line.end, i));
            const int32_t gx = x + glyph.left;
            const int32_t gy = baseline - glyph.top;
            const int32_t rowFrom = std::max(0, clip.top - gy);
            const int32_t rowTo = std::min(glyph.rows, clip.bottom - gy);
            const int32_t colFrom = std::max(0, clip.left - gx);
            const int32_t colTo = std::min(glyph.width, clip.right - gx);
            for (int32_t r = rowFrom; r < rowTo; ++r) {
                const uint8_t* source = glyph.ink.data() + static_cast<size_t>(r) * glyph.width;
                uint32_t* dest = bitmap.pixels.data() + static_cast<size_t>(gy + r) * bitmap.width + gx;
                for (int32_t c = colFrom; c < colTo; ++c) {
                    if (source[c]) {
                        dest[c] = ink;
                        drew = true;
                    }
                }
            }
            x += glyph.advance;
        }
    }
    if (drew) detail::drawnOn(surface);
    return lines * cell;
}

}  // namespace plat
