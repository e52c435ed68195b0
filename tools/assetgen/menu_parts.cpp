// The menu family on pure blue: soft-key captions, check boxes, radio
// buttons, the Help arrows, and the two small bars nobody draws.
#include "tools/assetgen/menu_parts.h"

#include <cmath>

#include "tools/assetgen/pictures.h"
#include "tools/assetgen/pixel_font.h"

namespace art {
namespace {

constexpr Rgb kCaptionInk = 0xF4F4F4;
constexpr Rgb kCaptionShadow = 0x06122C;
constexpr Rgb kSwitchWhite = 0xF4F4F4;
constexpr Rgb kSwitchYellow = 0xFFFF0A;  // the highlighted row's text colour
constexpr Rgb kSwitchShadow = 0x0A1630;

// Bold caption lettering: each font pixel is doubled to the right.
void drawBoldText(Image& img, const char* text, int x, int y, Rgb colour) {
    drawText(img, text, x, y, 1, 2, colour);
    drawText(img, text, x + 1, y, 1, 2, colour);
}
int boldWidth(const char* text) { return textWidth(text, 1, 2) + 1; }

// A caption: the box drawn where it lies on screen, the word centred in it.
Image caption(const char* word, int width, bool left) {
    Image img(width, kCaptionHeight, kMenuKey);
    const int boxLeft = left ? kLeftBoxLeft : kRightBoxLeft - 88;
    const int boxRight = left ? kLeftBoxRight : kRightBoxRight - 88;
    drawCaptionBox(img, boxLeft, 0, boxRight);
    const int x = (boxLeft + boxRight - boldWidth(word)) / 2;
    const int y = (kCaptionHeight - kGlyphHeight) / 2;
    drawBoldText(img, word, x + 1, y + 1, kCaptionShadow);
    drawBoldText(img, word, x, y, kCaptionInk);
    return img;
}

// A 17 x 17 switch box: a rounded square frame, crossed or clear.
Image checkBox(Rgb ink, bool crossed) {
    Image img(17, 17, kMenuKey);
    auto frame = [&](int offset, Rgb c) {
        for (int i = 3; i <= 13; ++i) {
            for (int t = 0; t < 2; ++t) {
                img.set(i + offset, 1 + t + offset, c);
                img.set(i + offset, 14 + t + offset, c);
                img.set(1 + t + offset, i + offset, c);
                img.set(14 + t + offset, i + offset, c);
            }
        }
        img.set(2 + offset, 2 + offset, c);
        img.set(14 + offset, 2 + offset, c);
        img.set(2 + offset, 14 + offset, c);
        img.set(14 + offset, 14 + offset, c);
    };
    auto cross = [&](int offset, Rgb c) {
        for (int i = 5; i <= 11; ++i) {
            img.set(i + offset, i + offset, c);
            img.set(i + 1 + offset, i + offset, c);
            img.set(16 - i + offset, i + offset, c);
            img.set(15 - i + offset, i + offset, c);
        }
    };
    // A dark shadow one pixel down-right keeps the box readable on light water.
    frame(1, kSwitchShadow);
    frame(0, ink);
    if (crossed) cross(0, ink);
    return img;
}

Image radioButton(Rgb ink, bool filled) {
    Image img(17, 17, kMenuKey);
    for (int pass = 0; pass < 2; ++pass) {
        const int o = pass == 0 ? 1 : 0;
        const Rgb c = pass == 0 ? kSwitchShadow : ink;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x) {
                const double d = std::hypot(x + 0.5 - 8.0 - o, y + 0.5 - 8.0 - o);
                if ((d <= 7.0 && d >= 5.1) || (filled && d <= 3.2)) img.set(x, y, c);
            }
    }
    return img;
}

Image arrow(bool up) {
    const char* rows[7] = {"...#...", "..###..", ".#####.", "#######", "..###..", "..###..", "..###.."};
    Image img(7, 7, kMenuKey);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x)
            if (rows[y][x] == '#') img.set(x, up ? y : 6 - y, y < 4 ? 0xFFFF0A : 0xF0D000);
    return img;
}

Image greyCheckBoxOnGreen() {
    Image img(17, 17, 0x1E4A26);
    frameRect(img, 2, 2, 15, 15, 0xA0A0A0);
    frameRect(img, 3, 3, 14, 14, 0x6E6E6E);
    fillRect(img, 4, 4, 13, 13, 0x2A5E34);
    return img;
}

Image brownBar() {
    Image img(64, 16, 0x8A5A2C);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x) {
            // Wood grain: slow waves of darker lines.
            const double grain = std::sin(x * 0.21 + y * 1.7 + std::sin(x * 0.05) * 3.0);
            if (grain > 0.82) img.set(x, y, 0x6E4420);
            else if (grain < -0.9) img.set(x, y, 0xA06C38);
        }
    frameRect(img, 0, 0, 64, 16, 0x3E2610);
    for (int x = 1; x < 63; ++x) img.set(x, 1, 0xB88048);
    return img;
}

}  // namespace

void drawCaptionBox(Image& img, int left, int top, int right) {
    const int bottom = top + kCaptionHeight;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const int dx = std::min(x - left, right - 1 - x);
            const int dy = std::min(y - top, bottom - 1 - y);
            // Rounded corners of radius 3.
            if ((dx == 0 && dy < 3) || (dx == 1 && dy < 1) || (dy == 0 && dx < 3) || (dy == 1 && dx < 1)) continue;
            if (dx == 0 && dy == 0) continue;
            Rgb c;
            const bool border = dx == 0 || dy == 0 || (dx == 1 && dy == 1) || (dx == 1 && dy < 3) || (dy == 1 && dx < 3);
            if (border) {
                c = 0x0A1A3C;
            } else if (y == top + 1 || (dy == 2 && dx == 2)) {
                c = 0x8ACDF4;  // glossy top rim
            } else {
                // Two-tone glass: lighter upper half, deeper lower half.
                const double t = static_cast<double>(y - top - 2) / (kCaptionHeight - 4);
                c = t < 0.45 ? mix(0x3C86C8, 0x2E72B6, t / 0.45) : mix(0x1C5496, 0x12366E, (t - 0.45) / 0.55);
                if (dx == 1) c = shade(c, 0.8);
            }
            img.set(x, y, c);
        }
}

void addMenuParts(std::vector<Picture>& out) {
    out.push_back({155, caption("BACK", 89, true), false, kMenuKey});
    out.push_back({156, caption("MENU", 89, true), false, kMenuKey});
    out.push_back({157, caption("QUIT", 89, true), false, kMenuKey});
    out.push_back({166, caption("SELECT", 88, false), false, kMenuKey});
    out.push_back({103, caption("STORE", 88, false), false, kMenuKey});
    out.push_back({104, caption("OK", 88, false), false, kMenuKey});
    out.push_back({167, caption("ABOUT", 88, false), false, kMenuKey});
    out.push_back({125, caption("RESUME", 87, false), false, kMenuKey});
    out.push_back({126, caption("PAUSE", 87, false), false, kMenuKey});

    out.push_back({150, checkBox(kSwitchWhite, false), false, kMenuKey});
    out.push_back({151, checkBox(kSwitchWhite, true), false, kMenuKey});
    out.push_back({160, checkBox(kSwitchYellow, false), false, kMenuKey});
    out.push_back({161, checkBox(kSwitchYellow, true), false, kMenuKey});
    out.push_back({152, radioButton(kSwitchWhite, true), false, kMenuKey});
    out.push_back({153, radioButton(kSwitchWhite, false), false, kMenuKey});
    out.push_back({162, radioButton(kSwitchYellow, false), false, kMenuKey});
    out.push_back({163, radioButton(kSwitchYellow, true), false, kMenuKey});
    out.push_back({135, arrow(true), false, kMenuKey});
    out.push_back({133, arrow(false), false, kMenuKey});
    out.push_back({159, greyCheckBoxOnGreen(), false, kNoKey});
    out.push_back({154, brownBar(), false, kNoKey});
}

}  // namespace art
