// brelox-readscreen: reads text off a PNG picture of the screen with the
// same glyph matching the headless driver uses, so end-to-end tests can
// check what a real display shows.
//
//   brelox-readscreen FILE.png X Y COUNT [--origin OX,OY] [--scale N] [--unmatched C]
//   brelox-readscreen FILE.png --ink X Y W H [--origin OX,OY]
//
// The second form counts the dark pixels of a rectangle: for screens drawn
// with another font (Brelox.exe under Wine), whether a field shows anything.
// X and Y are client pixels of the window whose client area starts at
// OX,OY in the picture; N is the driver's pixel scale.  Prints the text.
#include "gdi/font.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace brelox;

namespace {

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    bool dark(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return false;
        const uint8_t *p = &rgb[((size_t)y * width + x) * 3];
        return p[0] * 3 + p[1] * 6 + p[2] < 128 * 10;
    }
};

bool load(const char *path, Image &img)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path))
        return false;
    image.format = PNG_FORMAT_RGB;
    img.width = (int)image.width;
    img.height = (int)image.height;
    img.rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, img.rgb.data(), 0, nullptr) != 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: brelox-readscreen FILE.png X Y COUNT [--origin OX,OY] [--scale N] [--unmatched C]\n");
        return 2;
    }
    bool ink = std::strcmp(argv[2], "--ink") == 0;
    int first_option = ink ? 7 : 5;
    if (ink && argc < 7) {
        std::fprintf(stderr, "brelox-readscreen: --ink needs X Y W H\n");
        return 2;
    }
    int x = std::atoi(argv[ink ? 3 : 2]), y = std::atoi(argv[ink ? 4 : 3]), count = std::atoi(argv[ink ? 5 : 4]);
    int ox = 0, oy = 0, scale = 1;
    char unmatched = '?';
    for (int i = first_option; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--origin") == 0)
            std::sscanf(argv[i + 1], "%d,%d", &ox, &oy);
        else if (std::strcmp(argv[i], "--scale") == 0)
            scale = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--unmatched") == 0)
            unmatched = argv[i + 1][0];
    }
    Image img;
    if (!load(argv[1], img)) {
        std::fprintf(stderr, "brelox-readscreen: cannot read %s\n", argv[1]);
        return 1;
    }
    if (ink) {
        int height = std::atoi(argv[6]), dark = 0;
        for (int py = y; py < y + height; py++)
            for (int px = x; px < x + count; px++)
                dark += img.dark(ox + px * scale + scale / 2, oy + py * scale + scale / 2) ? 1 : 0;
        std::printf("%d\n", dark);
        return 0;
    }
    std::string text;
    for (int i = 0; i < count; i++) {
        int cx = x + i * kFontWidth;
        int b = match_glyph([&](int c, int r) {
            // The centre of each scaled pixel.
            return img.dark(ox + (cx + c) * scale + scale / 2, oy + (y + r) * scale + scale / 2);
        });
        text += b < 0 ? unmatched : (char)b;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    return 0;
}
