// The two embedded font files: the layout the drawing layer reads and the rules that keep the
// game's text inside its 8 by 16 cells.
#include "assets/embedded.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <set>
#include <string>

namespace {

// Row y of the glyph for code: 96 glyphs from code 32, row by row, one byte a row.
int glyphRow(const TEmbeddedFile& font, int code, int y) { return font.data[y * 96 + code - 32]; }

TEST(FontFiles, KeepEveryGlyphInsideItsCellByTheLayoutRules) {
    for (const char* name : {"quorbfont.bin", "gldrawtextfont.bin"}) {
        TEmbeddedFile font = EmbeddedFile(name);
        ASSERT_EQ(font.length, 1536) << name;
        std::set<std::string> shapes;
        for (int code = 32; code < 128; ++code) {
            SCOPED_TRACE(std::string(name) + " code " + std::to_string(code));
            int top = -1, bottom = -1;
            std::string shape;
            for (int y = 0; y < 16; ++y) {
                shape += static_cast<char>(glyphRow(font, code, y));
                if (glyphRow(font, code, y) == 0) continue;
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
            if (std::isupper(code) || std::isdigit(code)) {
                EXPECT_EQ(top * 100 + bottom, 210) << "capitals and digits span rows 2 to 10";
            }
        }
    }
}

TEST(FontFiles, DescendersReachRowTwelveAndTheBuiltInFontLeavesColumnSevenForSpacing) {
    TEmbeddedFile font = EmbeddedFile("quorbfont.bin");
    ASSERT_EQ(font.length, 1536);
    for (char c : std::string("gjpqy")) EXPECT_NE(glyphRow(font, c, 12), 0) << c;
    for (char c : std::string("aceimnorsuvwxz")) {
        EXPECT_EQ(glyphRow(font, c, 4), 0) << c << " rises above the x-height";
        EXPECT_NE(glyphRow(font, c, 5), 0) << c;
    }
    for (int i = 0; i < 1536; ++i) EXPECT_EQ(font.data[i] & 0x80, 0) << "glyph " << i % 96 + 32 << " row " << i / 96;
}

}  // namespace
