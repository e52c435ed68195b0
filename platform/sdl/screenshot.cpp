// F12 screenshots: the 176 x 220 screen and an enlarged copy as numbered PNG
// files (libpng), never overwriting an earlier shot.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {

std::vector<std::string> writeScreenshot(const std::string& folder, const uint32_t* pixels, int scale) {
    if (!pixels || folder.empty()) return {};  // nowhere of the player's to put it
    for (int number = 1; number < 10000; ++number) {
        char name[64];
        std::snprintf(name, sizeof(name), "fingulp-%04d.png", number);
        const std::string path = folder + name;
        // Claim the number first, so two shots never share it.
        const int claim = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (claim < 0) {
            if (errno == EEXIST) continue;
            return {};
        }
        close(claim);
        std::snprintf(name, sizeof(name), "fingulp-%04d-x%d.png", number, scale);
        if (!writePng(path, pixels, kScreenWidth, kScreenHeight, 1)) {
            std::remove(path.c_str());
            return {};
        }
        const std::string enlarged = folder + name;
        if (!writePng(enlarged, pixels, kScreenWidth, kScreenHeight, scale)) return {path};
        return {path, enlarged};
    }
    return {};
}

}  // namespace plat::sdl
