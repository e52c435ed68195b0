// fingulp_assetgen: draws every picture and synthesises both sounds of the
// game, deterministically, from this folder's source alone.
//
// Rebuild the committed assets:
//   cmake --build build --target fingulp_assetgen && build/tools/fingulp_assetgen .
// Usage:
//   fingulp_assetgen [OUTDIR]                 writes OUTDIR/assets/{bitmaps,sounds,icon}/...
//                                             (OUTDIR defaults to the current folder)
//   fingulp_assetgen --contact-sheet FILE.png [SCALE [ID...]]
//                                             every bitmap (or those listed) enlarged
//                                             (3x by default) on a checkerboard, with its id
//   fingulp_assetgen --preview FILE.png [SCALE] a game frame, the menu and Help mocked up
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/assetgen/bmp_file.h"
#include "tools/assetgen/contact_sheet.h"
#include "tools/assetgen/pictures.h"
#include "tools/assetgen/png_file.h"
#include "tools/assetgen/sounds.h"

namespace {

bool writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

int writeAssets(const std::filesystem::path& root) {
    const std::filesystem::path assets = root / "assets";
    std::error_code error;
    for (const char* dir : {"bitmaps", "sounds", "icon"}) std::filesystem::create_directories(assets / dir, error);
    int failures = 0;
    for (const art::Picture& p : art::allPictures()) {
        const std::vector<uint8_t> bytes = p.eightBit ? art::encodeBmp8(p.image) : art::encodeBmp24(p.image);
        if (bytes.empty() || !writeFile(assets / "bitmaps" / (std::to_string(p.id) + ".bmp"), bytes)) {
            std::fprintf(stderr, "fingulp_assetgen: cannot write bitmap %d\n", p.id);
            ++failures;
        }
    }
    for (int size : {32, 16}) {
        const auto path = assets / "icon" / ("108-" + std::to_string(size) + ".bmp");
        if (!writeFile(path, art::encodeBmp24(art::iconImage(size)))) ++failures;
    }
    if (!writeFile(assets / "sounds" / "FLARE.wav", art::waveFile(art::synthesiseMusic()))) ++failures;
    if (!writeFile(assets / "sounds" / "DEF.wav", art::waveFile(art::synthesiseClick()))) ++failures;
    if (failures) std::fprintf(stderr, "fingulp_assetgen: %d files could not be written under %s\n", failures, assets.c_str());
    return failures ? 1 : 0;
}

}  // namespace

namespace art {

std::vector<Picture> allPictures() {
    std::vector<Picture> pictures;
    addSprites(pictures);
    addMenuParts(pictures);
    addScenes(pictures);
    std::sort(pictures.begin(), pictures.end(), [](const Picture& a, const Picture& b) { return a.id < b.id; });
    return pictures;
}

}  // namespace art

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && (args[0] == "--contact-sheet" || args[0] == "--preview")) {
        std::vector<art::Picture> pictures = art::allPictures();
        // Optional: a scale, then the ids to show (all when none are given).
        const int scale = args.size() >= 3 ? std::clamp(std::atoi(args[2].c_str()), 1, 12) : 3;
        if (args.size() > 3) {
            std::vector<art::Picture> chosen;
            for (size_t i = 3; i < args.size(); ++i)
                for (const art::Picture& p : pictures)
                    if (std::to_string(p.id) == args[i]) chosen.push_back(p);
            pictures = chosen;
        }
        const art::Image sheet = args[0] == "--preview" ? art::preview(pictures, scale) : art::contactSheet(pictures, scale);
        if (!art::writePng(args[1], sheet)) {
            std::fprintf(stderr, "fingulp_assetgen: cannot write %s\n", args[1].c_str());
            return 1;
        }
        return 0;
    }
    if (args.size() > 1 || (args.size() == 1 && args[0].rfind("--", 0) == 0)) {
        std::fprintf(stderr,
                     "usage: fingulp_assetgen [OUTDIR]\n"
                     "       fingulp_assetgen --contact-sheet FILE.png [SCALE [ID...]]\n"
                     "       fingulp_assetgen --preview FILE.png [SCALE]\n");
        return 2;
    }
    return writeAssets(args.empty() ? std::filesystem::path(".") : std::filesystem::path(args[0]));
}
