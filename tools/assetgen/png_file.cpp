// PNG output of a picture, through the program's own PNG writer.
#include "tools/assetgen/png_file.h"

#include <vector>

#include "platform/png_file.h"

namespace art {

bool writePng(const std::string& path, const Image& img) {
    // The program's colours are 0x00BBGGRR, the generator's 0xRRGGBB.
    std::vector<uint32_t> pixels(img.pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        const Rgb c = img.pixels[i];
        pixels[i] = static_cast<uint32_t>(redOf(c)) | (greenOf(c) << 8) | (blueOf(c) << 16);
    }
    return plat::writePng(path, pixels.data(), img.width, img.height, 1);
}

}  // namespace art
