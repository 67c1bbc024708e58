// The built-in font: measuring, character codes and what drawn text looks like.
#include <gtest/gtest.h>

#include "draw2d/draw.h"
#include "draw2d/font.h"
#include "draw2d/graphics.h"
#include "draw2d/state.h"
#include "platform/stream.h"
#include "support/gl_fixture.h"

namespace {

// True when the embedded font has at least one ink bit (the art may still be a placeholder).
bool FontHasInk() {
    StartDrawLayer();
    const auto* bits = static_cast<const uint8_t*>(IncbinPtr("quorbfont.bin"));
    for (int i = 0, n = IncbinLen("quorbfont.bin"); i < n; ++i)
        if (bits[i]) return true;
    return false;
}

}  // namespace

TEST(TextWidth, CountsEightPerDrawableCharacterOnly) {
    StartDrawLayer();
    EXPECT_EQ(TextWidth("Score: "), 56);
    EXPECT_EQ(TextWidth(""), 0);
    EXPECT_EQ(TextWidth("caf\xC3\xA9"), 24);    // the accented letter has no glyph
    EXPECT_EQ(TextWidth("a\tb\x7F"), 24);        // tab is below 32; 127 is a glyph
    EXPECT_EQ(TextHeight(""), 16);
    EXPECT_EQ(TextHeight("Anything at all"), 16);
}

TEST(ToCharCodes, DecodesUtf8AndTurnsBrokenBytesIntoUndrawableCodes) {
    EXPECT_EQ(ToCharCodes("Az"), u"Az");
    EXPECT_EQ(ToCharCodes("\xC3\xA9\xE2\x82\xAC"), u"\u00E9\u20AC");
    EXPECT_EQ(ToCharCodes("a\xC3" "b\xFF\xE2\x82"), u"a\uFFFDb\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(ToCharCodes("\xF0\x9F\x90\xA6"), u"\uFFFD");   // beyond 16 bits
}

TEST(BuiltInFont, HasNinetySixGlyphsOfEightBySixteen) {
    StartDrawLayer();
    TImageFontPtr font = TImageFont::CreateDefault();
    ASSERT_EQ(font->CountGlyphs(), 96);
    EXPECT_EQ(font->CharToGlyph(127), 95);
    EXPECT_EQ(font->CharToGlyph(128), -1);
    auto glyph = font->LoadGlyph(font->CharToGlyph('A'));
    ASSERT_TRUE(glyph && glyph->image);
    EXPECT_EQ(glyph->advance, 8.0f);
    EXPECT_EQ(glyph->rect_h, 16);
    EXPECT_EQ(glyph->image->width, 8);
    EXPECT_EQ(glyph->image->flags, 0);
    EXPECT_FALSE(font->LoadGlyph(96));
}

TEST(DrawText, LeavesTheTopRowAndBottomThreeRowsEmpty) {
    if (!FontHasInk()) GTEST_SKIP() << "quorbfont.bin has no ink yet";
    ASSERT_TRUE(OpenTestGraphics());
    // Every glyph, 48 to a line.
    for (int first = 32, y = 100; first < 128; first += 48, y += 40) {
        std::string line;
        for (int c = first; c < first + 48; ++c) line.push_back(static_cast<char>(c));
        DrawText(line, 0, static_cast<float>(y));
        int width = TextWidth(line);
        EXPECT_EQ(width, 384);
        EXPECT_EQ(CountLitPixels(0, y, width, 1), 0) << first;
        EXPECT_EQ(CountLitPixels(0, y + 13, width, 3), 0) << first;
        EXPECT_GT(CountLitPixels(0, y + 1, width, 12), 0) << first;
        EXPECT_EQ(CountLitPixels(width, y, 640 - width, 16), 0) << first;
    }
}

TEST(DrawText, SolidBlendFillsEveryCellAtTheScaledSize) {
    ASSERT_TRUE(OpenTestGraphics());
    SetClsColor(0, 0, 255);
    Cls();
    SetBlend(BLEND_SOLID);
    SetScale(2, 2);
    DrawText("Hi!", 50, 60);
    // Three cells of 16 by 32 are drawn over the blue: ink white, the rest black.
    std::vector<uint32_t> pixels = ReadPixels(40, 50, 80, 60);
    int notBlue = 0;
    for (uint32_t p : pixels) notBlue += p != 0x0000FFu;
    EXPECT_EQ(notBlue, 3 * 16 * 32);
    EXPECT_NE(ReadPixel(50, 60), 0x0000FFu);
    EXPECT_NE(ReadPixel(97, 91), 0x0000FFu);
    EXPECT_EQ(ReadPixel(98, 91), 0x0000FFu);
    EXPECT_EQ(ReadPixel(97, 92), 0x0000FFu);
    EXPECT_EQ(TextWidth("Hi!"), 24);   // unscaled
}
