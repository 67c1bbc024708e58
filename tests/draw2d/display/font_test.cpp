// What text drawn in the built-in font looks like.
#include <gtest/gtest.h>

#include <algorithm>

#include "draw2d/draw.h"
#include "draw2d/font.h"
#include "draw2d/state.h"
#include "support/gl_fixture.h"

TEST(DrawText, GlyphsInkRowsOneToTwelveOnlyAndSolidBlendFillsEveryCellAtTheScaledSize) {
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

    SetClsColor(0, 0, 255);
    Cls();
    SetBlend(BLEND_SOLID);
    SetScale(2, 2);
    DrawText("Hi!", 50, 60);
    // Three cells of 16 by 32 are drawn over the blue: ink white, the rest black.
    auto notBlue = [](int x, int y, int w, int h) {
        const std::vector<uint32_t> pixels = ReadPixels(x, y, w, h);
        return static_cast<int>(pixels.size() - std::count(pixels.begin(), pixels.end(), 0x0000FFu));
    };
    EXPECT_EQ(notBlue(50, 60, 48, 32), 3 * 16 * 32);
    EXPECT_EQ(notBlue(0, 0, 640, 480), 3 * 16 * 32);
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
            const std::vector<uint32_t> text = ReadPixels(0, 0, 640, 480);
            Cls();
            DrawGlyphByGlyph(line, x, y);
            EXPECT_GT(CountLitPixels(0, 0, 640, 480), 0);
            EXPECT_TRUE(ReadPixels(0, 0, 640, 480) == text) << "pen +" << k.dx << ",+" << k.dy << " scale " << k.scale
                                    << " rotation " << k.rotation << ", glyphs from " << first;
        }
    }
}

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
    const std::vector<TKeptLine>& kept = GetImageFont()->keptLines;   // the last draws were of its image
    EXPECT_TRUE(std::any_of(kept.begin(), kept.end(),
                            [&](const TKeptLine& k) { return k.image && k.image->width == 8 * int(line.size()); }));
}
