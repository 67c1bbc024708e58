// The four embedded pictures: the formats the game loads them with, and the properties its
// masks and blend modes rely on (black border for the additive puff, white only around the
// island, magenta only under the wing's feather tips, pale arrows on transparency).
#include "assets/embedded.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// A picture decoded with libpng, with the header facts as stored in the file.
struct Decoded {
    bool ok = false;
    int width = 0, height = 0, bitDepth = 0, colourType = -1, interlace = -1, channels = 0;
    std::vector<unsigned char> pixels;
    const unsigned char* at(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * channels]; }
};

struct Cursor {
    const unsigned char* data;
    size_t size, pos;
};

void readFromCursor(png_structp png, png_bytep out, png_size_t count) {
    Cursor* c = static_cast<Cursor*>(png_get_io_ptr(png));
    if (count > c->size - c->pos) png_error(png, "truncated");
    std::memcpy(out, c->data + c->pos, count);
    c->pos += count;
}

// Decodes the embedded file `name` without transformations.
void decodeInto(const char* name, Decoded& d) {
    TEmbeddedFile file = EmbeddedFile(name);
    if (!file.data || file.length < 8 || png_sig_cmp(file.data, 0, 8)) return;
    Cursor cursor{file.data, static_cast<size_t>(file.length), 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return;
    }
    png_set_read_fn(png, &cursor, readFromCursor);
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    d.width = static_cast<int>(png_get_image_width(png, info));
    d.height = static_cast<int>(png_get_image_height(png, info));
    d.bitDepth = png_get_bit_depth(png, info);
    d.colourType = png_get_color_type(png, info);
    d.interlace = png_get_interlace_type(png, info);
    d.channels = png_get_channels(png, info);
    png_bytepp rows = png_get_rows(png, info);
    size_t rowBytes = static_cast<size_t>(d.width) * d.channels;
    d.pixels.resize(rowBytes * d.height);
    for (int y = 0; y < d.height; ++y) std::memcpy(&d.pixels[rowBytes * y], rows[y], rowBytes);
    png_destroy_read_struct(&png, &info, nullptr);
    d.ok = d.bitDepth == 8;
}

Decoded decode(const char* name) {
    Decoded d;
    decodeInto(name, d);
    return d;
}

bool isColour(const unsigned char* p, int r, int g, int b) { return p[0] == r && p[1] == g && p[2] == b; }

TEST(EmbeddedPictures, HaveTheSizesAndFormatsTheGameLoads) {
    struct Expected {
        const char* name;
        int size, colourType;
    } expected[] = {{"wing2.png", 256, PNG_COLOR_TYPE_RGB},
                    {"spark.png", 256, PNG_COLOR_TYPE_RGB},
                    {"island.png", 512, PNG_COLOR_TYPE_RGB},
                    {"arrow.png", 128, PNG_COLOR_TYPE_RGBA}};
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        Decoded d = decode(e.name);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.width, e.size);
        EXPECT_EQ(d.height, e.size);
        EXPECT_EQ(d.colourType, e.colourType);
        EXPECT_EQ(d.bitDepth, 8);
        EXPECT_EQ(d.interlace, PNG_INTERLACE_NONE);
    }
}

TEST(SparkPicture, FadesToPureBlackBeforeItsBorderAndIsBrightInTheMiddle) {
    Decoded d = decode("spark.png");
    ASSERT_TRUE(d.ok);
    // A cloud is the puff scaled up to ten times and added to the scene: any light on the
    // outer ring would show as a square edge.
    for (int i = 0; i < 256; ++i) {
        for (int ring = 0; ring < 2; ++ring) {
            int lo = ring, hi = 255 - ring;
            ASSERT_TRUE(isColour(d.at(i, lo), 0, 0, 0) && isColour(d.at(i, hi), 0, 0, 0) &&
                        isColour(d.at(lo, i), 0, 0, 0) && isColour(d.at(hi, i), 0, 0, 0))
                << "light at ring " << ring << ", position " << i;
        }
    }
    const unsigned char* centre = d.at(128, 128);
    EXPECT_GT(centre[0] + centre[1] + centre[2], 3 * 180);
    // Smooth: neighbouring pixels never jump.
    int steepest = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 1; x < 256; ++x) steepest = std::max(steepest, std::abs(d.at(x, y)[1] - d.at(x - 1, y)[1]));
    }
    EXPECT_LE(steepest, 12);
}

TEST(IslandPicture, IsGreenLandOnWhiteWithNoWhiteHolesInside) {
    Decoded d = decode("island.png");
    ASSERT_TRUE(d.ok);
    const int n = 512;
    // Flood the white from the border: every white pixel must be reached, or it would be a
    // transparent hole in the island once the white mask is applied.
    std::vector<char> sea(n * n, 0);
    std::vector<int> todo;
    for (int i = 0; i < n; ++i) {
        for (int p : {i, (n - 1) * n + i, i * n, i * n + n - 1}) {
            ASSERT_TRUE(isColour(d.at(p % n, p / n), 255, 255, 255)) << "border pixel " << p % n << ", " << p / n;
            if (!sea[p]) {
                sea[p] = 1;
                todo.push_back(p);
            }
        }
    }
    while (!todo.empty()) {
        int p = todo.back();
        todo.pop_back();
        int x = p % n, y = p / n;
        const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
        for (const auto& q : next) {
            if (q[0] < 0 || q[0] >= n || q[1] < 0 || q[1] >= n) continue;
            int i = q[1] * n + q[0];
            if (!sea[i] && isColour(d.at(q[0], q[1]), 255, 255, 255)) {
                sea[i] = 1;
                todo.push_back(i);
            }
        }
    }
    long land = 0, green = 0;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const unsigned char* p = d.at(x, y);
            if (sea[y * n + x]) continue;
            ASSERT_FALSE(isColour(p, 255, 255, 255)) << "white hole at " << x << ", " << y;
            ++land;
            if (p[1] > p[0] && p[1] > p[2]) ++green;
        }
    }
    EXPECT_GT(land, n * n / 5);
    EXPECT_LT(land, n * n * 3 / 4);
    EXPECT_GT(green, land / 2);
    const unsigned char* centre = d.at(256, 300);
    EXPECT_FALSE(sea[300 * n + 256]);
    EXPECT_GT(centre[1], centre[2]);
}

TEST(WingPicture, MagentaOnlyUnderTheFeatherTipsAlongTheBottom) {
    Decoded d = decode("wing2.png");
    ASSERT_TRUE(d.ok);
    int bottomMagenta = 0;
    for (int x = 0; x < 256; ++x) {
        bottomMagenta += isColour(d.at(x, 255), 255, 0, 255);
        // Down each column: feathers, then (maybe) magenta to the bottom edge, never feathers again.
        bool inBand = false;
        for (int y = 0; y < 256; ++y) {
            bool magenta = isColour(d.at(x, y), 255, 0, 255);
            ASSERT_FALSE(inBand && !magenta) << "feather below the masked band at " << x << ", " << y;
            ASSERT_FALSE(magenta && y < 160) << "magenta in the upper wing at " << x << ", " << y;
            inBand = magenta;
            // Everything that is not masked is a pale feather: no pink fringe, no dark spots.
            if (!magenta) {
                ASSERT_GE(std::min({d.at(x, y)[0], d.at(x, y)[1], d.at(x, y)[2]}), 120) << x << ", " << y;
            }
        }
    }
    EXPECT_GT(bottomMagenta, 200);
}

TEST(ArrowPicture, PaleChevronsPointingUpOnMostlyTransparentGround) {
    Decoded d = decode("arrow.png");
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.channels, 4);
    int clear = 0, opaque = 0, firstOpaqueRow = -1;
    int widest = 0;
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            const unsigned char* p = d.at(x, y);
            if (p[3] == 0) ++clear;
            if (p[3] == 255) {
                ++opaque;
                if (firstOpaqueRow < 0) firstOpaqueRow = y;
                widest = std::max(widest, std::abs(2 * x - 127));
            }
            if (p[3] > 0) {
                ASSERT_GE(std::min({p[0], p[1], p[2]}), 200) << "dark ink at " << x << ", " << y;
            }
        }
    }
    EXPECT_GT(clear, 128 * 128 / 2);
    EXPECT_GT(opaque, 500);
    // The apex is the highest ink and sits in the middle; the arms spread over most of the width.
    ASSERT_GE(firstOpaqueRow, 0);
    for (int x = 0; x < 128; ++x) {
        if (d.at(x, firstOpaqueRow)[3] == 255) {
            EXPECT_LT(std::abs(2 * x - 127), 24) << x;
        }
    }
    EXPECT_GT(widest, 100);
}

}  // namespace
