// The PNG loader against pictures of every kind written with libpng and broken files written
// chunk by chunk (draw2d/png_inputs.h); then against the files of the PNG conformance suite
// that Kestrava must read or refuse (tests/data/pngsuite), with their expected pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "draw2d/pixmap.h"
#include "draw2d/png_inputs.h"
#include "platform/error.h"

namespace fs = std::filesystem;

namespace {

TPixmapPtr LoadBytes(const TBytes& bytes) {
    StartPixmapLoaders();
    return LoadPixmap(CreateRamStream(bytes.data(), static_cast<int>(bytes.size()), 1, 0));
}

std::string Hex(uint32_t v) {
    std::ostringstream out;
    out << std::hex << v;
    return out.str();
}

// How a loaded pixmap differs from the picture it was made of: empty when it does not.
std::string Differences(const TPngPicture& picture, const TPixmapPtr& pm) {
    if (!pm) return "not loaded";
    if (pm->format != picture.format || pm->width != picture.width || pm->height != picture.height)
        return "format " + std::to_string(pm->format) + " " + std::to_string(pm->width) + "x" +
               std::to_string(pm->height);
    int wrong = 0;
    std::string first;
    for (int y = 0; y < pm->height; ++y) {
        for (int x = 0; x < pm->width; ++x) {
            uint32_t got = pm->ReadPixel(x, y), want = picture.argb[size_t(y) * pm->width + x];
            if (got == want) continue;
            if (!wrong++)
                first = " (first at " + std::to_string(x) + "," + std::to_string(y) + ": " + Hex(got) +
                        " instead of " + Hex(want) + ")";
        }
    }
    return wrong ? std::to_string(wrong) + " wrong pixels" + first : "";
}

// A stream whose reads raise the stream error.
struct FailingStream : TRamStream {
    int Read(void*, int) override { throw TStreamReadError(); }
};

}  // namespace

// Grey at 1, 2, 4, 8 and 16 bits, RGB, palettes, grey with alpha and RGBA, each interlaced and
// not; palettes with partial alpha and grey or RGB colour keys; pictures smaller than the Adam7
// grid. Small depths are scaled to 0..255, 16 bits keep their high byte, transparency gives RGBA.
TEST(PngLoader, EveryColourTypeBitDepthTransparencyAndInterlaceLoadsAsItWasWritten) {
    std::vector<TPngPicture> pictures = GoodPngPictures();
    ASSERT_GE(pictures.size(), 45u);
    for (const TPngPicture& picture : pictures) {
        ASSERT_FALSE(picture.bytes.empty()) << picture.name << ": libpng did not write it";
        EXPECT_EQ(Differences(picture, LoadBytes(picture.bytes)), "") << picture.name;
    }
}

TEST(PngLoader, EveryBrokenFileIsRefused) {
    TPixmapPtr base = LoadBytes(HandWrittenPng());   // what most of them are made from
    ASSERT_TRUE(base);
    EXPECT_EQ(base->format, PIXEL_RGB888);
    EXPECT_EQ(base->width, 16);
    std::vector<TPngBroken> files = BrokenPngFiles();
    ASSERT_GE(files.size(), 35u);
    for (const TPngBroken& file : files) EXPECT_FALSE(LoadBytes(file.bytes)) << file.name;
    // Every cut of a good file ends cleanly with none, also in the middle of an interlaced pass.
    for (const TPngPicture& good : {MakePngPicture({6, 8}), MakePngPicture({3, 4, true, true, 17, 9})}) {
        ASSERT_FALSE(good.bytes.empty()) << good.name;
        ASSERT_TRUE(LoadBytes(good.bytes)) << good.name;
        for (size_t n = 0; n < good.bytes.size(); n += 7)
            EXPECT_FALSE(LoadBytes(TBytes(good.bytes.begin(), good.bytes.begin() + n))) << good.name << " cut at " << n;
    }
}

TEST(LoadPixmap, ReadsFromTheStreamsPositionAndRefusesOnAStreamError) {
    TPngPicture picture = RgbPngPicture(32, 20);
    ASSERT_FALSE(picture.bytes.empty());
    TBytes bytes = {'j', 'u', 'n', 'k'};
    bytes.insert(bytes.end(), picture.bytes.begin(), picture.bytes.end());
    StartPixmapLoaders();
    TStreamPtr stream = CreateRamStream(bytes.data(), static_cast<int>(bytes.size()), 1, 0);
    stream->Seek(4);
    TPixmapPtr pm = LoadPixmap(stream);
    ASSERT_TRUE(pm);
    EXPECT_EQ(Differences(picture, pm), "");
    auto failing = std::make_shared<FailingStream>();
    failing->size = 100;
    EXPECT_FALSE(LoadPixmap(failing));
}

namespace {

// A loader that reads nothing and counts how often it was asked (from any thread).
struct CountingLoader : TPixmapLoader {
    std::atomic<int> asked{0};
    TPixmapPtr LoadPixmap(TStream&) override {
        ++asked;
        return nullptr;
    }
};

}  // namespace

// Pictures decoded ahead go to the LoadPixmap of the embedded name registered with those very
// bytes, once, with the pixels of a direct decode; everything else decodes as it always did.
TEST(DecodeAhead, HandsEachPictureOnceToTheEmbeddedNameOfItsBytes) {
    StartStreams();
    StartPixmapLoaders();
    const TPngPicture rgb = RgbPngPicture(40, 30), rgba = MakePngPicture({6, 8, false, false, 7, 5});
    const TBytes broken = BrokenPngFiles().front().bytes, copy = rgb.bytes;
    auto length = [](const TBytes& bytes) { return static_cast<int>(bytes.size()); };
    ASSERT_EQ(IncbinAdd("ahead-rgb.png", rgb.bytes.data(), length(rgb.bytes)), 1);
    ASSERT_EQ(IncbinAdd("ahead-rgba.png", rgba.bytes.data(), length(rgba.bytes)), 1);
    ASSERT_EQ(IncbinAdd("ahead-broken.png", broken.data(), length(broken)), 1);
    ASSERT_EQ(IncbinAdd("ahead-copy.png", copy.data(), length(copy)), 1);   // same bytes, elsewhere

    auto counting = std::make_unique<CountingLoader>();   // asked first, before the PNG loader
    DecodeAhead({{rgb.bytes.data(), length(rgb.bytes)}, {rgba.bytes.data(), length(rgba.bytes)},
                 {broken.data(), length(broken)}});
    TPixmapPtr first = LoadPixmap("incbin::ahead-rgba.png");   // waits for its turn if need be
    EXPECT_EQ(Differences(rgba, first), "");
    EXPECT_EQ(Differences(rgb, LoadPixmap("incbin::ahead-rgb.png")), "");
    EXPECT_FALSE(LoadPixmap("incbin::ahead-broken.png"));   // refused ahead, then refused again here
    EXPECT_EQ(counting->asked, 4) << "three decoded ahead, the broken one once more";

    TPixmapPtr again = LoadPixmap("incbin::ahead-rgba.png");   // handed over once: decoded anew
    EXPECT_EQ(Differences(rgba, again), "");
    EXPECT_NE(again, first);
    EXPECT_EQ(Differences(rgb, LoadPixmap("incbin::ahead-copy.png")), "");
    EXPECT_EQ(counting->asked, 6);

    // Bytes that are no embedded file's are taken by their address too.
    DecodeAhead({{copy.data(), length(copy)}});
    EXPECT_EQ(Differences(rgb, LoadPixmap(copy.data(), length(copy))), "");
    EXPECT_EQ(Differences(rgb, LoadPixmap(copy.data(), length(copy))), "");
    EXPECT_EQ(counting->asked, 8) << "once ahead, once for the second load";

    // A loader registered after the decoding could have read the picture differently.
    DecodeAhead({{rgb.bytes.data(), length(rgb.bytes)}});
    CountingLoader newer;
    EXPECT_EQ(Differences(rgb, LoadPixmap("incbin::ahead-rgb.png")), "");
    EXPECT_EQ(newer.asked, 1);
    EXPECT_EQ(counting->asked, 10);
    DecodeAhead({});   // the thread is done before its loaders go
}

// ---- The PNG conformance suite in tests/data/pngsuite ----------------------------------------

namespace {

const fs::path kSuite = fs::path(KESTRAVA_TESTDATA) / "pngsuite";

TBytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The flat [r, g, b, a, ...] array of a json file.
std::vector<int> ReadExpected(const fs::path& path) {
    std::string text;
    for (uint8_t c : ReadFile(path)) text.push_back(c >= '0' && c <= '9' ? char(c) : ' ');
    std::istringstream in(text);
    return {std::istream_iterator<int>(in), std::istream_iterator<int>()};
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

}  // namespace

TEST(PngLoaderSuite, EveryBasicFileAndTransparentPaletteMatchesItsExpectedPixels) {
    std::vector<fs::path> files = PngFiles(kSuite / "png", "basn"), interlaced = PngFiles(kSuite / "png", "basi");
    files.insert(files.end(), interlaced.begin(), interlaced.end());
    ASSERT_EQ(files.size(), 30u);
    files.push_back(kSuite / "png/tbbn3p08.png");
    files.push_back(kSuite / "png/tp1n3p08.png");
    for (const fs::path& png : files) EXPECT_EQ(WrongChannels(png), 0) << png.filename();
}

TEST(PngLoaderSuite, EveryBrokenFileIsRefused) {
    std::vector<fs::path> files = PngFiles(kSuite / "png", "x");
    ASSERT_EQ(files.size(), 14u);
    for (const fs::path& png : files) EXPECT_FALSE(LoadBytes(ReadFile(png))) << png.filename();
}
