// The generator's canvas: an RGB picture (0xRRGGBB per pixel, as an artist
// writes colours) and the few drawing primitives the pictures are made with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace art {

using Rgb = uint32_t;  // 0xRRGGBB

constexpr Rgb rgbOf(int r, int g, int b) {
    return (static_cast<Rgb>(r & 0xFF) << 16) | (static_cast<Rgb>(g & 0xFF) << 8) | static_cast<Rgb>(b & 0xFF);
}
constexpr int redOf(Rgb c) { return (c >> 16) & 0xFF; }
constexpr int greenOf(Rgb c) { return (c >> 8) & 0xFF; }
constexpr int blueOf(Rgb c) { return c & 0xFF; }

// The keys the game copies with: white around sprites, pure blue around the
// menu family, magenta around the icon.
constexpr Rgb kSpriteKey = 0xFFFFFF;
constexpr Rgb kMenuKey = 0x0000FF;
constexpr Rgb kIconKey = 0xFF00FF;
// The HUD band's dark blue (red 0, green 65, blue 132).
constexpr Rgb kHudBlue = 0x004184;

// Linear mix of two colours, t = 0 gives a, t = 1 gives b.
Rgb mix(Rgb a, Rgb b, double t);
// Scales a colour's brightness (factor below 1 darkens, above 1 lightens).
Rgb shade(Rgb c, double factor);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Image() = default;
    Image(int w, int h, Rgb fillColour = 0);

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgb get(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Writes one pixel; outside the picture nothing happens.
    void set(int x, int y, Rgb c);
    void fill(Rgb c);
};

// Right and bottom are exclusive.
void fillRect(Image& img, int left, int top, int right, int bottom, Rgb c);
void frameRect(Image& img, int left, int top, int right, int bottom, Rgb c);
// Pixels whose centre lies in the ellipse.
void fillEllipse(Image& img, double cx, double cy, double rx, double ry, Rgb c);
void line(Image& img, int x0, int y0, int x1, int y1, Rgb c);
// Vertical gradient between two colours, ordered-dithered in 8 bands per step
// so it stays crisp pixel art.
void ditherGradient(Image& img, int left, int top, int right, int bottom, Rgb topColour, Rgb bottomColour);
// True when the 4 x 4 ordered-dither threshold at (x, y) is below t (0..1).
bool ditherOn(int x, int y, double t);

// Copies src onto dst at (x, y), skipping pixels equal to key.
void blitKeyed(Image& dst, const Image& src, int x, int y, Rgb key);
void blit(Image& dst, const Image& src, int x, int y);
Image mirrored(const Image& src);
Image crop(const Image& src, int x, int y, int w, int h);
// A picture scaled up by a whole factor.
Image enlarged(const Image& src, int factor);

}  // namespace art
