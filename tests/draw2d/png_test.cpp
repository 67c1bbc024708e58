// The PNG loader against the PNG conformance suite and a corpus of broken files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "draw2d/pixmap.h"
#include "platform/error.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSuite = fs::path(KESTRAVA_TESTDATA) / "pngsuite";

std::vector<char> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The flat [r, g, b, a, ...] array of a json file.
std::vector<int> ReadExpected(const fs::path& path) {
    std::string text;
    for (char c : ReadFile(path)) text.push_back(c >= '0' && c <= '9' ? c : ' ');
    std::istringstream in(text);
    return {std::istream_iterator<int>(in), std::istream_iterator<int>()};
}

TPixmapPtr LoadBytes(const std::vector<char>& bytes) {
    StartPixmapLoaders();
    return LoadPixmap(CreateRamStream(bytes.data(), static_cast<int>(bytes.size()), 1, 0));
}

// The .png files of a folder whose names start with prefix, in order.
std::vector<fs::path> PngFiles(const fs::path& folder, const std::string& prefix) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".png" && entry.path().filename().string().starts_with(prefix))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// How many channels of a suite file's pixels differ from its table (a 16-bit file may be one off
// its 8-bit table); -1 when it does not load at the expected format and size.
int WrongChannels(const fs::path& png) {
    std::string name = png.stem().string();
    bool sixteen = name.ends_with("16");
    fs::path json = kSuite / "json" / (name + ".json"), to8 = kSuite / "json" / (name + "_to8.json");
    int scale = 1;
    if (sixteen && fs::exists(to8)) json = to8;
    else if (sixteen) scale = 257;                 // the table holds 16-bit values
    // The colour type is the fifth letter: grey, -, RGB, palette, grey with alpha, -, RGBA;
    // the t files have a palette with transparency.
    const int formats[] = {PIXEL_I8, 0, PIXEL_RGB888, PIXEL_RGB888, PIXEL_RGBA8888, 0, PIXEL_RGBA8888};
    int format = name[0] == 't' ? PIXEL_RGBA8888 : formats[name[4] - '0'];
    TPixmapPtr pm = LoadBytes(ReadFile(png));
    std::vector<int> want = ReadExpected(json);
    if (!pm || pm->format != format || want.size() != static_cast<size_t>(pm->width) * pm->height * 4) return -1;
    int wrong = 0;
    for (int y = 0; y < pm->height; ++y) {
        for (int x = 0; x < pm->width; ++x) {
            uint32_t argb = pm->ReadPixel(x, y);
            const int got[4] = {int(argb >> 16 & 255), int(argb >> 8 & 255), int(argb & 255), int(argb >> 24)};
            const int* expected = &want[(static_cast<size_t>(y) * pm->width + x) * 4];
            for (int c = 0; c < 4; ++c) wrong += std::abs(got[c] - expected[c] / scale) > (sixteen ? 1 : 0);
        }
    }
    return wrong;
}

// A stream whose reads raise the stream error.
struct FailingStream : TRamStream {
    int Read(void*, int) override { throw TStreamReadError(); }
};

}  // namespace

TEST(PngLoader, EveryBasicSuiteFileAndTransparentPaletteMatchesItsExpectedPixels) {
    std::vector<fs::path> files = PngFiles(kSuite / "png", "basn"), interlaced = PngFiles(kSuite / "png", "basi");
    files.insert(files.end(), interlaced.begin(), interlaced.end());
    ASSERT_EQ(files.size(), 30u);
    files.push_back(kSuite / "png/tbbn3p08.png");
    files.push_back(kSuite / "png/tp1n3p08.png");
    for (const fs::path& png : files) EXPECT_EQ(WrongChannels(png), 0) << png.filename();
}

TEST(PngLoader, EveryBrokenFileIsRefused) {
    std::vector<fs::path> files = PngFiles(kSuite / "png", "x");
    ASSERT_EQ(files.size(), 14u);
    std::vector<fs::path> corpus = PngFiles(fs::path(KESTRAVA_SOURCE_DIR) / "tests/draw2d/data", "");
    ASSERT_GE(corpus.size(), 15u);
    files.insert(files.end(), corpus.begin(), corpus.end());
    for (const fs::path& png : files) EXPECT_FALSE(LoadBytes(ReadFile(png))) << png.filename();
    // Every cut of a good file ends cleanly with none.
    std::vector<char> good = ReadFile(kSuite / "png/basn6a08.png");
    for (size_t n = 0; n < good.size(); n += 13)
        EXPECT_FALSE(LoadBytes(std::vector<char>(good.begin(), good.begin() + n))) << n;
}

TEST(LoadPixmap, ReadsFromTheStreamsPositionAndRefusesOnAStreamError) {
    std::vector<char> bytes = {'j', 'u', 'n', 'k'}, png = ReadFile(kSuite / "png/basn2c08.png");
    bytes.insert(bytes.end(), png.begin(), png.end());
    StartPixmapLoaders();
    TStreamPtr stream = CreateRamStream(bytes.data(), static_cast<int>(bytes.size()), 1, 0);
    stream->Seek(4);
    TPixmapPtr pm = LoadPixmap(stream);
    ASSERT_TRUE(pm);
    EXPECT_EQ(pm->width, 32);
    auto failing = std::make_shared<FailingStream>();
    failing->size = 100;
    EXPECT_FALSE(LoadPixmap(failing));
}
