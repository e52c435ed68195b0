// The soft-key caption box, shared by the captions and the menu background
// so that a caption lands exactly on its empty box.
#pragma once

#include "tools/assetgen/image.h"

namespace art {

constexpr int kCaptionHeight = 22;
// Left box: x 0..87 of the screen; right box: x 89..174 (row 198 down).
constexpr int kLeftBoxLeft = 0, kLeftBoxRight = 88;
constexpr int kRightBoxLeft = 89, kRightBoxRight = 175;
constexpr int kCaptionTop = 198;

// Draws an empty caption box with its top-left at (left, top), right exclusive.
void drawCaptionBox(Image& img, int left, int top, int right);

}  // namespace art
