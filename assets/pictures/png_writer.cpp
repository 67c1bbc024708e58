#include "picture.h"

#include <png.h>
#include <zlib.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>

Picture BlankPicture(int width, int height, int channels) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.channels = channels;
    picture.pixels.assign(static_cast<size_t>(width) * height * channels, 0);
    return picture;
}

// A colour component rounded to the nearest byte value.
static unsigned char ToByte(double v) {
    if (!(v > 0.0)) return 0;
    if (v >= 255.0) return 255;
    return static_cast<unsigned char>(std::floor(v + 0.5));
}

void SetPixel(Picture& picture, int x, int y, double r, double g, double b, double a) {
    unsigned char* p = &picture.pixels[(static_cast<size_t>(y) * picture.width + x) * picture.channels];
    p[0] = ToByte(r);
    p[1] = ToByte(g);
    p[2] = ToByte(b);
    if (picture.channels == 4) p[3] = ToByte(a);
}

// Writes the rows; libpng reports errors by jumping back here. Kept apart from WritePng so no
// local with a destructor lives across the setjmp.
static bool WriteRows(FILE* file, const Picture& picture) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    // Fixed settings: the same pixels always give the same bytes.
    png_set_compression_level(png, 9);
    png_set_compression_mem_level(png, 8);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_set_compression_window_bits(png, 15);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    int type = picture.channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
    png_set_IHDR(png, info, picture.width, picture.height, 8, type, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y) {
        const unsigned char* row = &picture.pixels[static_cast<size_t>(y) * picture.width * picture.channels];
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool WritePng(const Picture& picture, const char* path) {
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    bool ok = WriteRows(file, picture);
    ok = std::fclose(file) == 0 && ok;
    if (!ok) std::remove(path);
    return ok;
}
