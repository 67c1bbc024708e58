// The four embedded pictures: the formats the game loads them with, and the properties its
// masks and blend modes rely on (black border for the additive puff, white only around the
// island, magenta only under the wing's feather tips, pale arrows on transparency).
#include "assets/embedded.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// A picture decoded to 8-bit RGBA.
struct Picture {
    int size = 0;
    std::vector<unsigned char> rgba;
    const unsigned char* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * size + x) * 4]; }
    bool is(int x, int y, int r, int g, int b) const { return at(x, y)[0] == r && at(x, y)[1] == g && at(x, y)[2] == b; }
    int palest(int x, int y) const { return std::min({at(x, y)[0], at(x, y)[1], at(x, y)[2]}); }
};

Picture decode(const char* name) {
    TEmbeddedFile file = EmbeddedFile(name);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Picture p;
    if (!file.data || !png_image_begin_read_from_memory(&image, file.data, file.length)) return p;
    image.format = PNG_FORMAT_RGBA;
    p.rgba.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, p.rgba.data(), 0, nullptr)) p.size = int(image.width);
    return p;
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
        EXPECT_EQ(decode(e.name).size, e.size);
    }
}

// A cloud is the puff scaled up to ten times and added to the scene: any light on the two
// outer rings would show as a square edge, and any step inside as a band.
TEST(SparkPicture, FadesSmoothlyToPureBlackBeforeItsBorder) {
    Picture d = decode("spark.png");
    ASSERT_EQ(d.size, 256);
    for (int i = 0; i < 256; ++i)
        for (int ring : {0, 1, 254, 255}) ASSERT_TRUE(d.is(i, ring, 0, 0, 0) && d.is(ring, i, 0, 0, 0)) << ring << ", " << i;
    EXPECT_GT(d.palest(128, 128), 180);
    int steepest = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 1; x < 256; ++x) steepest = std::max(steepest, std::abs(d.at(x, y)[1] - d.at(x - 1, y)[1]));
    EXPECT_LE(steepest, 12);
}

// White is masked away: every white pixel must be reached from the border, or it would be a
// hole in the island.
TEST(IslandPicture, IsGreenLandOnWhiteWithNoWhiteHolesInside) {
    Picture d = decode("island.png");
    const int n = 512;
    ASSERT_EQ(d.size, n);
    std::vector<char> sea(n * n, 0);
    std::vector<int> todo;
    for (int i = 0; i < n; ++i)
        for (int p : {i, (n - 1) * n + i, i * n, i * n + n - 1}) {
            ASSERT_TRUE(d.is(p % n, p / n, 255, 255, 255)) << "land on the border at " << p % n << ", " << p / n;
            todo.push_back(p);
        }
    while (!todo.empty()) {
        int p = todo.back(), x = p % n, y = p / n;
        todo.pop_back();
        if (sea[p] || !d.is(x, y, 255, 255, 255)) continue;
        sea[p] = 1;
        if (x > 0) todo.push_back(p - 1);
        if (x < n - 1) todo.push_back(p + 1);
        if (y > 0) todo.push_back(p - n);
        if (y < n - 1) todo.push_back(p + n);
    }
    long land = 0, green = 0;
    for (int p = 0; p < n * n; ++p) {
        if (sea[p]) continue;
        const unsigned char* c = d.at(p % n, p / n);
        ASSERT_FALSE(d.is(p % n, p / n, 255, 255, 255)) << "white hole at " << p % n << ", " << p / n;
        ++land;
        green += c[1] > c[0] && c[1] > c[2];
    }
    EXPECT_GT(land, n * n / 5);
    EXPECT_LT(land, n * n * 3 / 4);
    EXPECT_GT(green, land / 2);
}

TEST(WingPicture, MagentaOnlyUnderTheFeatherTipsAlongTheBottom) {
    Picture d = decode("wing2.png");
    ASSERT_EQ(d.size, 256);
    int bottomMagenta = 0;
    for (int x = 0; x < 256; ++x) {
        bottomMagenta += d.is(x, 255, 255, 0, 255);
        // Down each column: pale feathers, then (maybe) magenta to the bottom edge.
        for (int y = 0; y < 256; ++y) {
            bool magenta = d.is(x, y, 255, 0, 255);
            ASSERT_FALSE(y > 0 && d.is(x, y - 1, 255, 0, 255) && !magenta) << "feather below the band at " << x << ", " << y;
            ASSERT_FALSE(magenta && y < 160) << "magenta in the upper wing at " << x << ", " << y;
            if (!magenta) { ASSERT_GE(d.palest(x, y), 120) << "dark or pink feather at " << x << ", " << y; }
        }
    }
    EXPECT_GT(bottomMagenta, 200);
}

TEST(ArrowPicture, PaleChevronPointingUpOnMostlyTransparentGround) {
    Picture d = decode("arrow.png");
    ASSERT_EQ(d.size, 128);
    int clear = 0, opaque = 0, apexRow = -1, widest = 0;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const int alpha = d.at(x, y)[3];
            clear += alpha == 0;
            if (alpha > 0) { ASSERT_GE(d.palest(x, y), 200) << "dark ink at " << x << ", " << y; }
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

}  // namespace
