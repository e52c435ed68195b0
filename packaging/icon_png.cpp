// Writes the program's icon (group 108 inside the executable's resources) as
// PNG files: fingulp-icon-png FOLDER [SIZE...] writes
// FOLDER/SIZExSIZE/apps/fingulp.png for each size, by default the desktop icon
// theme's 16, 32, 48, 64, 128 and 256 pixels; the magenta key colour becomes
// transparent and larger sizes keep crisp pixels.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/png_file.h"
#include "platform/resources.h"

namespace {

bool writeIcon(const plat::Bitmap& icon, int size, const std::filesystem::path& file) {
    std::vector<uint32_t> pixels(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            pixels[static_cast<size_t>(y) * size + x] =
                icon.pixels[static_cast<size_t>(y * icon.height / size) * icon.width + x * icon.width / size];
        }
    }
    return plat::writePng(file.string(), pixels.data(), size, size, 1, plat::kIconClear);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes = {16, 32, 48, 64, 128, 256};
    if (argc > 2) sizes.clear();
    for (int i = 2; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (argc < 2 || std::any_of(sizes.begin(), sizes.end(), [](int size) { return size < 1 || size > 4096; })) {
        std::fprintf(stderr, "usage: fingulp-icon-png FOLDER [SIZE...] (sizes 1 to 4096)\n");
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
        if (!writeIcon(size <= 16 ? *small : *large, size, folder / "fingulp.png")) {
            std::fprintf(stderr, "fingulp-icon-png: cannot write %s\n", (folder / "fingulp.png").c_str());
            return 1;
        }
    }
    delete small;
    delete large;
    return 0;
}
