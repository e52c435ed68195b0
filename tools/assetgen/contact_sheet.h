// The contact sheet (every bitmap enlarged on a grey checkerboard, labelled
// with its id) and a preview of pictures put together as the game shows them.
#pragma once

#include <vector>

#include "tools/assetgen/pictures.h"

namespace art {

Image contactSheet(const std::vector<Picture>& pictures, int scale);
// A game frame and the main menu mocked up from the pictures, enlarged.
Image preview(const std::vector<Picture>& pictures, int scale);

}  // namespace art
