// The fish kinds and how a fish and its skeleton are drawn: the outline is
// sampled into parts (tail, fins, body, markings, eye), then shaded and
// outlined as pixel art.
#include "tools/assetgen/fish_art.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace art {
namespace {

// ---- The kinds --------------------------------------------------------------
//                      tail  top   bot   thick head  back  ped   tailU tailL fork
//                      dorsal from/to/height/peak, anal from/to/height/peak, pectoral,
//                      eye along/y/size, marking, count, colours..., gills

// The player: a round, friendly green fish with a big eye and lime fins.
const FishDesign kPlayer = {0.24, 0.17, 0.90, 0.45, 2.3, 1.5, 0.34, 0.42, 0.42, 0.25,
                            0.16, 0.56, 0.10, 0.55, 0.28, 0.55, 0.07, 0.50, 0.0,
                            0.78, 0.40, 0.13, Marking::Stripes, 1,
                            0x2E9E3A, 0x4CCB3E, 0xC6F07A, 0xB8F050, 0x0E3A16, 0xE8F86A, 0x2E9E3A, 0x102010, false, true};

// Class 0: a tiny yellow fish with orange fins.
const FishDesign kYellow = {0.26, 0.18, 0.86, 0.50, 2.0, 1.4, 0.35, 0.40, 0.40, 0.35,
                            0.25, 0.70, 0.12, 0.60, 0.30, 0.60, 0.08, 0.55, 0.0,
                            0.76, 0.40, 0.11, Marking::None, 0,
                            0xE0A010, 0xFFD430, 0xFFF0A0, 0xFF8A1E, 0x5A3000, 0, 0, 0x201000, false, true};

// Class 1: an orange clownfish with three pale bands edged in black.
const FishDesign kClown = {0.22, 0.16, 0.86, 0.50, 2.3, 1.6, 0.40, 0.38, 0.38, 0.0,
                           0.12, 0.72, 0.14, 0.55, 0.20, 0.55, 0.10, 0.50, 0.0,
                           0.80, 0.38, 0.10, Marking::Bands, 3,
                           0xE05A10, 0xFF8420, 0xFFB060, 0xFF9A30, 0x3A1000, 0xF0EEE8, 0x201010, 0x100800, false, true};

// Class 2: a tall violet angelfish with long swept fins and dark bars.
const FishDesign kAngel = {0.20, 0.24, 0.78, 0.55, 1.8, 1.3, 0.25, 0.28, 0.28, 0.25,
                           0.15, 0.70, 0.26, 0.25, 0.15, 0.70, 0.24, 0.25, 0.0,
                           0.80, 0.42, 0.08, Marking::Stripes, 2,
                           0x8A4AC8, 0xB27AF0, 0xE2C8FF, 0xF0D040, 0x2A0A50, 0x4A1C86, 0x4A1C86, 0x180830, false, false};

// Class 3: a crimson snapper with a forked tail, spiny back and a big eye.
const FishDesign kSnapper = {0.20, 0.20, 0.84, 0.45, 1.7, 1.5, 0.28, 0.44, 0.44, 0.40,
                             0.25, 0.75, 0.14, 0.70, 0.22, 0.42, 0.09, 0.50, 0.0,
                             0.82, 0.38, 0.09, Marking::Spots, 5,
                             0xA8182E, 0xE03A48, 0xFFB0A8, 0xFF7A50, 0x40060E, 0xFFD8C8, 0, 0x200004, false, false};

// Class 4: a steel-grey shark with a tall dorsal fin and a crescent tail.
const FishDesign kShark = {0.22, 0.32, 0.80, 0.40, 1.35, 1.8, 0.22, 0.50, 0.30, 0.55,
                           0.38, 0.66, 0.30, 0.80, 0.20, 0.28, 0.10, 0.70, 0.20,
                           0.86, 0.44, 0.05, Marking::None, 0,
                           0x56687C, 0x7E92A6, 0xE4E2D8, 0x5E7084, 0x18222E, 0, 0, 0x080808, true, false};

// The menu cursor: a small bright yellow fish.
const FishDesign kCursor = {0.26, 0.16, 0.84, 0.50, 2.1, 1.4, 0.35, 0.42, 0.42, 0.35,
                            0.25, 0.70, 0.10, 0.60, 0.30, 0.60, 0.08, 0.55, 0.0,
                            0.76, 0.40, 0.12, Marking::None, 0,
                            0xF0B818, 0xFFE040, 0xFFF6B0, 0xFFA020, 0x4A2800, 0, 0, 0x201000, false, true};

// ---- Geometry ---------------------------------------------------------------

enum Part : uint8_t { kNone, kTail, kFin, kBody, kMark, kMarkEdge, kEyeWhite, kPupil, kMouth };

struct Geometry {
    const FishDesign& d;
    double w, h;
    double tailX;      // where the body begins
    double centreY;
    double halfBody;   // body half-height at its thickest

    Geometry(const FishDesign& design, int width, int height)
        : d(design), w(width), h(height), tailX(design.tailLength * width),
          centreY((design.bodyTop + design.bodyBottom) * 0.5 * height),
          halfBody((design.bodyBottom - design.bodyTop) * 0.5 * height) {}

    double along(double x) const { return (x - tailX) / (w - tailX); }
    double xAt(double s) const { return tailX + s * (w - tailX); }

    // Half-height of the body at position s along it.
    double half(double s) const {
        if (s < 0 || s > 1) return 0;
        if (s < d.thickestAt) {
            const double t = (d.thickestAt - s) / d.thickestAt;
            const double f = std::pow(std::max(0.0, 1 - std::pow(t, d.backTaper)), 1 / d.backTaper);
            return halfBody * (d.peduncle + (1 - d.peduncle) * f);
        }
        const double t = (s - d.thickestAt) / (1 - d.thickestAt);
        return halfBody * std::pow(std::max(0.0, 1 - std::pow(t, d.headRoundness)), 1 / d.headRoundness);
    }

    bool inBody(double x, double y) const {
        const double s = along(x);
        return s >= 0 && s <= 1 && std::abs(y - centreY) <= half(s);
    }

    bool inTail(double x, double y) const {
        if (x < 0 || x > tailX + 1) return false;
        const double t = std::clamp((tailX + 1 - x) / (tailX + 1), 0.0, 1.0);  // 0 at the body, 1 at the tip
        const double root = halfBody * d.peduncle;
        const double dy = y - centreY;
        const double spread = (dy < 0 ? d.tailUpper : d.tailLower) * h;
        const double limit = root + (spread - root) * std::pow(t, 0.7);
        if (std::abs(dy) > limit) return false;
        const double forkStart = 1 - d.tailFork;
        if (d.tailFork > 0 && t > forkStart) {
            const double notch = (t - forkStart) / d.tailFork * std::min(d.tailUpper, d.tailLower) * h * 0.75;
            if (std::abs(dy) < notch) return false;
        }
        return true;
    }

    // A fin along the back (sign -1) or the belly (sign +1).
    bool inFin(double x, double y, double from, double to, double height, double peak, int sign) const {
        if (height <= 0) return false;
        const double s = along(x);
        if (s < from || s > to) return false;
        const double u = (s - from) / (to - from);  // 0 rear, 1 front
        double p;
        if (d.roundFins) {
            const double m = u < peak ? 0.5 * u / peak : 0.5 + 0.5 * (u - peak) / (1 - peak);
            p = std::pow(std::sin(3.14159265358979 * m), 0.6);
        } else {
            p = u < peak ? std::pow(u / peak, 0.8) : std::sqrt(std::max(0.0, (1 - u) / (1 - peak)));
        }
        const double edge = centreY + sign * (half(s) + p * height * h);
        const double inner = centreY + sign * (half(s) * 0.5);
        return sign < 0 ? (y >= edge && y <= inner) : (y <= edge && y >= inner);
    }

    bool inPectoral(double x, double y) const {
        if (d.pectoral <= 0) return false;
        // A blade hanging down and back from under the front of the body.
        const double rootX = xAt(0.62), rootY = centreY + halfBody * 0.5;
        const double tipX = rootX - d.pectoral * w * 0.55, tipY = centreY + halfBody + d.pectoral * h * 0.9;
        const double ax = tipX - rootX, ay = tipY - rootY;
        const double len2 = ax * ax + ay * ay;
        const double t = ((x - rootX) * ax + (y - rootY) * ay) / len2;
        if (t < 0 || t > 1) return false;
        const double px = rootX + t * ax, py = rootY + t * ay;
        const double width = (1 - t) * d.pectoral * w * 0.22 + 0.4;
        return std::hypot(x - px, y - py) <= width;
    }
};

struct PartMap {
    int w, h;
    std::vector<uint8_t> part;
    PartMap(int width, int height) : w(width), h(height), part(static_cast<size_t>(width) * height, kNone) {}
    uint8_t at(int x, int y) const { return (x < 0 || y < 0 || x >= w || y >= h) ? static_cast<uint8_t>(kNone) : part[y * w + x]; }
    void put(int x, int y, uint8_t p) {
        if (x >= 0 && y >= 0 && x < w && y < h) part[y * w + x] = p;
    }
};

// A pixel belongs to a shape when at least half of its 4 x 4 sample points do.
template <class Test>
bool covered(int x, int y, Test test) {
    int hits = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx)
            if (test(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4)) ++hits;
    return hits >= 8;
}

PartMap sampleParts(const Geometry& g, int width, int height) {
    const FishDesign& d = g.d;
    PartMap map(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (covered(x, y, [&](double px, double py) { return g.inTail(px, py); })) map.put(x, y, kTail);
            if (covered(x, y, [&](double px, double py) {
                    return g.inFin(px, py, d.dorsalFrom, d.dorsalTo, d.dorsalHeight, d.dorsalPeak, -1) ||
                           g.inFin(px, py, d.analFrom, d.analTo, d.analHeight, d.analPeak, +1);
                }))
                map.put(x, y, kFin);
            if (covered(x, y, [&](double px, double py) { return g.inBody(px, py); })) map.put(x, y, kBody);
            if (covered(x, y, [&](double px, double py) { return g.inPectoral(px, py); })) map.put(x, y, kFin);
        }
    return map;
}

void addMarkings(const Geometry& g, PartMap& map) {
    const FishDesign& d = g.d;
    const int width = map.w, height = map.h;
    if (d.marking == Marking::Bands || d.marking == Marking::Stripes) {
        // Vertical bands across the body, evenly spaced from behind the head back.
        for (int i = 0; i < d.markCount; ++i) {
            double s;
            if (d.marking == Marking::Bands)
                s = d.markCount == 1 ? 0.5 : 0.10 + i * (0.78 - 0.10) / (d.markCount - 1);
            else
                s = d.markCount == 1 ? 0.62 : 0.30 + i * 0.32;
            const double cx = g.xAt(s);
            const double bandHalf = std::max(0.6, (g.w - g.tailX) * (d.marking == Marking::Bands ? 0.07 : 0.05));
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    if (map.at(x, y) != kBody) continue;
                    const double dx = std::abs(x + 0.5 - cx - (y + 0.5 - g.centreY) * 0.15);
                    if (dx <= bandHalf) map.put(x, y, kMark);
                    else if (d.marking == Marking::Bands && dx <= bandHalf + 1.0 && g.h >= 14) map.put(x, y, kMarkEdge);
                }
        }
    } else if (d.marking == Marking::Spots && g.h >= 20) {
        // A row of small pale scales along the flank.
        for (int i = 0; i < d.markCount; ++i) {
            const double s = 0.18 + i * 0.12;
            const int x = static_cast<int>(g.xAt(s));
            const int y = static_cast<int>(g.centreY + (i % 2 ? 1 : -1) * g.half(s) * 0.25);
            if (map.at(x, y) == kBody) map.put(x, y, kMark);
        }
    }
}

void addFace(const Geometry& g, PartMap& map) {
    const FishDesign& d = g.d;
    const double ex = g.xAt(d.eyeAlong), ey = d.eyeY * g.h;
    const double r = d.eyeSize * g.h;
    if (r < 1.3) {
        // Tiny fish: a one-pixel pupil with a light pixel behind it.
        const int px = static_cast<int>(ex), py = static_cast<int>(ey);
        map.put(px, py, kPupil);
        if (g.h >= 10) map.put(px - 1, py, kEyeWhite);
    } else {
        for (int y = 0; y < map.h; ++y)
            for (int x = 0; x < map.w; ++x) {
                const double dx = x + 0.5 - ex, dy = y + 0.5 - ey;
                if (dx * dx + dy * dy <= r * r) map.put(x, y, kEyeWhite);
            }
        // The pupil looks forward.
        const double pr = std::max(0.7, r * 0.55);
        const double pcx = ex + r * 0.3, pcy = ey;
        for (int y = 0; y < map.h; ++y)
            for (int x = 0; x < map.w; ++x) {
                const double dx = x + 0.5 - pcx, dy = y + 0.5 - pcy;
                if (dx * dx + dy * dy <= pr * pr + 0.25 && map.at(x, y) == kEyeWhite) map.put(x, y, kPupil);
            }
    }
    // The mouth: a dark notch at the front, a little below the middle.
    if (g.h >= 14) {
        const int mouthY = static_cast<int>(g.centreY + g.halfBody * 0.2);
        int front = map.w - 1;
        while (front > 0 && map.at(front, mouthY) == kNone) --front;
        map.put(front, mouthY, kMouth);
        if (g.h >= 25) map.put(front - 1, mouthY, kMouth);
        if (d.gills) {
            for (int k = 0; k < 4; ++k) map.put(front - 2 - k, mouthY + (k > 1 ? 0 : 0), kMouth);
        }
    }
}

bool isFishPart(uint8_t p) { return p != kNone; }

// The body's three tones from the back down to the belly; v is 0 at the top
// of the body and 1 at the bottom. Big fish get dithered seams between tones.
Rgb bodyShade(const FishDesign& d, double v, int x, int y, int height) {
    const double seam = height >= 25 ? 0.05 : 0.0;
    auto pick = [&](double edge, Rgb above, Rgb below) {
        if (seam == 0) return v < edge ? above : below;
        const double t = std::clamp((v - (edge - seam)) / (2 * seam), 0.0, 1.0);
        return ditherOn(x, y, t) ? below : above;
    };
    if (v < 0.46) return pick(0.30, d.back, d.side);
    return pick(0.62, d.side, d.belly);
}

}  // namespace

const FishDesign& playerDesign() { return kPlayer; }
const FishDesign& cursorDesign() { return kCursor; }

const FishDesign& schoolDesign(int sizeClass) {
    static const FishDesign* kinds[] = {&kYellow, &kClown, &kAngel, &kSnapper, &kShark};
    return *kinds[std::clamp(sizeClass, 0, 4)];
}

Image drawFish(const FishDesign& d, int width, int height) {
    const Geometry g(d, width, height);
    PartMap map = sampleParts(g, width, height);
    addMarkings(g, map);
    addFace(g, map);

    Image img(width, height, kSpriteKey);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t p = map.at(x, y);
            if (p == kNone) continue;
            const double s = g.along(x + 0.5);
            const double half = std::max(0.5, g.half(std::clamp(s, 0.0, 1.0)));
            const double v = std::clamp((y + 0.5 - (g.centreY - half)) / (2 * half), 0.0, 1.0);
            Rgb c = 0;
            switch (p) {
                case kTail:
                case kFin: {
                    // Fins are lighter towards their edges, with a dark seam
                    // where they meet the body on the larger fish.
                    const auto bodyLike = [&](uint8_t q) { return q == kBody || q == kMark || q == kMarkEdge; };
                    const bool seam = height >= 15 && (bodyLike(map.at(x - 1, y)) || bodyLike(map.at(x + 1, y)) ||
                                                       bodyLike(map.at(x, y - 1)) || bodyLike(map.at(x, y + 1)));
                    const bool edgeNear = map.at(x - 1, y) == kNone || map.at(x + 1, y) == kNone ||
                                          map.at(x, y - 1) == kNone || map.at(x, y + 1) == kNone;
                    c = seam ? shade(d.fin, 0.62) : (edgeNear ? shade(d.fin, 1.12) : shade(d.fin, 0.9));
                    break;
                }
                case kBody: c = bodyShade(d, v, x, y, height); break;
                case kMark: c = d.mark; break;
                case kMarkEdge: c = d.markEdge; break;
                case kEyeWhite: c = 0xF2F2EA; break;
                case kPupil: c = d.eye; break;
                case kMouth: c = d.outline; break;
            }
            // Outline: any fish pixel beside water is drawn dark.
            const bool rim = !isFishPart(map.at(x - 1, y)) || !isFishPart(map.at(x + 1, y)) ||
                             !isFishPart(map.at(x, y - 1)) || !isFishPart(map.at(x, y + 1)) || x == 0 || y == 0 ||
                             x == width - 1 || y == height - 1;
            if (rim) c = (p == kTail || p == kFin) ? mix(shade(d.fin, 0.45), d.outline, 0.5) : d.outline;
            img.set(x, y, c);
        }
    // A glint along the upper front of the body where there is room.
    if (height >= 15) {
        for (int x = 0; x < width; ++x) {
            const double s = g.along(x + 0.5);
            if (s < 0.45 || s > 0.72) continue;
            const int y = static_cast<int>(g.centreY - g.half(s)) + 1;
            if (map.at(x, y) == kBody && map.at(x, y - 1) != kNone) img.set(x, y + (height >= 25 ? 1 : 0), shade(d.side, 1.35));
        }
    }
    // Fin rays on the larger fish: darker lines across the tail.
    if (height >= 20) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (map.at(x, y) == kTail && (static_cast<int>(std::abs(y + 0.5 - g.centreY)) % 3 == 1) &&
                    img.get(x, y) == shade(d.fin, 0.9))
                    img.set(x, y, shade(d.fin, 0.74));
    }
    if (d.gills && height >= 20) {
        // Three gill slits behind the eye.
        for (int k = 0; k < 3; ++k) {
            const int x = static_cast<int>(g.xAt(d.eyeAlong - 0.12 - k * 0.05));
            for (int y = static_cast<int>(g.centreY - g.halfBody * 0.3); y <= static_cast<int>(g.centreY + g.halfBody * 0.25); ++y)
                if (map.at(x, y) == kBody) img.set(x, y, shade(d.side, 0.6));
        }
    }
    for (Rgb& c : img.pixels)
        if (c != kSpriteKey && c == 0xFFFFFF) c = 0xF0F0F0;
    return img;
}

namespace {

// The smallest skeleton is drawn by hand: at 12 x 10 a sampled outline
// loses the skull. b bone, s bone in shadow, o eye socket.
const char* const kTinySkeleton[10] = {
    "............", "............", "............", "b...b.b.bbb.", ".b..b.b.sobb",
    "..bbbbbbbbb.", ".b..s.s.sbbb", "b...s.s.sss.", "............", "............",
};

}  // namespace

Image drawSkeleton(const FishDesign& d, int width, int height) {
    const Rgb bone = 0xE8E2CC, boneShadow = 0xA89E86, dim = 0x9C9A90, dark = 0x4A4438;
    if (width == 12 && height == 10) {
        Image tiny(width, height, kSpriteKey);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const char c = kTinySkeleton[y][x];
                if (c != '.') tiny.set(x, y, c == 'b' ? bone : (c == 's' ? boneShadow : dark));
            }
        return tiny;
    }
    const Geometry g(d, width, height);
    const PartMap map = sampleParts(g, width, height);
    Image img(width, height, kSpriteKey);

    // The tail: its outline and two rays, as bone.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (map.at(x, y) != kTail || g.inBody(x + 0.5, y + 0.5)) continue;
            const bool rim = map.at(x - 1, y) == kNone || map.at(x + 1, y) == kNone || map.at(x, y - 1) == kNone ||
                             map.at(x, y + 1) == kNone;
            if (rim) img.set(x, y, boneShadow);
        }
    const int rootX = static_cast<int>(g.tailX) + 1, rootY = static_cast<int>(g.centreY);
    if (height >= 15) {
        for (int k = -1; k <= 1; k += 2) {
            const int tipY = static_cast<int>(g.centreY + k * (k < 0 ? d.tailUpper : d.tailLower) * height * 0.55);
            line(img, rootX, rootY, std::max(1, static_cast<int>(g.tailX * 0.3)), tipY, dim);
        }
    }

    // The skull: the front of the body, filled, with an eye socket and a jaw.
    const double skullFrom = std::max(0.5, d.eyeAlong - std::max(0.16, 2.5 / (g.w - g.tailX)));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (map.at(x, y) != kBody || g.along(x + 0.5) < skullFrom) continue;
            const bool rim = map.at(x - 1, y) != kBody || map.at(x + 1, y) != kBody || map.at(x, y - 1) != kBody ||
                             map.at(x, y + 1) != kBody || g.along(x - 0.5) < skullFrom;
            img.set(x, y, rim ? boneShadow : bone);
        }
    {
        const double ex = g.xAt(d.eyeAlong), ey = d.eyeY * g.h;
        const double r = std::max(0.9, d.eyeSize * g.h * 1.05);
        bool any = false;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const double dx = x + 0.5 - ex, dy = y + 0.5 - ey;
                if (dx * dx + dy * dy <= r * r && img.get(x, y) != kSpriteKey) {
                    img.set(x, y, dark);
                    any = true;
                }
            }
        if (!any) img.set(static_cast<int>(ex), static_cast<int>(ey), dark);
        if (height >= 15) {
            // The open jaw: a notch cut into the front of the skull.
            const double mouthY = g.centreY + g.halfBody * 0.15;
            const double depth = std::max(2.0, (g.w - g.tailX) * 0.12);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const double into = x + 0.5 - (g.w - depth);
                    if (into > 0 && std::abs(y + 0.5 - mouthY) < into * 0.6) img.set(x, y, kSpriteKey);
                }
        }
        if (height >= 14) {
            // The jaw line.
            const int jawY = static_cast<int>(g.centreY + g.halfBody * 0.25);
            for (int x = static_cast<int>(g.xAt(d.eyeAlong - 0.02)); x < width; ++x)
                if (map.at(x, jawY) == kBody && map.at(x + 1, jawY) == kBody) img.set(x, jawY, boneShadow);
        }
    }

    // The spine from the tail root to the skull, and ribs across the body.
    const int spineEnd = static_cast<int>(g.xAt(skullFrom));
    const int spineThick = height >= 25 ? 2 : 1;
    const int spineTop = static_cast<int>(std::floor(g.centreY - (spineThick == 2 ? 1 : 0.5)));
    for (int x = rootX - 1; x < spineEnd; ++x)
        for (int t = 0; t < spineThick; ++t) img.set(x, spineTop + t, t == 0 ? bone : boneShadow);
    const int ribStep = height >= 20 ? 3 : 2;
    for (int x = spineEnd - 2; x > rootX + 1; x -= ribStep) {
        const double s = g.along(x + 0.5);
        const double reach = g.half(s) * 0.85;
        if (reach < 1.2) break;
        for (int y = static_cast<int>(std::ceil(g.centreY - reach)); y <= static_cast<int>(g.centreY + reach); ++y) {
            if (y >= spineTop && y < spineTop + spineThick) continue;
            if (map.at(x, y) != kBody) continue;
            img.set(x, y, y > g.centreY ? boneShadow : bone);
        }
    }
    return img;
}

Image makeStrip(const Image& facingRight, int stripWidth, int leftFacingX) {
    Image strip(stripWidth, facingRight.height, kSpriteKey);
    blitKeyed(strip, facingRight, 0, 0, kSpriteKey);
    blitKeyed(strip, mirrored(facingRight), leftFacingX, 0, kSpriteKey);
    return strip;
}

}  // namespace art
