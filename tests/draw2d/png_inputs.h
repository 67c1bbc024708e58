// PNG files made in memory for what the PNG conformance suite (tests/data/pngsuite) cannot
// hold: pictures of any size for the drawing tests, and files at the loader's own limits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using TBytes = std::vector<uint8_t>;

// A well-formed file and the pixmap the loader must make of it.
struct TPngPicture {
    std::string name;
    TBytes bytes;
    int format = 0;               // PIXEL_RGB888
    int width = 0, height = 0;
    std::vector<uint32_t> argb;   // ReadPixel of every pixel, row by row (0xAARRGGBB)
};

// A plain 8-bit RGB picture of the given size whose neighbouring pixels differ.
TPngPicture RgbPngPicture(int width, int height);

// A file at or just beyond one of the loader's limits, and whether it must load.
struct TPngLimitFile {
    std::string name;
    TBytes bytes;
    bool loads = false;
};

// The widest picture and one a pixel wider, one a row past the largest area, and chunk
// lengths the file does not hold (one over 2 GiB, an ancillary one of 160 MiB).
std::vector<TPngLimitFile> PngLimitFiles();
