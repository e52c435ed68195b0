// The generator's canvas and drawing primitives.
#include "tools/assetgen/image.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace art {

namespace {
int clampByte(double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); }
}  // namespace

Rgb mix(Rgb a, Rgb b, double t) {
    return rgbOf(clampByte(redOf(a) + (redOf(b) - redOf(a)) * t), clampByte(greenOf(a) + (greenOf(b) - greenOf(a)) * t),
                 clampByte(blueOf(a) + (blueOf(b) - blueOf(a)) * t));
}

Rgb shade(Rgb c, double factor) {
    if (factor <= 1.0) return rgbOf(clampByte(redOf(c) * factor), clampByte(greenOf(c) * factor), clampByte(blueOf(c) * factor));
    return mix(c, 0xFFFFFF, std::min(1.0, factor - 1.0));
}

Image::Image(int w, int h, Rgb fillColour) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fillColour) {}

void Image::set(int x, int y, Rgb c) {
    if (inside(x, y)) pixels[static_cast<size_t>(y) * width + x] = c;
}

void Image::fill(Rgb c) { std::fill(pixels.begin(), pixels.end(), c); }

void fillRect(Image& img, int left, int top, int right, int bottom, Rgb c) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) img.set(x, y, c);
}

void frameRect(Image& img, int left, int top, int right, int bottom, Rgb c) {
    for (int x = left; x < right; ++x) {
        img.set(x, top, c);
        img.set(x, bottom - 1, c);
    }
    for (int y = top; y < bottom; ++y) {
        img.set(left, y, c);
        img.set(right - 1, y, c);
    }
}

void fillEllipse(Image& img, double cx, double cy, double rx, double ry, Rgb c) {
    if (rx <= 0 || ry <= 0) return;
    for (int y = static_cast<int>(std::floor(cy - ry)); y <= static_cast<int>(std::ceil(cy + ry)); ++y)
        for (int x = static_cast<int>(std::floor(cx - rx)); x <= static_cast<int>(std::ceil(cx + rx)); ++x) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) img.set(x, y, c);
        }
}

void line(Image& img, int x0, int y0, int x1, int y1, Rgb c) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        img.set(x0, y0, c);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

bool ditherOn(int x, int y, double t) {
    static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (kBayer[y & 3][x & 3] + 0.5) / 16.0 < t;
}

void ditherGradient(Image& img, int left, int top, int right, int bottom, Rgb topColour, Rgb bottomColour) {
    // Eight flat colour steps, each blended into the next by the dither.
    const int steps = 8;
    const int span = std::max(1, bottom - top - 1);
    for (int y = top; y < bottom; ++y) {
        const double pos = static_cast<double>(y - top) / span * (steps - 1);
        const int step = std::min(steps - 2, static_cast<int>(pos));
        const double frac = pos - step;
        const Rgb a = mix(topColour, bottomColour, static_cast<double>(step) / (steps - 1));
        const Rgb b = mix(topColour, bottomColour, static_cast<double>(step + 1) / (steps - 1));
        for (int x = left; x < right; ++x) img.set(x, y, ditherOn(x, y, frac) ? b : a);
    }
}

void blitKeyed(Image& dst, const Image& src, int x, int y, Rgb key) {
    for (int sy = 0; sy < src.height; ++sy)
        for (int sx = 0; sx < src.width; ++sx) {
            const Rgb c = src.get(sx, sy);
            if (c != key) dst.set(x + sx, y + sy, c);
        }
}

void blit(Image& dst, const Image& src, int x, int y) {
    for (int sy = 0; sy < src.height; ++sy)
        for (int sx = 0; sx < src.width; ++sx) dst.set(x + sx, y + sy, src.get(sx, sy));
}

Image mirrored(const Image& src) {
    Image out(src.width, src.height);
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x) out.set(src.width - 1 - x, y, src.get(x, y));
    return out;
}

Image crop(const Image& src, int x, int y, int w, int h) {
    Image out(w, h);
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx)
            if (src.inside(x + xx, y + yy)) out.set(xx, yy, src.get(x + xx, y + yy));
    return out;
}

Image enlarged(const Image& src, int factor) {
    Image out(src.width * factor, src.height * factor);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) out.set(x, y, src.get(x / factor, y / factor));
    return out;
}

}  // namespace art
