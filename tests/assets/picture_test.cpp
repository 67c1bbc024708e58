// The four embedded pictures: the formats the game loads them with, and the properties its
// masks and blend modes rely on (black border for the additive puff, white only around the
// island, magenta only under the wing's feather tips, pale arrows on transparency). And the
// desktop icon, painted at each size the desktop takes, still a pale bird spreading its wings
// across a blue sea when it is only 32 pixels wide.
#include "assets/embedded.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A square picture decoded to 8-bit RGBA; size 0 when it is no PNG or not square.
struct Picture {
    int size = 0;
    bool alpha = false;   // the file has an alpha channel
    std::vector<unsigned char> rgba;
    const unsigned char* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * size + x) * 4]; }
    bool Is(int x, int y, int r, int g, int b) const { return At(x, y)[0] == r && At(x, y)[1] == g && At(x, y)[2] == b; }
    int Palest(int x, int y) const { return std::min({At(x, y)[0], At(x, y)[1], At(x, y)[2]}); }
};

Picture Decode(const void* data, size_t length) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Picture p;
    if (!data || !png_image_begin_read_from_memory(&image, data, length)) return p;
    p.alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    p.rgba.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, p.rgba.data(), 0, nullptr) && image.width == image.height)
        p.size = int(image.width);
    return p;
}

Picture Decode(const char* name) {
    const TEmbeddedFile file = EmbeddedFile(name);
    return Decode(file.data, size_t(file.length));
}

TEST(EmbeddedPictures, HeadersGiveTheSizesAndFormatsTheGameLoads) {
    const struct { const char* name; int size, colourType; } expected[] = {
        {"wing2.png", 256, PNG_COLOR_TYPE_RGB}, {"spark.png", 256, PNG_COLOR_TYPE_RGB},
        {"island.png", 512, PNG_COLOR_TYPE_RGB}, {"arrow.png", 128, PNG_COLOR_TYPE_RGBA}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        TEmbeddedFile file = EmbeddedFile(e.name);
        ASSERT_GE(file.length, 33);
        ASSERT_EQ(png_sig_cmp(file.data, 0, 8), 0);
        const unsigned char* ihdr = file.data + 16;   // width, height, depth, colour type, ..., interlace
        EXPECT_EQ(png_get_uint_32(ihdr), png_uint_32(e.size));
        EXPECT_EQ(png_get_uint_32(ihdr + 4), png_uint_32(e.size));
        EXPECT_EQ(ihdr[8], 8);
        EXPECT_EQ(ihdr[9], e.colourType);
        EXPECT_EQ(ihdr[12], PNG_INTERLACE_NONE);
        EXPECT_EQ(Decode(e.name).size, e.size);
    }
}

// A cloud is the puff scaled up to ten times and added to the scene: any light on the two
// outer rings would show as a square edge, and any step inside as a band.
TEST(SparkPicture, FadesSmoothlyToPureBlackBeforeItsBorder) {
    Picture d = Decode("spark.png");
    ASSERT_EQ(d.size, 256);
    for (int i = 0; i < 256; ++i)
        for (int ring : {0, 1, 254, 255}) ASSERT_TRUE(d.Is(i, ring, 0, 0, 0) && d.Is(ring, i, 0, 0, 0)) << ring << ", " << i;
    EXPECT_GT(d.Palest(128, 128), 180);
    const auto* centre = d.At(128, 128);   // a cool white: blue brightest, red faintest
    EXPECT_GT(centre[2], centre[1]);
    EXPECT_GT(centre[1], centre[0]);
    int steepest = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 1; x < 256; ++x) steepest = std::max(steepest, std::abs(d.At(x, y)[1] - d.At(x - 1, y)[1]));
    EXPECT_LE(steepest, 12);
}

// White is masked away: every white pixel must be reached from the border, or it would be a
// hole in the island.
TEST(IslandPicture, IsGreenLandOnWhiteWithNoWhiteHolesInside) {
    Picture d = Decode("island.png");
    const int n = 512;
    ASSERT_EQ(d.size, n);
    std::vector<char> sea(n * n, 0);
    std::vector<int> todo;
    for (int i = 0; i < n; ++i)
        for (int p : {i, (n - 1) * n + i, i * n, i * n + n - 1}) {
            ASSERT_TRUE(d.Is(p % n, p / n, 255, 255, 255)) << "land on the border at " << p % n << ", " << p / n;
            todo.push_back(p);
        }
    while (!todo.empty()) {
        int p = todo.back(), x = p % n, y = p / n;
        todo.pop_back();
        if (sea[p] || !d.Is(x, y, 255, 255, 255)) continue;
        sea[p] = 1;
        if (x > 0) todo.push_back(p - 1);
        if (x < n - 1) todo.push_back(p + 1);
        if (y > 0) todo.push_back(p - n);
        if (y < n - 1) todo.push_back(p + n);
    }
    long land = 0, green = 0;
    for (int p = 0; p < n * n; ++p) {
        if (sea[p]) continue;
        const unsigned char* c = d.At(p % n, p / n);
        ASSERT_FALSE(d.Is(p % n, p / n, 255, 255, 255)) << "white hole at " << p % n << ", " << p / n;
        ++land;
        green += c[1] > c[0] && c[1] > c[2];
    }
    EXPECT_GT(land, n * n / 5);
    EXPECT_LT(land, n * n * 3 / 4);
    EXPECT_GT(green, land / 2);
}

TEST(WingPicture, MagentaOnlyUnderTheFeatherTipsAlongTheBottom) {
    Picture d = Decode("wing2.png");
    ASSERT_EQ(d.size, 256);
    int bottomMagenta = 0;
    for (int x = 0; x < 256; ++x) {
        bottomMagenta += d.Is(x, 255, 255, 0, 255);
        // Down each column: pale feathers, then (maybe) magenta to the bottom edge.
        for (int y = 0; y < 256; ++y) {
            bool magenta = d.Is(x, y, 255, 0, 255);
            ASSERT_FALSE(y > 0 && d.Is(x, y - 1, 255, 0, 255) && !magenta) << "feather below the band at " << x << ", " << y;
            ASSERT_FALSE(magenta && y < 160) << "magenta in the upper wing at " << x << ", " << y;
            if (!magenta) { ASSERT_GE(d.Palest(x, y), 120) << "dark or pink feather at " << x << ", " << y; }
        }
    }
    EXPECT_GT(bottomMagenta, 200);
}

TEST(ArrowPicture, PaleChevronPointingUpOnMostlyTransparentGround) {
    Picture d = Decode("arrow.png");
    ASSERT_EQ(d.size, 128);
    int clear = 0, opaque = 0, apexRow = -1, widest = 0;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const int alpha = d.At(x, y)[3];
            clear += alpha == 0;
            if (alpha > 0) { ASSERT_GE(d.Palest(x, y), 200) << "dark ink at " << x << ", " << y; }
            if (alpha < 255) continue;
            ++opaque;
            if (apexRow < 0) apexRow = y;
            widest = std::max(widest, std::abs(2 * x - 127));
            if (y == apexRow) { EXPECT_LT(std::abs(2 * x - 127), 24) << "the apex sits in the middle: " << x; }
        }
    EXPECT_GT(clear, 128 * 128 / 2);
    EXPECT_GT(opaque, 500);
    EXPECT_GT(widest, 100);
}

std::string Paint(int size, const std::string& out) {
    const std::string command = "\"" KESTRAVA_BINARY_DIR "/assets/icon/kestrava_icongen\" " + std::to_string(size) +
                                " \"" + out + "\"";
    if (std::system(command.c_str()) != 0) return {};
    return ReadFile(out);
}

// A feather or the body: light and nearly grey (the sea's wavelets are light but blue).
bool Pale(const unsigned char* p) {
    return p[3] == 255 && p[0] > 150 && p[1] > 150 && p[2] > 150 && std::abs(p[0] - p[2]) < 40;
}
bool SeaBlue(const unsigned char* p) { return p[3] == 255 && p[2] > p[0] + 60; }

// Each size is an RGBA picture of that size (below 16 is refused); at 32 pixels the pale wings
// span the blue sea on a tile with clear corners.
TEST(DesktopIcon, IsAnRgbaPictureOfEachSizeAndAt32PixelsABirdOverTheSea) {
    TTempDir dir;
    for (int size : {48, 64, 128, 256}) {
        const std::string bytes = Paint(size, dir.Path() + "/a.png");
        const Picture image = Decode(bytes.data(), bytes.size());
        EXPECT_TRUE(image.alpha && image.size == size) << size;
    }
    EXPECT_TRUE(Paint(8, dir.Path() + "/small.png").empty());
    const std::string bytes = Paint(32, dir.Path() + "/icon.png");
    const Picture icon = Decode(bytes.data(), bytes.size());
    ASSERT_TRUE(icon.alpha && icon.size == 32);
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

}  // namespace
