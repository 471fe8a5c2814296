// PNG pictures of surfaces, so a person can look at what a test saw.
#include "headless.h"

#include <png.h>

#include <cstdio>

namespace brelox::headless {

bool write_png_pixels(const std::string &path, int width, int height, const std::vector<uint32_t> &pixels)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, (png_uint_32)width, (png_uint_32)height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row((size_t)width * 3);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            uint32_t p = pixels[(size_t)y * width + x];
            row[(size_t)x * 3] = (png_byte)(p >> 16);
            row[(size_t)x * 3 + 1] = (png_byte)(p >> 8);
            row[(size_t)x * 3 + 2] = (png_byte)p;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

} // namespace brelox::headless
