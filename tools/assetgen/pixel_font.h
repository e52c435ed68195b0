// The generator's own 5 x 7 pixel font (capitals, digits, a little
// punctuation), so no picture depends on a system font.
#pragma once

#include "tools/assetgen/image.h"

namespace art {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

// Whether the glyph of ch has ink at (col, row); unknown characters are blank.
bool glyphInk(char ch, int col, int row);
// Width of a line of text, each font pixel drawn scale x scale, with
// `spacing` pixels between letters.
int textWidth(const char* text, int scale, int spacing);
void drawText(Image& img, const char* text, int x, int y, int scale, int spacing, Rgb colour);
// The text as a mask: 1 where there is ink, 0 elsewhere.
Image textMask(const char* text, int scale, int spacing);

}  // namespace art
