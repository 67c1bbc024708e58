// Placeholder until the picture generators land: flat pictures of the right sizes and types.
#include <png.h>
#include <cstdio>
#include <cstring>
#include <vector>
int main(int argc, char** argv) {
    if (argc != 3) return 2;
    int size = 256, type = PNG_COLOR_TYPE_RGB, ch = 3;
    if (!std::strcmp(argv[1], "island")) size = 512;
    if (!std::strcmp(argv[1], "arrow")) { size = 128; type = PNG_COLOR_TYPE_RGBA; ch = 4; }
    FILE* f = std::fopen(argv[2], "wb");
    if (!f) return 1;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    png_set_IHDR(png, info, size, size, 8, type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(size * ch, 128);
    for (int y = 0; y < size; ++y) png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0 ? 0 : 1;
}
