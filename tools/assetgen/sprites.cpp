// The sprite pictures: player and school strips, skeleton strips, the
// bubble strip, the hunger bar and the small yellow fish.
#include <algorithm>

#include "tools/assetgen/fish_art.h"
#include "tools/assetgen/pictures.h"

namespace art {
namespace {

// Strip sizes: each fish is half its strip's width.
struct StripSize {
    int id, width, height;
};
constexpr StripSize kPlayerStrips[] = {{111, 24, 10}, {112, 36, 15}, {113, 44, 20}, {114, 72, 25}, {124, 94, 30}};
constexpr StripSize kSchoolStrips[] = {{110, 24, 10}, {109, 34, 15}, {108, 43, 20}, {107, 72, 25}, {105, 88, 30}};
constexpr StripSize kSkeletonStrips[] = {{117, 24, 10}, {118, 36, 15}, {119, 44, 20}, {120, 72, 25}, {121, 88, 30}};

// The bubble: a clear ring with a glint, wobbling through three shapes.
Image bubbleStrip() {
    Image strip(23, 9, kSpriteKey);
    const char* frames[3][8] = {
        {"..ooo..", ".o.hho.", "o.h...o", "o.....o", "o.....o", ".o...o.", "..ooo..", "......."},
        {".......", ".ooooo.", "o.hh..o", "o.h...o", "o.....o", "o.....o", ".ooooo.", "......."},
        {"..ooo..", ".o.h.o.", ".oh..o.", "o.....o", "o.....o", ".o...o.", ".o...o.", "..ooo.."},
    };
    for (int f = 0; f < 3; ++f)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 7; ++x) {
                const char c = frames[f][y][x];
                if (c == 'o') strip.set(f * 7 + x, y, 0xA8E4F8);
                if (c == 'h') strip.set(f * 7 + x, y, 0xF0FCFF);
            }
    return strip;
}

Image smallYellowFish(bool tailFlick) {
    // 17 x 15 on blue; the game draws its top-left 16 x 14 pixels.
    Image img(17, 15, kMenuKey);
    Image fish = drawFish(cursorDesign(), 15, 11);
    if (tailFlick) {
        // The tail a pixel higher: the second frame of the little fish.
        Image moved(15, 11, kSpriteKey);
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 15; ++x) moved.set(x, y, x < 4 ? fish.get(x, std::min(10, y + 1)) : fish.get(x, y));
        fish = moved;
    }
    blitKeyed(img, fish, 1, 2, kSpriteKey);
    return img;
}

}  // namespace

Image hudFish() { return drawFish(playerDesign(), 56, 16); }
Image hudSkeleton() { return drawSkeleton(playerDesign(), 56, 16); }

void addSprites(std::vector<Picture>& out) {
    for (int c = 0; c < 5; ++c) {
        const StripSize& p = kPlayerStrips[c];
        out.push_back({p.id, makeStrip(drawFish(playerDesign(), p.width / 2, p.height), p.width, p.width / 2), false, kSpriteKey});
        // The class-2 school strip is one pixel short of two 22-pixel halves:
        // the game still reads the left-facing fish from x 22, so both fish
        // are 21 pixels wide and that one starts at 22.
        const StripSize& s = kSchoolStrips[c];
        const int half = (s.width + 1) / 2;
        const Image fish = drawFish(schoolDesign(c), s.width - half, s.height);
        out.push_back({s.id, makeStrip(fish, s.width, half), false, kSpriteKey});
    }
    // Skeletons serve the player (whose class 1 and 4 are wider) and the
    // school: each skeleton keeps clear of the columns the other table reads.
    const int skeletonWidths[] = {12, 16, 22, 36, 41};
    const int leftOffsets[] = {0, 0, 0, 0, 3};
    for (int c = 0; c < 5; ++c) {
        const StripSize& k = kSkeletonStrips[c];
        const Image bones = drawSkeleton(schoolDesign(c), skeletonWidths[c], k.height);
        out.push_back({k.id, makeStrip(bones, k.width, k.width / 2 + leftOffsets[c]), false, kSpriteKey});
    }
    out.push_back({122, bubbleStrip(), true, kSpriteKey});

    // The hunger bar: the HUD's green fish as a skeleton, on the band's blue.
    Image bar(60, 20, kHudBlue);
    blitKeyed(bar, hudSkeleton(), kHudFishX, kHudFishY, kSpriteKey);
    out.push_back({101, bar, false, kSpriteKey});

    out.push_back({148, smallYellowFish(false), false, kMenuKey});
    out.push_back({137, smallYellowFish(true), false, kMenuKey});
}

Image iconImage(int size) {
    Image img(size, size, kIconKey);
    const int w = size - 2, h = size * 3 / 4;
    Image fish = drawFish(playerDesign(), w, h);
    blitKeyed(img, fish, 1, (size - h) / 2, kSpriteKey);
    return img;
}

}  // namespace art
