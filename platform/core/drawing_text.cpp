// Text: fonts drawn from the glyphs baked at build time, line breaking ("\n"
// and word wrap), alignment and clipping.
#include <algorithm>
#include <string>

#include "platform/core/baked_font.h"
#include "platform/core/drawing_internal.h"
#include "platform/drawing.h"

namespace plat {

struct Font {
    std::u16string faceName;  // only recorded: every face is drawn as Liberation Sans
    int32_t weight = 0;
    detail::BakedFont baked;
};

namespace {

using detail::Glyph;

constexpr int32_t kBoldWeight = 600;

// Control characters take no room and draw nothing; a character outside the
// baked printable ASCII draws as the face's missing-character glyph.
const Glyph& glyphOf(const Font& font, uint32_t code) {
    static const Glyph nothing;
    if (code < detail::kFirstBakedCode || code == 0x7F) return nothing;
    if (code > detail::kLastBakedCode) return font.baked.missing;
    return font.baked.printable[code - detail::kFirstBakedCode];
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

Font* createFont(const Char* face, int32_t cellHeight, int32_t weight) {
    const ResourceData file = detail::nearestBakedFont(weight >= kBoldWeight ? "bold" : "regular", cellHeight);
    Font* font = new Font;
    if (!detail::readBakedFont(file.data, file.size, font->baked)) {
        delete font;
        return nullptr;
    }
    if (face) font->faceName = face;
    font->weight = weight;
    return font;
}

void deleteFont(Font* font) {
    if (!font) return;
    detail::forgetSelected(font);
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
    const int32_t cell = font.baked.cellHeight;
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
        const int32_t baseline = lineTop + font.baked.baseline;
        for (int32_t i = line.begin; i < line.end;) {
            const Glyph& glyph = glyphOf(font, decode(text, line.end, i));
            const int32_t gx = x + glyph.left;
            const int32_t gy = baseline - glyph.top;
            const int32_t rowFrom = std::max(0, clip.top - gy);
            const int32_t rowTo = std::min(glyph.rows, clip.bottom - gy);
            const int32_t colFrom = std::max(0, clip.left - gx);
            const int32_t colTo = std::min(glyph.width, clip.right - gx);
            for (int32_t r = rowFrom; r < rowTo; ++r) {
                const uint8_t* source = font.baked.ink.data() + glyph.inkAt + static_cast<size_t>(r) * glyph.width;
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
