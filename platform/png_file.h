// Pictures as PNG files, for screenshots.
#pragma once

#include <cstdint>
#include <string>

namespace plat {

// Writes width x height 0x00BBGGRR pixels enlarged `scale` times with crisp
// pixels; false (and no file left) when it cannot.
bool writePng(const std::string& path, const uint32_t* pixels, int width, int height, int scale);

}  // namespace plat
