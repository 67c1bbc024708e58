// PNG files made in memory for the PNG loader's tests and the fuzz seeds: well-formed pictures
// of every colour type, bit depth, transparency and interlace written with libpng, and broken
// files written chunk by chunk. What a picture must load as comes from the values it was made of.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using TBytes = std::vector<uint8_t>;

// A well-formed file and the pixmap the loader must make of it.
struct TPngPicture {
    std::string name;             // e.g. "palette-2bit-trns-interlaced"
    TBytes bytes;                 // empty when libpng refused to write it
    int format = 0;               // PIXEL_I8, PIXEL_RGB888 or PIXEL_RGBA8888
    int width = 0, height = 0;
    std::vector<uint32_t> argb;   // ReadPixel of every pixel, row by row (0xAARRGGBB)
};

// A file the loader must refuse.
struct TPngBroken {
    std::string name;
    TBytes bytes;
};

// What libpng is asked to write.
struct TPngRecipe {
    int colourType = 2;           // PNG colour type 0, 2, 3, 4 or 6
    int bitDepth = 8;
    bool interlaced = false;
    bool transparency = false;    // a tRNS chunk: partial palette alpha, or a grey/RGB colour key
    int width = 13, height = 11;
};

// Writes the picture the recipe describes.
TPngPicture MakePngPicture(const TPngRecipe& recipe);

// Every colour type at every bit depth, interlaced and not (30 files), then the tRNS variants
// and tiny interlaced pictures whose Adam7 passes are partly empty.
std::vector<TPngPicture> GoodPngPictures();

// A plain 8-bit RGB picture of the given size, for tests that need some picture.
TPngPicture RgbPngPicture(int width, int height);

// The well-formed file, written chunk by chunk, that most broken files are made from:
// 16 by 16 RGB at 8 bits.
TBytes HandWrittenPng();

// Damaged signatures, headers, checksums, compressed data, missing and truncated chunks,
// and sizes too large to decode.
std::vector<TPngBroken> BrokenPngFiles();
