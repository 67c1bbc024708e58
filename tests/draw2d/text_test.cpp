// The built-in font with no display: measuring, character codes and which lines it keeps.
#include <gtest/gtest.h>

#include "draw2d/draw.h"
#include "draw2d/font.h"
#include "draw2d/graphics.h"
#include "draw2d/layer.h"
#include "draw2d/null_plane_driver.h"

TEST(BuiltInFont, MeasuresEightBySixteenPerDrawableCharacter) {
    StartDrawLayer(NullPlaneDriver());
    EXPECT_EQ(TextWidth("Score: "), 56);
    EXPECT_EQ(TextWidth("caf\xC3\xA9"), 24);    // the accented letter has no glyph
    EXPECT_EQ(TextWidth("a\tb\x7F"), 24);        // tab is below 32; 127 is a glyph
    EXPECT_EQ(TextHeight("Anything at all"), 16);
    TImageFontPtr font = TImageFont::CreateDefault();
    EXPECT_EQ(font->CountGlyphs(), 96);
    EXPECT_EQ(font->CharToGlyph(128), -1);
    EXPECT_FALSE(font->LoadGlyph(96));
}

TEST(ToCharCodes, DecodesUtf8AndTurnsBrokenBytesIntoUndrawableCodes) {
    EXPECT_EQ(ToCharCodes("Az"), u"Az");
    EXPECT_EQ(ToCharCodes("\xC3\xA9\xE2\x82\xAC"), u"\u00E9\u20AC");
    EXPECT_EQ(ToCharCodes("a\xC3" "b\xFF\xE2\x82"), u"a\uFFFDb\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(ToCharCodes("\xF0\x9F\x90\xA6"), u"\uFFFD");   // beyond 16 bits
}

namespace {

// The font's kept line of the text's glyphs; none when the font does not remember it.
const TKeptLine* KeptLine(const std::string& text) {
    std::u16string glyphs;
    for (char c : text) glyphs.push_back(static_cast<char16_t>(c - 32));
    for (const TKeptLine& kept : GetImageFont()->keptLines)
        if (kept.glyphs == glyphs) return &kept;
    return nullptr;
}

}  // namespace

TEST(KeptLines, LinesDrawnOnlyAFewTimesEachStayGlyphsAndTheFontRemembersFewLines) {
    StartDrawLayer(NullPlaneDriver());
    ASSERT_TRUE(Graphics(640, 480, 0, 0, 0));
    // An outlined score that changes every frame: nine draws of each value.
    for (int score = 0; score < 100; ++score)
        for (int copy = 0; copy < 9; ++copy) DrawText("Score: " + std::to_string(score), 10, 10);
    EXPECT_LE(GetImageFont()->keptLines.size(), 16u);
    for (const TKeptLine& kept : GetImageFont()->keptLines) EXPECT_FALSE(kept.image);
    ASSERT_TRUE(KeptLine("Score: 99"));
    EXPECT_FALSE(KeptLine("Score: 0"));   // the oldest were forgotten

    // A line kept as an image stays while it is used, however many others come and go.
    for (int frame = 0; frame < 40; ++frame) {
        DrawText("Press SPACE", 10, 40);
        DrawText("Score: " + std::to_string(1000 + frame), 10, 10);
    }
    ASSERT_TRUE(KeptLine("Press SPACE"));
    EXPECT_TRUE(KeptLine("Press SPACE")->image);
    EndGraphics();
}
