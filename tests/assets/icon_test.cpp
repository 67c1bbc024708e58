// The desktop icon: painted at each size the desktop takes, and still a pale bird spreading its
// wings across a blue sea when it is only 32 pixels wide.
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct TRgbaImage {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
    const unsigned char* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
};

// Decodes PNG bytes as 8-bit RGBA; empty when they are no PNG, or not one with an alpha channel.
TRgbaImage DecodeRgba(const std::string& bytes) {
    TRgbaImage out;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return out;
    const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) || !alpha) return out;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.pixels = std::move(pixels);
    return out;
}

std::string Paint(int size, const std::string& out) {
    const std::string command = "\"" KESTRAVA_BINARY_DIR "/assets/icon/kestrava_icongen\" " + std::to_string(size) +
                                " \"" + out + "\"";
    if (std::system(command.c_str()) != 0) return {};
    std::ifstream in(out, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A feather or the body: light and nearly grey (the sea's wavelets are light but blue).
bool Pale(const unsigned char* p) {
    return p[3] == 255 && p[0] > 150 && p[1] > 150 && p[2] > 150 && std::abs(p[0] - p[2]) < 40;
}
bool SeaBlue(const unsigned char* p) { return p[3] == 255 && p[2] > p[0] + 60; }

}  // namespace

// Each size is an RGBA picture of that size (below 16 is refused); at 32 pixels the pale wings
// span the blue sea on a tile with clear corners.
TEST(DesktopIcon, IsAnRgbaPictureOfEachSizeAndAt32PixelsABirdOverTheSea) {
    TTempDir dir;
    for (int size : {48, 64, 128, 256}) {
        const TRgbaImage image = DecodeRgba(Paint(size, dir.Path() + "/a.png"));
        EXPECT_EQ(image.width * 1000 + image.height, size * 1001);
    }
    EXPECT_TRUE(Paint(8, dir.Path() + "/small.png").empty());
    const TRgbaImage icon = DecodeRgba(Paint(32, dir.Path() + "/icon.png"));
    ASSERT_EQ(icon.width * 1000 + icon.height, 32032);
    for (int corner : {0, 31}) {
        EXPECT_EQ(icon.At(corner, 0)[3], 0);
        EXPECT_EQ(icon.At(corner, 31)[3], 0);
    }
    // The row through the wings: pale from near the left edge of the tile to near the right.
    int first = -1, last = -1, pale = 0;
    for (int x = 0; x < 32; ++x) {
        if (!Pale(icon.At(x, 16))) continue;
        if (first < 0) first = x;
        last = x;
        ++pale;
    }
    EXPECT_LE(first, 5);
    EXPECT_GE(last, 26);
    EXPECT_GE(pale, 20);
    // Above the head and below the tail: open sea, no pale pixel.
    for (int y : {4, 28}) {
        int blue = 0;
        for (int x = 4; x < 20; ++x) {
            EXPECT_FALSE(Pale(icon.At(x, y))) << x << "," << y;
            blue += SeaBlue(icon.At(x, y));
        }
        EXPECT_GE(blue, 14) << "row " << y;
    }
    // The body and the tail run down the middle below the grey head.
    for (int y = 12; y <= 23; ++y) EXPECT_TRUE(Pale(icon.At(15, y)) || Pale(icon.At(16, y))) << "row " << y;
}
