// The PNG loaders (libpng's and stb_image's, each test once per loader) against the files of the PNG conformance suite that Kestrava must read or
// refuse (tests/data/pngsuite), with their expected pixels; then against what the suite cannot
// hold: its own limits (draw2d/png_inputs.h), streams, and pictures decoded ahead.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "assets/embedded.h"
#include "draw2d/pixmap.h"
#include "draw2d/png_inputs.h"
#include "platform/error.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSuite = fs::path(KESTRAVA_TESTDATA) / "pngsuite";

// The PNG tests run once per loader, each asked directly: libpng's (the desktop's) and
// stb_image's (the web's) must read and refuse the same files alike.
struct TLoaderUnderTest {
    const char* name;
    TPixmapLoader* (*create)();
};
void PrintTo(const TLoaderUnderTest& loader, std::ostream* out) { *out << loader.name; }

class PngLoader : public testing::TestWithParam<TLoaderUnderTest> {
protected:
    TPixmapPtr LoadBytes(const TBytes& bytes) {
        return GetParam().create()->LoadPixmap(*CreateRamStream(bytes.data(), static_cast<int>(bytes.size()), 1, 0));
    }
    int WrongChannels(const fs::path& png);
};

TBytes ReadBytes(const fs::path& path) {
    const std::string bytes = ReadFile(path.string());
    return {bytes.begin(), bytes.end()};
}

// Whether a pixmap holds exactly the made picture's pixels.
bool Holds(const TPixmapPtr& pm, const TPngPicture& picture) {
    if (!pm || pm->format != picture.format || pm->width != picture.width || pm->height != picture.height) return false;
    for (int y = 0; y < pm->height; ++y)
        for (int x = 0; x < pm->width; ++x)
            if (pm->ReadPixel(x, y) != picture.argb[size_t(y) * pm->width + x]) return false;
    return true;
}

}  // namespace

// How many channels of a suite file's pixels differ from its json table, the flat
// [r, g, b, a, ...] array (a 16-bit file may be one off its 8-bit table); -1 when it does not
// load at the expected format and size.
int PngLoader::WrongChannels(const fs::path& png) {
    std::string name = png.stem().string();
    bool sixteen = name.ends_with("16");
    fs::path json = kSuite / "json" / (name + ".json"), to8 = kSuite / "json" / (name + "_to8.json");
    int scale = 1;
    if (sixteen && fs::exists(to8)) json = to8;
    else if (sixteen) scale = 257;                 // the table holds 16-bit values
    std::string text;
    for (uint8_t c : ReadFile(json)) text.push_back(c >= '0' && c <= '9' ? char(c) : ' ');
    std::istringstream numbers(text);
    const std::vector<int> want{std::istream_iterator<int>(numbers), std::istream_iterator<int>()};
    // The colour type is the fifth letter: grey, -, RGB, palette, grey with alpha, -, RGBA;
    // the t files have a palette with transparency.
    const int formats[] = {PIXEL_I8, 0, PIXEL_RGB888, PIXEL_RGB888, PIXEL_RGBA8888, 0, PIXEL_RGBA8888};
    int format = name[0] == 't' ? PIXEL_RGBA8888 : formats[name[4] - '0'];
    TPixmapPtr pm = LoadBytes(ReadBytes(png));
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

namespace {

// A stream whose reads raise the stream error.
struct FailingStream : TRamStream {
    int Read(void*, int) override { throw TStreamReadError(); }
};

}  // namespace

// Grey at 1 to 16 bits, RGB, palettes (two with transparency), grey with alpha and RGBA, each
// interlaced and not, load as their tables say: small depths scaled to 0..255, 16 bits keep
// their high byte, transparency gives RGBA. Every damaged file (x...) is refused, and so is
// every cut of a good one, also in the middle of an interlaced pass.
TEST_P(PngLoader, EverySuiteFileLoadsAsItsTableSaysOrIsRefused) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kSuite / "png")) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_EQ(files.size(), 46u);
    for (const fs::path& png : files) {
        if (png.filename().string().starts_with("x")) EXPECT_FALSE(LoadBytes(ReadBytes(png))) << png.filename();
        else EXPECT_EQ(WrongChannels(png), 0) << png.filename();
    }
    for (const char* name : {"basn6a08.png", "basi3p04.png"}) {
        const TBytes good = ReadBytes(kSuite / "png" / name);
        for (size_t n = 0; n < good.size(); n += 7)
            EXPECT_FALSE(LoadBytes(TBytes(good.begin(), good.begin() + n))) << name << " cut at " << n;
    }
}

TEST_P(PngLoader, TakesSidesAndAreasUpToItsLimitsAndNoChunkTheFileLacks) {
    for (const TPngLimitFile& file : PngLimitFiles()) EXPECT_EQ(bool(LoadBytes(file.bytes)), file.loads) << file.name;
}

// The game's own pictures (and the window's icon) come out of both loaders pixel for pixel.
TEST(PngLoaders, DecodeTheEmbeddedPicturesAlike) {
    int pictures = 0;
    for (const TEmbeddedFile& file : EmbeddedFiles()) {
        if (!std::string_view(file.name).ends_with(".png")) continue;
        ++pictures;
        TPixmapPtr a = CreatePngLoader()->LoadPixmap(*CreateRamStream(file.data, file.length, 1, 0));
        TPixmapPtr b = CreateStbPngLoader()->LoadPixmap(*CreateRamStream(file.data, file.length, 1, 0));
        ASSERT_TRUE(a && b && a->format == b->format && a->width == b->width && a->height == b->height) << file.name;
        for (int y = 0; y < a->height; ++y)
            ASSERT_EQ(std::memcmp(a->PixelPtr(0, y), b->PixelPtr(0, y), size_t(a->width) * BytesPerPixel(a->format)), 0)
                << file.name << " row " << y;
    }
    EXPECT_EQ(pictures, 5);
}

INSTANTIATE_TEST_SUITE_P(Both, PngLoader,
                         testing::Values(TLoaderUnderTest{"Libpng", CreatePngLoader},
                                         TLoaderUnderTest{"StbImage", CreateStbPngLoader}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LoadPixmap, ReadsFromTheStreamsPositionAndRefusesOnAStreamError) {
    TPngPicture picture = RgbPngPicture(32, 20);
    TBytes bytes = {'j', 'u', 'n', 'k'};
    bytes.insert(bytes.end(), picture.bytes.begin(), picture.bytes.end());
    StartPixmapLoaders();
    TStreamPtr stream = CreateRamStream(bytes.data(), static_cast<int>(bytes.size()), 1, 0);
    stream->Seek(4);
    EXPECT_TRUE(Holds(LoadPixmap(stream), picture));
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
    const TPngPicture rgb = RgbPngPicture(40, 30), small = RgbPngPicture(7, 5);
    const TBytes broken = {'n', 'o', ' ', 'p', 'n', 'g'}, copy = rgb.bytes;
    auto length = [](const TBytes& bytes) { return static_cast<int>(bytes.size()); };
    ASSERT_EQ(IncbinAdd("ahead-rgb.png", rgb.bytes.data(), length(rgb.bytes)), 1);
    ASSERT_EQ(IncbinAdd("ahead-small.png", small.bytes.data(), length(small.bytes)), 1);
    ASSERT_EQ(IncbinAdd("ahead-broken.png", broken.data(), length(broken)), 1);
    ASSERT_EQ(IncbinAdd("ahead-copy.png", copy.data(), length(copy)), 1);   // same bytes, elsewhere

    auto counting = std::make_unique<CountingLoader>();   // asked first, before the PNG loader
    DecodeAhead({{rgb.bytes.data(), length(rgb.bytes)}, {small.bytes.data(), length(small.bytes)},
                 {broken.data(), length(broken)}});
    TPixmapPtr first = LoadPixmap("incbin::ahead-small.png");   // waits for its turn if need be
    EXPECT_TRUE(Holds(first, small));
    EXPECT_TRUE(Holds(LoadPixmap("incbin::ahead-rgb.png"), rgb));
    EXPECT_FALSE(LoadPixmap("incbin::ahead-broken.png"));   // refused ahead, then refused again here
    EXPECT_EQ(counting->asked, 4) << "three decoded ahead, the broken one once more";

    TPixmapPtr again = LoadPixmap("incbin::ahead-small.png");   // handed over once: decoded anew
    EXPECT_TRUE(Holds(again, small));
    EXPECT_NE(again, first);
    EXPECT_TRUE(Holds(LoadPixmap("incbin::ahead-copy.png"), rgb));
    EXPECT_EQ(counting->asked, 6);

    // Bytes that are no embedded file's are taken by their address too.
    DecodeAhead({{copy.data(), length(copy)}});
    EXPECT_TRUE(Holds(LoadPixmap(copy.data(), length(copy)), rgb));
    EXPECT_TRUE(Holds(LoadPixmap(copy.data(), length(copy)), rgb));
    EXPECT_EQ(counting->asked, 8) << "once ahead, once for the second load";

    // A loader registered after the decoding could have read the picture differently.
    DecodeAhead({{rgb.bytes.data(), length(rgb.bytes)}});
    CountingLoader newer;
    EXPECT_TRUE(Holds(LoadPixmap("incbin::ahead-rgb.png"), rgb));
    EXPECT_EQ(newer.asked, 1);
    EXPECT_EQ(counting->asked, 10);
    DecodeAhead({});   // the thread is done before its loaders go
}
