// The PNG loader against the PNG conformance suite and a corpus of broken files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "draw2d/pixmap.h"
#include "platform/error.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSuite = fs::path(KESTRAVA_TESTDATA) / "pngsuite";
const fs::path kBroken = fs::path(KESTRAVA_SOURCE_DIR) / "tests/draw2d/data";

std::vector<char> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The flat [r, g, b, a, ...] array of a json file.
std::vector<int> ReadExpected(const fs::path& path) {
    std::vector<char> text = ReadFile(path);
    text.push_back(0);
    std::vector<int> values;
    for (const char* p = text.data(); *p;) {
        if (*p >= '0' && *p <= '9') {
            char* end;
            values.push_back(static_cast<int>(std::strtol(p, &end, 10)));
            p = end;
        } else {
            ++p;
        }
    }
    return values;
}

TPixmapPtr LoadBytes(const std::vector<char>& bytes) {
    StartPixmapLoaders();
    return LoadPixmap(CreateRamStream(bytes.data(), static_cast<int>(bytes.size()), 1, 0));
}

std::vector<fs::path> SuiteFiles(const std::string& prefix) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kSuite / "png"))
        if (entry.path().filename().string().rfind(prefix, 0) == 0) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Compares every pixel with the expected values; 16-bit files may differ by one from their 8-bit table.
void ExpectPixels(const fs::path& png, int format = 0) {
    std::string name = png.stem().string();
    bool sixteen = name.substr(name.size() - 2) == "16";
    fs::path json = kSuite / "json" / (name + ".json");
    int scale = 1;
    if (sixteen) {
        if (fs::exists(kSuite / "json" / (name + "_to8.json")))
            json = kSuite / "json" / (name + "_to8.json");
        else
            scale = 257;   // the table holds 16-bit values
    }
    TPixmapPtr pm = LoadBytes(ReadFile(png));
    ASSERT_TRUE(pm) << name;
    // The colour type is the fifth letter: grey, -, RGB, palette, grey with alpha, -, RGBA.
    const int formats[] = {PIXEL_I8, 0, PIXEL_RGB888, PIXEL_RGB888, PIXEL_RGBA8888, 0, PIXEL_RGBA8888};
    EXPECT_EQ(pm->format, format ? format : formats[name[4] - '0']) << name;
    std::vector<int> expected = ReadExpected(json);
    ASSERT_EQ(expected.size(), static_cast<size_t>(pm->width) * pm->height * 4) << name;
    int tolerance = sixteen ? 1 : 0, bad = 0;
    for (int y = 0; y < pm->height; ++y) {
        for (int x = 0; x < pm->width; ++x) {
            uint32_t argb = pm->ReadPixel(x, y);
            int got[4] = {static_cast<int>(argb >> 16 & 255), static_cast<int>(argb >> 8 & 255),
                          static_cast<int>(argb & 255), static_cast<int>(argb >> 24)};
            for (int c = 0; c < 4; ++c) {
                int want = expected[(static_cast<size_t>(y) * pm->width + x) * 4 + c] / scale;
                if (std::abs(got[c] - want) > tolerance && bad++ < 3)
                    ADD_FAILURE() << name << " (" << x << ", " << y << ") channel " << c << ": " << got[c]
                                  << " expected " << want;
            }
        }
    }
}

}  // namespace

TEST(PngLoader, EveryBasicSuiteFileMatchesItsExpectedPixels) {
    std::vector<fs::path> files = SuiteFiles("basn");
    for (const fs::path& f : SuiteFiles("basi")) files.push_back(f);
    ASSERT_EQ(files.size(), 30u);
    for (const fs::path& png : files) ExpectPixels(png);
}

TEST(PngLoader, PalettesWithTransparencyBecomeRgba) {
    ExpectPixels(kSuite / "png/tbbn3p08.png", PIXEL_RGBA8888);
    ExpectPixels(kSuite / "png/tp1n3p08.png", PIXEL_RGBA8888);
}

TEST(PngLoader, EveryCorruptSuiteFileIsRefused) {
    std::vector<fs::path> files = SuiteFiles("x");
    ASSERT_EQ(files.size(), 14u);
    for (const fs::path& png : files) EXPECT_FALSE(LoadBytes(ReadFile(png))) << png.filename();
}

TEST(PngLoader, BrokenFilesLoadAsNone) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(kBroken)) {
        if (entry.path().extension() != ".png") continue;
        ++count;
        std::vector<char> bytes = ReadFile(entry.path());
        EXPECT_FALSE(LoadBytes(bytes)) << entry.path().filename();
    }
    EXPECT_GE(count, 15);
    // Every cut of a good file ends cleanly with none.
    std::vector<char> good = ReadFile(kSuite / "png/basn6a08.png");
    for (size_t n = 0; n < good.size(); n += 13)
        EXPECT_FALSE(LoadBytes(std::vector<char>(good.begin(), good.begin() + n))) << n;
}

TEST(LoadPixmap, ReadsFromTheStreamsPositionAndByPath) {
    std::vector<char> bytes = {'j', 'u', 'n', 'k'};
    std::vector<char> png = ReadFile(kSuite / "png/basn2c08.png");
    bytes.insert(bytes.end(), png.begin(), png.end());
    StartPixmapLoaders();
    TStreamPtr stream = CreateRamStream(bytes.data(), static_cast<int>(bytes.size()), 1, 0);
    stream->Seek(4);
    TPixmapPtr pm = LoadPixmap(stream);
    ASSERT_TRUE(pm);
    EXPECT_EQ(pm->width, 32);
    EXPECT_EQ(pm->format, PIXEL_RGB888);

    EXPECT_TRUE(LoadPixmap((kSuite / "png/basn0g08.png").string()));
    EXPECT_FALSE(LoadPixmap((kSuite / "png/no-such-file.png").string()));
}

// A stream whose reads raise the stream error.
struct FailingStream : TRamStream {
    int Read(void*, int) override { throw TStreamReadError(); }
};

TEST(LoadPixmap, TreatsAStreamErrorAsRefusal) {
    StartPixmapLoaders();
    auto failing = std::make_shared<FailingStream>();
    failing->size = 100;
    EXPECT_FALSE(LoadPixmap(failing));
}
