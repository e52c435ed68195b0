// The fish: one shape description per kind (the player's green fish and the
// five kinds of the school), drawn at any size facing right, and the
// skeleton drawn from the same outline.
#pragma once

#include "tools/assetgen/image.h"

namespace art {

enum class Marking { None, Bands, Stripes, Spots };

// A fish kind. Lengths are fractions of the picture box; "along" positions
// run over the body from the tail base (0) to the nose (1).
struct FishDesign {
    double tailLength;    // share of the width taken by the tail fin
    double bodyTop;       // top of the body at its thickest, share of the height
    double bodyBottom;    // bottom of the body at its thickest
    double thickestAt;    // along the body
    double headRoundness; // 2 round, below 2 pointed, above 2 blunt
    double backTaper;     // how the body narrows towards the tail
    double peduncle;      // thickness where the tail joins, share of the body's
    double tailUpper;     // tail half-spread above the centre line, share of the height
    double tailLower;     // below
    double tailFork;      // depth of the fork, share of the tail length
    double dorsalFrom, dorsalTo, dorsalHeight, dorsalPeak;  // along; height share; peak position in the fin (0 rear, 1 front)
    double analFrom, analTo, analHeight, analPeak;
    double pectoral;      // size of the fin hanging below the front of the body (0: none)
    double eyeAlong, eyeY, eyeSize;  // eye centre (along, height share) and radius share of the height
    Marking marking;
    int markCount;
    Rgb back, side, belly, fin, outline, mark, markEdge, eye;
    bool gills;           // draw gill slits (the shark)
    bool roundFins;       // soft rounded fins rather than pointed ones
};

// The player's fish and the school's five kinds, by size class.
const FishDesign& playerDesign();
const FishDesign& schoolDesign(int sizeClass);
// The yellow fish of the menu cursor.
const FishDesign& cursorDesign();

// The fish facing right, `width` x `height`, on kSpriteKey. No fish pixel
// is the key colour.
Image drawFish(const FishDesign& design, int width, int height);
// Its skeleton, on kSpriteKey.
Image drawSkeleton(const FishDesign& design, int width, int height);

// A sprite strip: the picture facing right at x 0, the same picture mirrored
// at x `leftFacingX`; white around.
Image makeStrip(const Image& facingRight, int stripWidth, int leftFacingX);

}  // namespace art
