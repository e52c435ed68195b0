// Every bitmap of the game, by resource id, and the groups they are made in.
#pragma once

#include <vector>

#include "tools/assetgen/image.h"

namespace art {

// For pictures drawn whole, with no see-through colour.
constexpr Rgb kNoKey = 0x1000000;

struct Picture {
    int id;
    Image image;
    bool eightBit;  // stored with a palette (the bubble strip)
    Rgb key;        // the colour the game treats as see-through, for the contact sheet
};

// Fish, skeletons, bubbles, the hunger bar and the small yellow fish.
void addSprites(std::vector<Picture>& out);
// Soft-key captions, check boxes, radio buttons, arrows and the small bars.
void addMenuParts(std::vector<Picture>& out);
// The full-screen pictures (game background, title, menu background) and
// the frosted panel.
void addScenes(std::vector<Picture>& out);

// All of them, sorted by id.
std::vector<Picture> allPictures();

// The icon group's two images (32 and 16 pixels), see-through where kIconKey.
Image iconImage(int size);

// Shared with the scenes: the green fish of the HUD band and its skeleton
// (the hunger bar) are one drawing, placed the same way.
Image hudFish();
Image hudSkeleton();
constexpr int kHudFishX = 2;
constexpr int kHudFishY = 1;

}  // namespace art
