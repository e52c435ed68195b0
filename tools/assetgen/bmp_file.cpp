// BMP encoding: BITMAPFILEHEADER + BITMAPINFOHEADER, bottom-up rows padded
// to four bytes.
#include "tools/assetgen/bmp_file.h"

#include <algorithm>

namespace art {
namespace {

void putLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void putHeaders(std::vector<uint8_t>& out, const Image& img, int bits, uint32_t paletteCount, uint32_t imageBytes) {
    const uint32_t pixelOffset = 14 + 40 + paletteCount * 4;
    out.push_back('B');
    out.push_back('M');
    putLe(out, pixelOffset + imageBytes, 4);
    putLe(out, 0, 4);
    putLe(out, pixelOffset, 4);
    putLe(out, 40, 4);
    putLe(out, static_cast<uint32_t>(img.width), 4);
    putLe(out, static_cast<uint32_t>(img.height), 4);
    putLe(out, 1, 2);
    putLe(out, static_cast<uint32_t>(bits), 2);
    putLe(out, 0, 4);  // BI_RGB
    putLe(out, imageBytes, 4);
    putLe(out, 2835, 4);  // 72 dots per inch
    putLe(out, 2835, 4);
    putLe(out, paletteCount, 4);
    putLe(out, 0, 4);
}

}  // namespace

std::vector<uint8_t> encodeBmp24(const Image& img) {
    const uint32_t stride = (static_cast<uint32_t>(img.width) * 3 + 3) & ~3u;
    std::vector<uint8_t> out;
    putHeaders(out, img, 24, 0, stride * static_cast<uint32_t>(img.height));
    for (int y = img.height - 1; y >= 0; --y) {
        for (int x = 0; x < img.width; ++x) {
            const Rgb c = img.get(x, y);
            out.push_back(static_cast<uint8_t>(blueOf(c)));
            out.push_back(static_cast<uint8_t>(greenOf(c)));
            out.push_back(static_cast<uint8_t>(redOf(c)));
        }
        for (uint32_t pad = static_cast<uint32_t>(img.width) * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

std::vector<uint8_t> encodeBmp8(const Image& img) {
    std::vector<Rgb> palette;
    for (Rgb c : img.pixels)
        if (std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
    if (palette.size() > 256) return {};
    const uint32_t stride = (static_cast<uint32_t>(img.width) + 3) & ~3u;
    std::vector<uint8_t> out;
    putHeaders(out, img, 8, static_cast<uint32_t>(palette.size()), stride * static_cast<uint32_t>(img.height));
    for (Rgb c : palette) {
        out.push_back(static_cast<uint8_t>(blueOf(c)));
        out.push_back(static_cast<uint8_t>(greenOf(c)));
        out.push_back(static_cast<uint8_t>(redOf(c)));
        out.push_back(0);
    }
    for (int y = img.height - 1; y >= 0; --y) {
        for (int x = 0; x < img.width; ++x) {
            const Rgb c = img.get(x, y);
            out.push_back(static_cast<uint8_t>(std::find(palette.begin(), palette.end(), c) - palette.begin()));
        }
        for (uint32_t pad = static_cast<uint32_t>(img.width); pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

}  // namespace art
