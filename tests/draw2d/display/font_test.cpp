// The built-in font: measuring, character codes and what drawn text looks like.
#include <gtest/gtest.h>

#include "draw2d/draw.h"
#include "draw2d/font.h"
#include "draw2d/graphics.h"
#include "draw2d/layer.h"
#include "draw2d/null_plane_driver.h"
#include "draw2d/state.h"
#include "support/gl_fixture.h"

TEST(BuiltInFont, MeasuresEightBySixteenPerDrawableCharacter) {
    StartDrawLayer(NullPlaneDriver());
    EXPECT_EQ(TextWidth("Score: "), 56);
    EXPECT_EQ(TextWidth(""), 0);
    EXPECT_EQ(TextWidth("caf\xC3\xA9"), 24);    // the accented letter has no glyph
    EXPECT_EQ(TextWidth("a\tb\x7F"), 24);        // tab is below 32; 127 is a glyph
    EXPECT_EQ(TextHeight(""), 16);
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

TEST(DrawText, LeavesTheTopRowAndBottomThreeRowsEmpty) {
    ASSERT_TRUE(OpenTestGraphics());
    // Every glyph, 48 to a line of 384 pixels.
    for (int first = 32, y = 100; first < 128; first += 48, y += 40) {
        std::string line;
        for (int c = first; c < first + 48; ++c) line.push_back(static_cast<char>(c));
        DrawText(line, 0, static_cast<float>(y));
        EXPECT_EQ(CountLitPixels(0, y, 384, 1), 0) << first;
        EXPECT_EQ(CountLitPixels(0, y + 13, 384, 3), 0) << first;
        EXPECT_GT(CountLitPixels(0, y + 1, 384, 12), 0) << first;
        EXPECT_EQ(CountLitPixels(384, y, 640 - 384, 16), 0) << first;
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
    auto notBlue = [](int x, int y, int w, int h) {
        int n = 0;
        for (uint32_t p : ReadPixels(x, y, w, h)) n += p != 0x0000FFu;
        return n;
    };
    EXPECT_EQ(notBlue(50, 60, 48, 32), 3 * 16 * 32);
    EXPECT_EQ(notBlue(0, 0, 640, 480), 3 * 16 * 32);
}

TEST(DrawText, EveryGlyphLooksExactlyLikeItsOwnImage) {
    ASSERT_TRUE(OpenTestGraphics());
    TImageFontPtr font = GetImageFont();
    ASSERT_TRUE(font);
    // Each glyph drawn by DrawText (from the font's atlas) at y 100, and its own image at y 200.
    for (int first = 32; first < 128; first += 48) {
        Cls();
        std::string line;
        for (int c = first; c < first + 48; ++c) {
            line.push_back(static_cast<char>(c));
            DrawImage(font->LoadGlyph(c - 32)->image, static_cast<float>((c - first) * 8), 200);
        }
        DrawText(line, 0, 100);
        EXPECT_EQ(ReadPixels(0, 100, 384, 16), ReadPixels(0, 200, 384, 16)) << "glyphs from " << first;
    }
}

namespace {

// The line drawn glyph by glyph as DrawImage draws each glyph's own image, the pen moved as
// DrawText moves it (advance 8 along the matrix).
void DrawGlyphByGlyph(const std::string& line, float x, float y) {
    TImageFontPtr font = GetImageFont();
    const TDrawState& s = CurrentDrawState();
    for (char c : line) {
        DrawImage(font->LoadGlyph(c - 32)->image, x, y);
        x = static_cast<float>(x + 8.0 * s.tform_ix);
        y = static_cast<float>(y + 8.0 * s.tform_jx);
    }
}

}  // namespace

TEST(DrawText, AtFractionalPositionsScalesAndTurnsLooksLikeTheGlyphImages) {
    // Cells sampled off their texel centres (the pen between pixels, scaled or turned text)
    // must show just the glyph's own pixels, never ink of the glyph beside it.
    struct TCase {
        float dx, dy, scale, rotation;
    };
    const TCase cases[] = {{0.5f, 0.5f, 1, 0}, {0.5f, 0, 1, 0},      {0, 0.25f, 1, 0}, {0.75f, 0.5f, 1, 0},
                           {0, 0, 0.7f, 0},    {0.5f, 0.5f, 0.7f, 0}, {0, 0, 1.3f, 0}, {0, 0, 2, 0},
                           {0, 0, 1, 90},      {0.5f, 0.5f, 1, 33},   {0, 0, 1, 0}};
    for (const TCase& k : cases) {
        for (int first = 32; first < 128; first += 24) {
            ASSERT_TRUE(OpenTestGraphics());
            SetTransform(k.rotation, k.scale, k.scale);
            std::string line;
            for (int c = first; c < first + 24; ++c) line.push_back(static_cast<char>(c));
            const float x = 200 + k.dx, y = 100 + k.dy;
            DrawText(line, x, y);
            std::vector<uint32_t> text = ReadPixels(0, 0, 640, 480);
            Cls();
            DrawGlyphByGlyph(line, x, y);
            std::vector<uint32_t> glyphs = ReadPixels(0, 0, 640, 480);
            int differing = 0;
            for (size_t i = 0; i < text.size(); ++i) differing += text[i] != glyphs[i];
            EXPECT_GT(CountLitPixels(0, 0, 640, 480), 0);
            EXPECT_EQ(differing, 0) << "pen +" << k.dx << ",+" << k.dy << " scale " << k.scale
                                    << " rotation " << k.rotation << ", glyphs from " << first;
        }
    }
}

namespace {

// The font's kept line of the text's glyphs; none when the font does not remember it.
const TKeptLine* KeptLine(const std::string& text) {
    TImageFontPtr font = GetImageFont();
    std::u16string glyphs;
    for (char c : text) glyphs.push_back(static_cast<char16_t>(c - 32));
    for (const TKeptLine& kept : font->keptLines)
        if (kept.glyphs == glyphs) return &kept;
    return nullptr;
}

}  // namespace

TEST(DrawText, ALineDrawnFrameAfterFrameBecomesOneImageWithTheSamePixelsInEveryBlend) {
    ASSERT_TRUE(OpenTestGraphics());
    const std::string line = " Stay on the blue sky road! {|}~  ";
    // Translucent ink over a picture with every pixel different: one sent pixel off, a cell
    // shifted, a glyph sampled from its neighbour or a blank texel left out where it paints
    // shows.
    auto drawOver = [&](int blend, auto draw) {
        SetBlend(BLEND_SOLID);
        for (int y = 0; y < 480; y += 4) {
            SetColor(y % 256, (y * 7) % 256, 255 - y % 256);
            DrawRect(0, static_cast<float>(y), 640, 4);
        }
        SetBlend(blend);
        SetColor(250, 180, 40);
        SetAlpha(0.3f);
        draw();
        SetAlpha(1.0f);
        return ReadPixels(0, 0, 640, 480);
    };
    for (int blend : {BLEND_ALPHA, BLEND_SOLID, BLEND_ADD, BLEND_MASK, BLEND_MULTIPLY}) {
        const std::vector<uint32_t> glyphs = drawOver(blend, [&] { DrawGlyphByGlyph(line, 101, 57); });
        for (int use = 1; use <= 20; ++use) {
            const std::vector<uint32_t> text = drawOver(blend, [&] { DrawText(line, 101, 57); });
            ASSERT_EQ(text, glyphs) << "blend " << blend << ", use " << use;
        }
    }
    const TKeptLine* kept = KeptLine(line);
    ASSERT_TRUE(kept);
    ASSERT_TRUE(kept->image);
    EXPECT_EQ(kept->image->width, 8 * static_cast<int>(line.size()));

    // A line of blanks paints its cells black where blank texels count, and nothing elsewhere.
    for (int use = 0; use < 20; ++use) {
        Cls();
        SetBlend(BLEND_ALPHA);
        DrawText("    ", 0, 0);
    }
    EXPECT_EQ(CountLitPixels(0, 0, 640, 480), 0);
    SetClsColor(0, 0, 255);
    Cls();
    SetBlend(BLEND_SOLID);
    DrawText("    ", 0, 0);
    EXPECT_EQ(ReadPixels(0, 0, 32, 16), std::vector<uint32_t>(32 * 16, 0));
    EXPECT_EQ(ReadPixels(32, 0, 1, 1), std::vector<uint32_t>{0x0000FFu});
}

TEST(DrawText, LinesDrawnOnlyAFewTimesEachStayGlyphsAndTheFontRemembersFewLines) {
    ASSERT_TRUE(OpenTestGraphics());
    // An outlined score that changes every frame: nine draws of each value.
    for (int score = 0; score < 100; ++score)
        for (int copy = 0; copy < 9; ++copy) DrawText("Score: " + std::to_string(score), 10, 10);
    TImageFontPtr font = GetImageFont();
    EXPECT_LE(font->keptLines.size(), 16u);
    for (const TKeptLine& kept : font->keptLines) EXPECT_FALSE(kept.image);
    ASSERT_TRUE(KeptLine("Score: 99"));
    EXPECT_FALSE(KeptLine("Score: 0"));   // the oldest were forgotten

    // A line kept as an image stays while it is used, however many others come and go.
    for (int frame = 0; frame < 40; ++frame) {
        DrawText("Press SPACE", 10, 40);
        DrawText("Score: " + std::to_string(1000 + frame), 10, 10);
    }
    ASSERT_TRUE(KeptLine("Press SPACE"));
    EXPECT_TRUE(KeptLine("Press SPACE")->image);
}
