// Build-time tool: renders a font's printable ASCII glyphs with FreeType, as
// the game draws them (crisp one-bit pixels, narrowed to 7/8 of their width),
// into a small file that is embedded with the other resources. The program
// itself then draws text without FreeType or font files.
// Usage: fingulp_glyphs FONT.ttf CELL_HEIGHT OUT
//
// The file, every number a little-endian 16-bit signed integer:
//   "FGL1", cell height, baseline (rows from the cell's top), the face's units
//   per em, ascent and descent in those units, first code, glyph count;
//   then count + 1 glyphs (the last is the face's missing-character glyph),
//   each: advance, left, top, width, rows, then its ink, one bit a pixel,
//   most significant bit first, each row padded to whole bytes.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

constexpr int kFirstCode = 0x20;
constexpr int kLastCode = 0x7E;
// The handset's system face is narrower than the face standing in for it,
// and the game's texts were laid out to fit their rectangles in it (Help
// lines, the game-over message): glyphs are drawn at 7/8 of their width.
constexpr FT_F26Dot6 kCondensedEighths = 7;

int roundedRatio(int value, int numerator, int denominator) {
    return (value * numerator + denominator / 2) / denominator;
}

void put16(std::string& out, int value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

// Appends the glyph in FreeType's glyph slot.
void putGlyph(std::string& out, FT_GlyphSlot slot) {
    const FT_Bitmap& bits = slot->bitmap;
    const bool inked = bits.pixel_mode == FT_PIXEL_MODE_MONO && bits.width > 0 && bits.rows > 0;
    const int width = inked ? static_cast<int>(bits.width) : 0;
    const int rows = inked ? static_cast<int>(bits.rows) : 0;
    put16(out, static_cast<int>((slot->advance.x + 32) >> 6));
    put16(out, inked ? slot->bitmap_left : 0);
    put16(out, inked ? slot->bitmap_top : 0);
    put16(out, width);
    put16(out, rows);
    const int pitch = (width + 7) / 8;
    for (int y = 0; y < rows; ++y) {
        const unsigned char* row = bits.buffer + static_cast<ptrdiff_t>(y) * bits.pitch;
        // Bits past the width are cleared, so equal glyphs bake to equal bytes.
        for (int b = 0; b < pitch; ++b) {
            const int spare = std::max(0, (b + 1) * 8 - width);
            out += static_cast<char>(row[b] & (0xFF << spare) & 0xFF);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FONT.ttf CELL_HEIGHT OUT\n", argv[0]);
        return 2;
    }
    const int cell = std::atoi(argv[2]);
    if (cell <= 0 || cell > 200) {
        std::fprintf(stderr, "fingulp_glyphs: bad cell height %s\n", argv[2]);
        return 2;
    }
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, argv[1], 0, &face) != 0) {
        std::fprintf(stderr, "fingulp_glyphs: cannot open %s\n", argv[1]);
        return 1;
    }
    // The cell is the face's ascent plus descent, so a cell of c pixels holds
    // an em of c * unitsPerEm / (ascent + descent).
    const int unitsPerEm = face->units_per_EM;
    const int ascent = face->ascender;
    const int descent = -face->descender;
    const int cellUnits = ascent + descent;
    const int emPixels = std::max(1, roundedRatio(cell, unitsPerEm, cellUnits));
    const FT_F26Dot6 emHeight = static_cast<FT_F26Dot6>(emPixels) * 64;
    if (FT_Set_Char_Size(face, emHeight * kCondensedEighths / 8, emHeight, 72, 72) != 0) {
        std::fprintf(stderr, "fingulp_glyphs: cannot size %s\n", argv[1]);
        return 1;
    }
    std::string out = "FGL1";
    put16(out, cell);
    // FreeType's own ascender would put the baseline a row lower than the
    // cell allows; the face's design ascent keeps 14-pixel text in its cell.
    put16(out, roundedRatio(cell, ascent, cellUnits));
    put16(out, unitsPerEm);
    put16(out, ascent);
    put16(out, descent);
    put16(out, kFirstCode);
    put16(out, kLastCode - kFirstCode + 1);
    for (int code = kFirstCode; code <= kLastCode + 1; ++code) {
        // After the printable range comes glyph 0, the face's missing-character glyph.
        const FT_Error error = code <= kLastCode
                                   ? FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO)
                                   : FT_Load_Glyph(face, 0, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO);
        if (error != 0) {
            std::fprintf(stderr, "fingulp_glyphs: cannot render code %d of %s\n", code, argv[1]);
            return 1;
        }
        putGlyph(out, face->glyph);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    std::ofstream file(argv[3], std::ios::binary);
    file << out;
    return file ? 0 : 1;
}
