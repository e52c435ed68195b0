// Writing pictures as PNG files (libpng): 8-bit RGB, or RGBA when a colour
// is clear.
#include "platform/png_file.h"

#include "platform/types.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace plat {

bool writePng(const std::string& path, const uint32_t* pixels, int width, int height, int scale,
              std::optional<Colour> clear) {
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
    const size_t channels = clear ? 4 : 3;
    png_set_IHDR(png, info, width * scale, height * scale, 8, clear ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(width) * scale * channels);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            const bool seeThrough = clear && p == *clear;
            for (int k = 0; k < scale; ++k) {
                png_byte* out = &row[(static_cast<size_t>(x) * scale + k) * channels];
                out[0] = seeThrough ? 0 : static_cast<png_byte>(redOf(p));
                out[1] = seeThrough ? 0 : static_cast<png_byte>(greenOf(p));
                out[2] = seeThrough ? 0 : static_cast<png_byte>(blueOf(p));
                if (clear) out[3] = seeThrough ? 0 : 255;
            }
        }
        for (int k = 0; k < scale; ++k) png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace plat
