// F12 screenshots: the 176 x 220 screen and an enlarged copy as numbered PNG
// files (libpng), never overwriting an earlier shot.
#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {

bool writePng(const std::string& path, const uint32_t* pixels, int width, int height, int scale) {
    if (!pixels || scale < 1) return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        std::remove(path.c_str());
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width * scale, height * scale, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(width) * scale * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            for (int k = 0; k < scale; ++k) {
                png_byte* out = &row[(static_cast<size_t>(x) * scale + k) * 3];
                out[0] = static_cast<png_byte>(redOf(p));
                out[1] = static_cast<png_byte>(greenOf(p));
                out[2] = static_cast<png_byte>(blueOf(p));
            }
        }
        for (int k = 0; k < scale; ++k) png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

std::string writeScreenshot(const std::string& folder, const uint32_t* pixels, int scale) {
    if (!pixels) return {};
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
        writePng(folder + name, pixels, kScreenWidth, kScreenHeight, scale);
        return path;
    }
    return {};
}

}  // namespace plat::sdl
