// Writes the headless handset's screen as a PNG file (libpng).
#include <png.h>

#include <cstdio>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/windowing.h"

namespace plat::headless {

bool writeScreenPng(const std::string& path) {
    const Surface* screen = screenSurface();
    const Bitmap* bitmap = screen->bitmap;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, bitmap->width, bitmap->height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(bitmap->width) * 3);
    for (int32_t y = 0; y < bitmap->height; ++y) {
        for (int32_t x = 0; x < bitmap->width; ++x) {
            const uint32_t p = bitmap->pixels[static_cast<size_t>(y) * bitmap->width + x];
            row[x * 3] = static_cast<png_byte>(redOf(p));
            row[x * 3 + 1] = static_cast<png_byte>(greenOf(p));
            row[x * 3 + 2] = static_cast<png_byte>(blueOf(p));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace plat::headless
