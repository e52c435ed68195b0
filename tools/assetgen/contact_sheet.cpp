// Contact sheet and preview: shelf layout of enlarged pictures with their
// see-through colour shown as a grey checkerboard.
#include "tools/assetgen/contact_sheet.h"

#include <algorithm>
#include <string>

#include "tools/assetgen/pixel_font.h"

namespace art {
namespace {

constexpr int kSheetWidth = 1720;
constexpr int kMargin = 16;
constexpr Rgb kSheetBack = 0x3A3A3A;

Rgb checker(int x, int y) { return ((x / 8 + y / 8) % 2) ? 0x9A9A9A : 0xC4C4C4; }

const Picture* find(const std::vector<Picture>& pictures, int id) {
    for (const Picture& p : pictures)
        if (p.id == id) return &p;
    return nullptr;
}

}  // namespace

Image contactSheet(const std::vector<Picture>& pictures, int scale) {
    // Lay out shelves first, then paint.
    struct Slot {
        const Picture* picture;
        int x, y;
    };
    std::vector<Slot> slots;
    int x = kMargin, y = kMargin, shelfHeight = 0;
    const int labelHeight = kGlyphHeight * 2 + 6;
    for (const Picture& p : pictures) {
        const int w = std::max(p.image.width * scale, textWidth("000", 2, 2));
        const int h = p.image.height * scale + labelHeight;
        if (x + w + kMargin > kSheetWidth) {
            x = kMargin;
            y += shelfHeight + kMargin;
            shelfHeight = 0;
        }
        slots.push_back({&p, x, y});
        x += w + kMargin;
        shelfHeight = std::max(shelfHeight, h);
    }
    Image sheet(kSheetWidth, y + shelfHeight + kMargin, kSheetBack);
    for (const Slot& s : slots) {
        const Image& img = s.picture->image;
        drawText(sheet, std::to_string(s.picture->id).c_str(), s.x, s.y, 2, 2, 0xF0F0F0);
        const int top = s.y + labelHeight;
        for (int py = 0; py < img.height * scale; ++py)
            for (int px = 0; px < img.width * scale; ++px) {
                const Rgb c = img.get(px / scale, py / scale);
                sheet.set(s.x + px, top + py, c == s.picture->key ? checker(px, py) : c);
            }
    }
    return sheet;
}

Image preview(const std::vector<Picture>& pictures, int scale) {
    const Picture* background = find(pictures, 116);
    const Picture* menu = find(pictures, 136);
    Image game(176, 220), menuScreen(176, 220), help(176, 220);
    if (background) blit(game, background->image, 0, 0);
    auto sprite = [&](int id, int sx, int w, int h, int x, int y, Rgb key) {
        const Picture* p = find(pictures, id);
        if (p) blitKeyed(game, crop(p->image, sx, 0, std::min(w, p->image.width - sx), h), x, y, key);
    };
    // A few fish of each class, a skeleton rising and bubbles.
    sprite(110, 0, 12, 10, 20, 60, kSpriteKey);
    sprite(110, 12, 12, 10, 140, 150, kSpriteKey);
    sprite(109, 0, 17, 15, 40, 120, kSpriteKey);
    sprite(108, 22, 22, 20, 120, 40, kSpriteKey);
    sprite(107, 0, 36, 25, 10, 160, kSpriteKey);
    sprite(105, 44, 44, 30, 100, 95, kSpriteKey);
    sprite(112, 0, 18, 15, 70, 80, kSpriteKey);
    sprite(124, 47, 47, 30, 110, 170, kSpriteKey);
    sprite(119, 0, 22, 20, 60, 30, kSpriteKey);
    sprite(121, 44, 44, 30, 20, 25, kSpriteKey);
    sprite(122, 0, 7, 8, 150, 130, kSpriteKey);
    sprite(122, 7, 7, 8, 156, 110, kSpriteKey);
    sprite(122, 14, 7, 8, 30, 100, kSpriteKey);
    if (const Picture* bar = find(pictures, 101)) blit(game, crop(bar->image, 0, 0, 30, 18), 0, 0);
    drawText(game, "  7", 122, 5, 1, 1, 0xFFFFFF);
    if (const Picture* p = find(pictures, 156)) blitKeyed(game, p->image, 0, 198, kMenuKey);
    if (const Picture* p = find(pictures, 126)) blitKeyed(game, p->image, 88, 198, kMenuKey);

    if (menu) blit(menuScreen, menu->image, 0, 0);
    const char* items[] = {"NEW", "OPTIONS", "ABOUT", "HELP", "EXIT"};
    for (int i = 0; i < 5; ++i) {
        const int w = textWidth(items[i], 2, 2);
        drawText(menuScreen, items[i], 88 - w / 2, 45 + 25 * i, 2, 2, 0xFFFFFF);
    }
    if (const Picture* p = find(pictures, 148)) blitKeyed(menuScreen, crop(p->image, 0, 0, 16, 14), 24, 49 + 25, kMenuKey);
    if (const Picture* p = find(pictures, 155)) blitKeyed(menuScreen, p->image, 0, 198, kMenuKey);
    if (const Picture* p = find(pictures, 166)) blitKeyed(menuScreen, p->image, 88, 198, kMenuKey);

    if (menu) blit(help, menu->image, 0, 0);
    if (const Picture* p = find(pictures, 131)) blit(help, p->image, 22, 19);
    drawText(help, "HELP", 89 - textWidth("HELP", 2, 2) / 2, 31, 2, 2, 0xFFFF0A);
    for (int k = 0; k < 7; ++k) drawText(help, "THE AIM OF THE", 33, 56 + 15 * k, 1, 2, 0xFFFFFF);
    if (const Picture* p = find(pictures, 135)) blitKeyed(help, p->image, 76, 164, kMenuKey);
    if (const Picture* p = find(pictures, 133)) blitKeyed(help, p->image, 93, 164, kMenuKey);
    if (const Picture* p = find(pictures, 161)) blitKeyed(help, p->image, 66, 100, kMenuKey);
    if (const Picture* p = find(pictures, 150)) blitKeyed(help, p->image, 46, 100, kMenuKey);
    if (const Picture* p = find(pictures, 104)) blitKeyed(help, p->image, 88, 198, kMenuKey);

    Image out((176 * scale + 16) * 3, 220 * scale, kSheetBack);
    blit(out, enlarged(game, scale), 0, 0);
    blit(out, enlarged(menuScreen, scale), 176 * scale + 16, 0);
    blit(out, enlarged(help, scale), 2 * (176 * scale + 16), 0);
    return out;
}

}  // namespace art
