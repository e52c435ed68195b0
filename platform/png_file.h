// Pictures as PNG files: the screenshots, the icon files and the asset
// generator's sheets all go through this one writer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/types.h"

namespace plat {

// Writes width x height 0x00BBGGRR pixels enlarged `scale` times with crisp
// pixels; pixels of the `clear` colour, when given, are transparent. False
// (and no file left) when it cannot.
bool writePng(const std::string& path, const uint32_t* pixels, int width, int height, int scale,
              std::optional<Colour> clear = std::nullopt);

}  // namespace plat
