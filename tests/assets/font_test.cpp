// The two embedded font files: the layout the drawing layer reads and the rules that keep the
// game's text inside its 8 by 16 cells.
#include "assets/embedded.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace {

// The byte for glyph g (code - 32) in row y.
int glyphRow(const TEmbeddedFile& font, int g, int y) { return font.data[y * 96 + g]; }

// Checks one font file against the layout rules.
void expectFontLayout(const char* name) {
    SCOPED_TRACE(name);
    TEmbeddedFile font = EmbeddedFile(name);
    ASSERT_NE(font.data, nullptr);
    ASSERT_EQ(font.length, 1536);
    std::set<std::string> shapes;
    for (int g = 0; g < 96; ++g) {
        int code = g + 32;
        SCOPED_TRACE(code);
        int top = -1, bottom = -1;
        std::string shape;
        for (int y = 0; y < 16; ++y) {
            shape += static_cast<char>(glyphRow(font, g, y));
            if (glyphRow(font, g, y) == 0) continue;
            if (top < 0) top = y;
            bottom = y;
        }
        EXPECT_TRUE(shapes.insert(shape).second) << "glyph repeats an earlier one";
        if (code == ' ') {
            EXPECT_EQ(top, -1) << "the space has ink";
            continue;
        }
        ASSERT_GE(top, 1) << "no ink, or ink in row 0";
        EXPECT_LE(bottom, 12);
        if (top == 1) {
            EXPECT_NE(std::strchr("()[]{}^|", code), nullptr) << "only brackets, caret and bar reach row 1";
        }
        if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) {
            EXPECT_EQ(top, 2);
            EXPECT_EQ(bottom, 10);
        }
    }
}

TEST(FontFiles, KeepEveryGlyphInsideItsCellByTheLayoutRules) {
    expectFontLayout("quorbfont.bin");
    expectFontLayout("gldrawtextfont.bin");
}

TEST(FontFiles, DescendersReachRowTwelveAndTheBuiltInFontLeavesColumnSevenForSpacing) {
    TEmbeddedFile font = EmbeddedFile("quorbfont.bin");
    ASSERT_EQ(font.length, 1536);
    for (char c : std::string("gjpqy")) EXPECT_NE(glyphRow(font, c - 32, 12), 0) << c;
    for (char c : std::string("aceimnorsuvwxz")) {
        EXPECT_EQ(glyphRow(font, c - 32, 4), 0) << c << " rises above the x-height";
        EXPECT_NE(glyphRow(font, c - 32, 5), 0) << c;
    }
    for (int g = 0; g < 96; ++g) {
        for (int y = 0; y < 16; ++y) EXPECT_EQ(glyphRow(font, g, y) & 0x80, 0) << "glyph " << g + 32 << " row " << y;
    }
}

// Runs the font generator on `art`; returns its exit status and whether it wrote `out`.
int runFontgen(const std::string& art, bool& wroteOutput) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("kestrava_fontgen_test_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "art.txt", std::ios::binary) << art;
    std::string command = std::string("\"") + KESTRAVA_BINARY_DIR "/assets/font/kestrava_fontgen\" \"" +
                          (dir / "art.txt").string() + "\" \"" + (dir / "out.bin").string() + "\" 2>/dev/null";
    int status = std::system(command.c_str());
    wroteOutput = fs::exists(dir / "out.bin");
    fs::remove_all(dir);
    return status;
}

TEST(FontGenerator, RefusesArtThatBreaksTheLayoutRules) {
    std::ifstream in(KESTRAVA_SOURCE_DIR "/assets/font/quorbfont.txt", std::ios::binary);
    std::string art((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(art.empty());
    bool wrote = false;
    ASSERT_EQ(runFontgen(art, wrote), 0);
    EXPECT_TRUE(wrote);

    // The block of 'A' with ink moved into row 1, where only brackets may reach.
    std::string header = "char 'A' (65)\n";
    size_t a = art.find(header);
    ASSERT_NE(a, std::string::npos);
    std::string tall = art;
    tall.replace(a + header.size() + 9, 8, "...#....");
    EXPECT_NE(runFontgen(tall, wrote), 0);
    EXPECT_FALSE(wrote);

    // 'B' drawn exactly like 'A'.
    std::string twin = art;
    size_t b = twin.find("char 'B' (66)\n");
    twin.replace(b + 14, 16 * 9, art.substr(a + header.size(), 16 * 9));
    EXPECT_NE(runFontgen(twin, wrote), 0);
    EXPECT_FALSE(wrote);

    // A block missing.
    std::string shortArt = art.substr(0, art.find("char DEL (127)"));
    EXPECT_NE(runFontgen(shortArt, wrote), 0);
    EXPECT_FALSE(wrote);
}

}  // namespace
