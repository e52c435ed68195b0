// Writes the program's icon (group 108 inside the executable's resources) as
// PNG files: fingulp-icon-png FOLDER [SIZE...] writes
// FOLDER/SIZExSIZE/apps/fingulp.png for each size, by default the desktop icon
// theme's 16, 32, 48, 64, 128 and 256 pixels; the magenta key colour becomes
// transparent and larger sizes keep crisp pixels. With --maskable first, the
// icon is drawn at half the size in the middle of an opaque square of the web
// page's background colour, inside the circle a home screen may cut it to.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/png_file.h"
#include "platform/resources.h"

namespace {

// The web page's background, #0b1020.
constexpr uint32_t kMaskableBackground = 0x0020100B;

bool writeIcon(const plat::Bitmap& icon, int size, bool maskable, const std::filesystem::path& file) {
    // The picture's square: all of it, or half of it in the middle (a circle
    // of 40 % of the size holds a centred square of up to 56 %).
    const int drawn = maskable ? size / 2 : size, offset = (size - drawn) / 2;
    std::vector<uint32_t> pixels(static_cast<size_t>(size) * size, maskable ? kMaskableBackground : plat::kIconClear);
    for (int y = 0; y < drawn; ++y) {
        for (int x = 0; x < drawn; ++x) {
            const uint32_t p =
                icon.pixels[static_cast<size_t>(y * icon.height / drawn) * icon.width + x * icon.width / drawn];
            pixels[static_cast<size_t>(y + offset) * size + x + offset] =
                maskable && p == plat::kIconClear ? kMaskableBackground : p;
        }
    }
    if (maskable) return plat::writePng(file.string(), pixels.data(), size, size, 1);
    return plat::writePng(file.string(), pixels.data(), size, size, 1, plat::kIconClear);
}

}  // namespace

int main(int argc, char** argv) {
    const bool maskable = argc > 1 && std::string(argv[1]) == "--maskable";
    if (maskable) {
        --argc;
        ++argv;
    }
    std::vector<int> sizes = {16, 32, 48, 64, 128, 256};
    if (argc > 2) sizes.clear();
    for (int i = 2; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (argc < 2 || std::any_of(sizes.begin(), sizes.end(), [](int size) { return size < 1 || size > 4096; })) {
        std::fprintf(stderr, "usage: fingulp-icon-png [--maskable] FOLDER [SIZE...] (sizes 1 to 4096)\n");
        return 2;
    }
    plat::Bitmap* small = plat::loadIcon(108, 16);
    plat::Bitmap* large = plat::loadIcon(108, 32);
    if (!small || !large) {
        std::fprintf(stderr, "fingulp-icon-png: the icon group 108 is missing\n");
        return 1;
    }
    for (const int size : sizes) {
        const std::filesystem::path folder =
            std::filesystem::path(argv[1]) / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (!writeIcon(size <= 16 ? *small : *large, size, maskable, folder / "fingulp.png")) {
            std::fprintf(stderr, "fingulp-icon-png: cannot write %s\n", (folder / "fingulp.png").c_str());
            return 1;
        }
    }
    delete small;
    delete large;
    return 0;
}
