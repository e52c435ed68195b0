// PNG output of a picture, for the contact sheet and the preview.
#pragma once

#include <string>

#include "tools/assetgen/image.h"

namespace art {

bool writePng(const std::string& path, const Image& img);

}  // namespace art
