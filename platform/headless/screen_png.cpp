// Writes the headless handset's screen as a PNG file.
#include "platform/headless/headless.h"
#include "platform/png_file.h"
#include "platform/windowing.h"

namespace plat::headless {

bool writeScreenPng(const std::string& path) {
    const Bitmap* bitmap = screenSurface()->bitmap;
    return writePng(path, bitmap->pixels.data(), bitmap->width, bitmap->height, 1);
}

}  // namespace plat::headless
