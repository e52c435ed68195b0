// The full-screen pictures: the game background with its HUD band, the
// title picture, the menu background with its empty caption boxes, and the
// frosted panel cut from the menu background.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tools/assetgen/fish_art.h"
#include "tools/assetgen/menu_parts.h"
#include "tools/assetgen/pictures.h"
#include "tools/assetgen/pixel_font.h"

namespace art {
namespace {

constexpr int kWidth = 176;
constexpr int kHeight = 220;

// The scenery's own repeatable dice, so every run draws the same picture.
struct Dice {
    uint32_t state;
    int roll(int n) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % static_cast<uint32_t>(n));
    }
};

// Water from `top` to `bottom`, lighter above, with slanted rays of light
// fading downwards.
void drawWater(Image& img, int top, int bottom, Rgb upper, Rgb lower, int rayCount) {
    ditherGradient(img, 0, top, kWidth, bottom, upper, lower);
    const double rayX[] = {20, 70, 128, 170, 45};
    const double rayW[] = {9, 14, 8, 12, 6};
    for (int y = top; y < bottom; ++y) {
        const double fade = std::max(0.0, 1.0 - static_cast<double>(y - top) / ((bottom - top) * 0.85));
        for (int x = 0; x < kWidth; ++x) {
            double light = 0;
            for (int r = 0; r < rayCount; ++r) {
                const double d = std::abs(x - (rayX[r] - (y - top) * 0.32));
                light = std::max(light, std::max(0.0, 1.0 - d / rayW[r]));
            }
            const double t = light * fade * 0.7;
            if (t > 0 && ditherOn(x, y, t)) img.set(x, y, shade(img.get(x, y), 1.10));
        }
    }
}

// Far rocks: a dark, soft ridge along the bottom of the water.
void drawRidge(Image& img, int baseY, int bottom, Rgb colour, double phase) {
    for (int x = 0; x < kWidth; ++x) {
        const double h = 10 + 7 * std::sin(x * 0.045 + phase) + 4 * std::sin(x * 0.13 + phase * 2.1) +
                         2 * std::sin(x * 0.31 + phase * 0.7);
        for (int y = static_cast<int>(baseY - h); y < bottom; ++y) {
            const double t = static_cast<double>(y - (baseY - h)) / 14.0;
            if (t < 0.12 && !ditherOn(x, y, 0.6)) continue;
            img.set(x, y, colour);
        }
    }
}

int sandEdge(int x, int sandTop) {
    return sandTop + static_cast<int>(std::lround(2 * std::sin(x * 0.07) + std::sin(x * 0.19 + 1.3)));
}

void drawSand(Image& img, int sandTop, int bottom, Dice& dice) {
    for (int x = 0; x < kWidth; ++x) {
        const int edge = sandEdge(x, sandTop);
        for (int y = edge; y < bottom; ++y) {
            const double t = std::min(1.0, static_cast<double>(y - edge) / std::max(1, bottom - sandTop));
            Rgb c = ditherOn(x, y, t) ? 0xA48654 : 0xCCB27A;
            if (y == edge) c = 0xE2CC94;
            // Ripples: short darker dashes.
            if (y > edge + 2 && ((x + (y * 5)) % 23 == 0 || (x + (y * 5)) % 23 == 1) && (y % 3 == 0)) c = 0x8E7246;
            img.set(x, y, c);
        }
    }
    for (int i = 0; i < 18; ++i) {
        const int x = dice.roll(kWidth), y = sandTop + 4 + dice.roll(std::max(1, bottom - sandTop - 5));
        img.set(x, y, 0x7A6440);
        img.set(x + 1, y, 0x9C8458);
        img.set(x, y - 1, 0xE0CFA0);
    }
}

// A swaying strand of weed rising from (x, baseY).
void drawWeed(Image& img, int x, int baseY, int height, double phase, Rgb colour) {
    const Rgb dark = shade(colour, 0.6), light = shade(colour, 1.25);
    for (int t = 0; t < height; ++t) {
        const double u = static_cast<double>(t) / height;
        const double cx = x + std::sin(t * 0.16 + phase) * 3.0 * u;
        const int y = baseY - t;
        const double w = 1.6 * (1 - u * 0.6);
        for (int px = static_cast<int>(cx - w - 1); px <= static_cast<int>(cx + w + 1); ++px) {
            const double d = px + 0.5 - cx;
            if (std::abs(d) <= w) img.set(px, y, d < -w * 0.3 ? light : (d > w * 0.4 ? dark : colour));
        }
        // Little leaves every few pixels, alternating sides.
        if (t > 4 && t % 7 == 0) {
            const int side = (t / 7) % 2 ? 1 : -1;
            for (int k = 1; k <= 3; ++k) img.set(static_cast<int>(cx) + side * (k + 1), y - k / 2, k == 3 ? dark : colour);
        }
    }
}

// A branching coral, each branch splitting into two thinner ones.
void drawCoral(Image& img, double x, double y, double angle, double length, int depth, Rgb colour) {
    const double ex = x + std::cos(angle) * length, ey = y - std::sin(angle) * length;
    const int steps = static_cast<int>(length * 2) + 1;
    for (int i = 0; i <= steps; ++i) {
        const double px = x + (ex - x) * i / steps, py = y + (ey - y) * i / steps;
        img.set(static_cast<int>(px), static_cast<int>(py), colour);
        if (depth >= 2) img.set(static_cast<int>(px) + 1, static_cast<int>(py), shade(colour, 0.75));
    }
    if (depth == 0) {
        img.set(static_cast<int>(ex), static_cast<int>(ey), shade(colour, 1.4));
        return;
    }
    drawCoral(img, ex, ey, angle + 0.5, length * 0.7, depth - 1, colour);
    drawCoral(img, ex, ey, angle - 0.45, length * 0.72, depth - 1, colour);
}

void drawRock(Image& img, int cx, int baseY, int rx, int ry, Rgb colour) {
    for (int y = baseY - ry; y <= baseY; ++y)
        for (int x = cx - rx; x <= cx + rx; ++x) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - baseY) / ry;
            if (dx * dx + dy * dy > 1) continue;
            const double lightness = -dx * 0.4 - dy * 0.6;  // lit from the top left
            img.set(x, y, lightness > 0.55 ? shade(colour, 1.25) : (lightness < 0.05 ? shade(colour, 0.7) : colour));
        }
}

// Drifting specks in the water.
void drawSpecks(Image& img, int top, int bottom, int count, Dice& dice) {
    for (int i = 0; i < count; ++i) {
        const int x = dice.roll(kWidth), y = top + dice.roll(bottom - top);
        img.set(x, y, shade(img.get(x, y), 1.3));
    }
}

// A decorative bubble (not the game's bubble sprite).
void drawBubble(Image& img, int cx, int cy, int r) {
    for (int y = cy - r - 1; y <= cy + r + 1; ++y)
        for (int x = cx - r - 1; x <= cx + r + 1; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d <= r && d > r - 1.1) img.set(x, y, mix(img.get(x, y), 0xC8F0FF, 0.75));
        }
    img.set(cx - r / 2, cy - r / 2, 0xF0FCFF);
    if (r >= 3) img.set(cx - r / 2 + 1, cy - r / 2, 0xDFF6FF);
}

// The name in the pixel font, each font pixel `scale` wide, with a dark
// outline, a drop shadow and a warm gradient.
void drawTitle(Image& img, const char* name, int x, int y, int scale, int spacing) {
    const Image mask = textMask(name, scale, spacing);
    const Rgb outline = 0x0A1838, shadow = 0x041026;
    const int outlineWidth = scale >= 3 ? 2 : 1;
    auto inkAt = [&](int mx, int my) { return mask.inside(mx, my) && mask.get(mx, my) == 1; };
    const int drop = scale >= 3 ? 3 : 2;
    for (int my = -outlineWidth; my < mask.height + outlineWidth + drop; ++my)
        for (int mx = -outlineWidth; mx < mask.width + outlineWidth + drop; ++mx) {
            bool near = false, nearShadow = false;
            for (int dy = -outlineWidth; dy <= outlineWidth; ++dy)
                for (int dx = -outlineWidth; dx <= outlineWidth; ++dx) {
                    if (inkAt(mx + dx, my + dy)) near = true;
                    if (inkAt(mx + dx - drop, my + dy - drop)) nearShadow = true;
                }
            if (nearShadow) img.set(x + mx, y + my, shadow);
            if (near) img.set(x + mx, y + my, outline);
        }
    for (int my = 0; my < mask.height; ++my)
        for (int mx = 0; mx < mask.width; ++mx) {
            if (!inkAt(mx, my)) continue;
            const double t = static_cast<double>(my) / (mask.height - 1);
            Rgb c = t < 0.5 ? mix(0xFFF8A0, 0xFFD030, t / 0.5) : mix(0xFFC020, 0xF07010, (t - 0.5) / 0.5);
            if (!inkAt(mx, my - 1)) c = 0xFFFCE0;                    // lit top edges
            else if (!inkAt(mx, my + 1)) c = shade(c, 0.8);        // shaded bottom edges
            img.set(x + mx, y + my, c);
        }
}

// The band at the top of the game: dark blue, the whole green fish where the
// hunger bar is copied over it, and a small fish sign left of the score.
void drawHudBand(Image& img) {
    fillRect(img, 0, 0, kWidth, 20, kHudBlue);
    // A light edge under the band; rows 0..18 stay plain where the score goes.
    for (int x = 0; x < kWidth; ++x) img.set(x, 19, 0x2A6CB0);
    blitKeyed(img, hudFish(), kHudFishX, kHudFishY, kSpriteKey);
    const Image sign = drawFish(schoolDesign(0), 12, 9);
    blitKeyed(img, sign, 108, 5, kSpriteKey);
}

Image gameBackground() {
    Image img(kWidth, kHeight);
    Dice dice{116};
    drawWater(img, 20, kHeight, 0x3088C4, 0x0C3A74, 4);
    drawRidge(img, 200, kHeight, 0x0E3266, 0.4);
    drawSpecks(img, 24, 190, 40, dice);
    drawSand(img, 204, kHeight, dice);
    drawRock(img, 26, 207, 14, 9, 0x56607A);
    drawRock(img, 40, 209, 8, 5, 0x4A5470);
    drawRock(img, 150, 208, 11, 7, 0x5A647E);
    drawCoral(img, 62, 208, 1.57, 6, 3, 0xF06488);
    drawCoral(img, 120, 209, 1.45, 5, 3, 0xFF9A3C);
    drawWeed(img, 8, 206, 34, 0.0, 0x2E9A48);
    drawWeed(img, 14, 207, 22, 1.7, 0x3AAE52);
    drawWeed(img, 92, 208, 18, 0.9, 0x2E9A48);
    drawWeed(img, 164, 207, 30, 2.4, 0x3AAE52);
    drawWeed(img, 170, 208, 20, 0.4, 0x2E9A48);
    drawHudBand(img);
    return img;
}

Image titlePicture() {
    Image img(kWidth, kHeight);
    Dice dice{127};
    drawWater(img, 0, kHeight, 0x3C9AD0, 0x0A3068, 5);
    // A far-off shark, only a dark shape in the blue.
    {
        const Image shark = drawFish(schoolDesign(4), 70, 48);
        const Image far = mirrored(shark);
        for (int y = 0; y < far.height; ++y)
            for (int x = 0; x < far.width; ++x)
                if (far.get(x, y) != kSpriteKey) img.set(100 + x, 128 + y, mix(img.get(100 + x, 128 + y), 0x0A2A58, 0.55));
    }
    drawRidge(img, 196, kHeight, 0x0C2E60, 1.9);
    drawSpecks(img, 0, 190, 60, dice);
    drawSand(img, 200, kHeight, dice);
    drawRock(img, 140, 204, 16, 10, 0x56607A);
    drawCoral(img, 30, 206, 1.57, 8, 3, 0xF06488);
    drawCoral(img, 118, 206, 1.4, 6, 3, 0xFF9A3C);
    drawWeed(img, 8, 204, 46, 0.3, 0x2E9A48);
    drawWeed(img, 15, 206, 30, 2.0, 0x3AAE52);
    drawWeed(img, 163, 204, 50, 1.1, 0x2E9A48);
    drawWeed(img, 170, 206, 28, 2.9, 0x3AAE52);
    drawWeed(img, 72, 205, 20, 0.7, 0x3AAE52);

    // The hero chasing a little yellow fish, bubbles rising from its mouth.
    blitKeyed(img, drawFish(playerDesign(), 92, 62), 28, 84, kSpriteKey);
    blitKeyed(img, drawFish(schoolDesign(0), 22, 18), 136, 112, kSpriteKey);
    blitKeyed(img, mirrored(drawFish(schoolDesign(1), 26, 22)), 8, 160, kSpriteKey);
    drawBubble(img, 124, 96, 3);
    drawBubble(img, 129, 84, 2);
    drawBubble(img, 126, 74, 4);
    drawBubble(img, 132, 62, 2);
    drawBubble(img, 40, 70, 2);

    drawTitle(img, "FINGULP", (kWidth - textWidth("FINGULP", 4, 4)) / 2, 22, 4, 4);
    return img;
}

Image menuBackground() {
    Image img(kWidth, kHeight);
    Dice dice{136};
    drawWater(img, 0, kCaptionTop, 0x2E80BC, 0x0A2E64, 4);
    drawRidge(img, 180, kCaptionTop, 0x0C2E60, 2.6);
    drawSpecks(img, 0, 170, 36, dice);
    drawSand(img, 184, kCaptionTop, dice);
    drawWeed(img, 6, 186, 60, 0.5, 0x2E9A48);
    drawWeed(img, 12, 187, 38, 2.2, 0x3AAE52);
    drawWeed(img, 166, 186, 64, 1.4, 0x2E9A48);
    drawWeed(img, 171, 187, 36, 0.1, 0x3AAE52);
    drawCoral(img, 40, 190, 1.6, 5, 3, 0xF06488);
    drawCoral(img, 134, 190, 1.5, 5, 3, 0xFF9A3C);
    drawRock(img, 88, 192, 12, 6, 0x56607A);
    drawBubble(img, 160, 40, 3);
    drawBubble(img, 156, 28, 2);
    drawBubble(img, 18, 30, 2);

    // The calm, darker glass behind the menu rows.
    const int left = 14, top = 36, right = 162, bottom = 168;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const int dx = std::min(x - left, right - 1 - x), dy = std::min(y - top, bottom - 1 - y);
            if (dx + dy < 3) continue;  // cut corners
            const bool border = dx == 0 || dy == 0 || dx + dy == 3;
            const Rgb under = img.get(x, y);
            img.set(x, y, border ? mix(under, 0x9CD0F4, 0.45) : mix(under, 0x04122A, 0.62));
        }
    drawTitle(img, "FINGULP", (kWidth - textWidth("FINGULP", 2, 2)) / 2, 2, 2, 2);

    // The foot: a dark ledge with the two empty caption boxes.
    fillRect(img, 0, kCaptionTop, kWidth, kHeight, 0x081830);
    drawCaptionBox(img, kLeftBoxLeft, kCaptionTop, kLeftBoxRight);
    drawCaptionBox(img, kRightBoxLeft, kCaptionTop, kRightBoxRight);
    return img;
}

// The panel behind Help, About and Options: the menu background seen
// through frosted glass, with a light rim and a line under the title.
Image frostedPanel(const Image& menu) {
    const int px = 22, py = 19, w = 135, h = 161;
    Image panel(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // A wide box blur of what lies behind.
            int r = 0, g = 0, b = 0, n = 0;
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    const int sx = std::clamp(px + x + dx, 0, kWidth - 1), sy = std::clamp(py + y + dy, 0, kHeight - 1);
                    const Rgb c = menu.get(sx, sy);
                    r += redOf(c);
                    g += greenOf(c);
                    b += blueOf(c);
                    ++n;
                }
            Rgb c = mix(rgbOf(r / n, g / n, b / n), 0x2A3C58, 0.62);
            if (ditherOn(x, y, 0.12)) c = shade(c, 1.08);  // the frost's grain
            panel.set(x, y, c);
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int dx = std::min(x, w - 1 - x), dy = std::min(y, h - 1 - y);
            if (dx + dy < 2) {
                panel.set(x, y, menu.get(px + x, py + y));  // rounded corners show the scene
            } else if (dx == 0 || dy == 0 || dx + dy == 2) {
                panel.set(x, y, 0xA8CCEC);
            } else if (dx == 1 || dy == 1) {
                panel.set(x, y, mix(panel.get(x, y), 0x0A1428, 0.5));
            }
        }
    for (int x = 10; x < w - 10; ++x) {
        panel.set(x, 31, mix(panel.get(x, 31), 0xA8CCEC, 0.55));
        panel.set(x, 32, mix(panel.get(x, 32), 0x0A1428, 0.4));
    }
    return panel;
}

}  // namespace

void addScenes(std::vector<Picture>& out) {
    out.push_back({116, gameBackground(), false, kNoKey});
    out.push_back({127, titlePicture(), false, kNoKey});
    const Image menu = menuBackground();
    out.push_back({136, menu, false, kNoKey});
    out.push_back({131, frostedPanel(menu), false, kNoKey});
}

}  // namespace art
