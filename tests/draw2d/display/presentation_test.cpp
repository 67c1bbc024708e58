// How a window shows its 640x480 frame: scaled by a whole factor into a larger window, centred
// between black bars in a resized one, crisp or smooth, not at all while minimised; and the
// frame itself (what ReadFramePixels and the runner's screenshots read) the same whatever the
// window. What the window shows is read back from the window's buffer just before the swap.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "draw2d/draw.h"
#include "draw2d/font.h"
#include "draw2d/gl/gl_graphics.h"
#include "draw2d/gl/gl_plane_driver.h"
#include "draw2d/graphics.h"
#include "draw2d/layer.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_platform.h"
#include "support/fake_platform.h"

namespace {

using TPixels = std::vector<uint32_t>;   // 0xRRGGBB, row by row from the top

TPixels ToPixels(const std::vector<uint8_t>& rgba) {
    TPixels out;
    for (size_t i = 0; i < rgba.size(); i += 4)
        out.push_back((uint32_t{rgba[i]} << 16) | (uint32_t{rgba[i + 1]} << 8) | rgba[i + 2]);
    return out;
}

// The whole 640x480 frame.
TPixels Frame() {
    std::vector<uint8_t> rgba(640 * 480 * 4);
    if (!ReadFramePixels(0, 0, 640, 480, rgba.data())) return {};
    return ToPixels(rgba);
}

// The window's whole drawable as the last flip showed it; its size in *width, *height.
TPixels Shown(int* width, int* height) {
    if (!GLGraphicsDriver()->DrawableSize(width, height)) return {};
    std::vector<uint8_t> rgba(static_cast<size_t>(*width) * *height * 4);
    if (!GLGraphicsDriver()->ReadWindowPixels(0, 0, *width, *height, rgba.data())) return {};
    return ToPixels(rgba);
}

// Opens the main graphics on the SDL platform, presented as asked.
bool Open(const TPresentation& presentation, const char* title) {
    InstallPlatform(SDLPlatform());
    StartDrawLayer(GLPlaneDriver());
    SetPresentation(presentation);
    GLGraphicsDriver()->KeepPresentedPictures(true);
    AppTitle = title;
    return Graphics(640, 480, 0, 60, 0) != nullptr;
}

// A frame with detail down to single pixels: a backdrop, shapes, text and a scatter of points
// of different colours at odd and even places.
void DrawPattern() {
    SetDrawingDefaults();
    SetClsColor(20, 40, 60);
    Cls();
    SetColor(250, 200, 10);
    DrawRect(11, 7, 101, 53);
    SetColor(10, 220, 90);
    DrawOval(300, 100, 121, 77);
    SetColor(255, 255, 255);
    DrawText("Kestrava 0123", 200, 300);
    for (int i = 0; i < 300; ++i) {
        SetColor(i % 256, 255 - i % 256, (i * 7) % 256);
        Plot(static_cast<float>(3 + i * 2 + i % 3), static_cast<float>(400 + i % 37));
    }
    DrawLine(0, 479, 639, 0);
}

// Pixels of the shown drawable inside the rectangle that differ from the frame scaled by
// factor, plus pixels outside it that are not black.
int Mismatches(const TPixels& shown, int width, int height, const TPixels& frame, const TPresentRect& to,
               int factor) {
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t got = shown[static_cast<size_t>(y) * width + x];
            bool inside = x >= to.x && x < to.x + to.width && y >= to.y && y < to.y + to.height;
            uint32_t want = inside ? frame[static_cast<size_t>((y - to.y) / factor) * 640 + (x - to.x) / factor] : 0;
            wrong += got != want;
        }
    }
    return wrong;
}

// Resizes the window from outside, as a player would, and waits until SDL has taken it in.
// xdotool's search fails outright when another program's window goes away while it looks
// through them (the display is shared with the tests running beside this one), so it has a
// few tries.
bool ResizeWindow(const char* title, int width, int height) {
    std::string command = "xdotool search --name '^" + std::string(title) + "$' windowsize %1 " +
                          std::to_string(width) + " " + std::to_string(height) + " >/dev/null 2>&1";
    bool asked = false;
    for (int attempt = 0; attempt < 5 && !asked; ++attempt) {
        asked = std::system(command.c_str()) == 0;
        if (!asked) Delay(50);
    }
    if (!asked) return false;
    for (int i = 0; i < 500; ++i) {
        PollSystem();
        int w = 0, h = 0;
        if (GLGraphicsDriver()->DrawableSize(&w, &h) && w == width && h == height) return true;
        Delay(10);
    }
    return false;
}

// Opens the main graphics as Open does, then again with the SDL platform's window part
// replaced by `window`.
bool OpenThrough(TFakeWindow& window, const char* title) {
    if (!Open(TPresentation{}, title)) return false;
    EndGraphics();
    InstallPlatform({SDLSystemDriver(), &window, nullptr});
    StartDrawLayer(GLPlaneDriver());
    return Graphics(640, 480, 0, 60, 0) != nullptr;
}

}  // namespace

TEST(FitFrame, WholeFactorsWhenTheyFitAspectKeptBelowThemNothingWhenMinimised) {
    auto fit = [](int w, int h) {
        TPresentRect r = FitFrame(640, 480, w, h);
        return std::vector<int>{r.x, r.y, r.width, r.height};
    };
    EXPECT_EQ(fit(640, 480), (std::vector<int>{0, 0, 640, 480}));
    EXPECT_EQ(fit(1280, 960), (std::vector<int>{0, 0, 1280, 960}));      // --scale 2, or a 2x screen
    EXPECT_EQ(fit(1920, 1080), (std::vector<int>{320, 60, 1280, 960}));  // full HD: 2x, bars all round
    EXPECT_EQ(fit(1279, 2000), (std::vector<int>{319, 760, 640, 480}));  // one pixel short of 2x
    EXPECT_EQ(fit(2560, 1440), (std::vector<int>{320, 0, 1920, 1440}));  // 3x, bars at the sides
    EXPECT_EQ(fit(400, 400), (std::vector<int>{0, 50, 400, 300}));       // smaller: the width decides
    EXPECT_EQ(fit(600, 200), (std::vector<int>{167, 0, 266, 200}));      // smaller: the height decides
    EXPECT_EQ(fit(0, 0), (std::vector<int>{0, 0, 0, 0}));                // minimised
    EXPECT_EQ(fit(640, 0), (std::vector<int>{0, 0, 0, 0}));
    // The window --scale opens on a desktop: the most of the scale that fits, else scaled down.
    auto window = [](int scale, int w, int h) {
        TPresentRect r = FitWindow(640, 480, scale, w, h);
        return std::vector<int>{r.width, r.height};
    };
    EXPECT_EQ(window(8, 1280, 1024), (std::vector<int>{1280, 960}));
    EXPECT_EQ(window(2, 1024, 768), (std::vector<int>{640, 480}));
    EXPECT_EQ(window(1, 320, 240), (std::vector<int>{320, 240}));
    EXPECT_EQ(window(3, 0, 0), (std::vector<int>{1920, 1440}));        // desktop unknown
}

TEST(Presentation, ScaleTwoShowsEachFramePixelAsATwoByTwoBlockAndTheFrameStaysAsAtScaleOne) {
    TPresentation twice;
    twice.scale = 2;
    ASSERT_TRUE(Open(twice, "Presentation scale")) << GraphicsError();
    EXPECT_EQ(GraphicsWidth(), 640);
    EXPECT_EQ(GraphicsHeight(), 480);
    DrawPattern();
    Flip(0);
    const TPixels scaledFrame = Frame();
    int width = 0, height = 0;
    const TPixels shown = Shown(&width, &height);
    ASSERT_EQ(width, 1280);
    ASSERT_EQ(height, 960);
    ASSERT_EQ(scaledFrame.size(), 640u * 480u);
    EXPECT_EQ(Mismatches(shown, width, height, scaledFrame, {0, 0, 1280, 960}, 2), 0);

    EndGraphics();
    ASSERT_TRUE(Open(TPresentation{}, "Presentation plain")) << GraphicsError();
    DrawPattern();
    Flip(0);
    EXPECT_TRUE(Frame() == scaledFrame) << "the frame depends on the window's scale";
    const TPixels plain = Shown(&width, &height);
    ASSERT_EQ(width, 640);
    ASSERT_EQ(height, 480);
    EXPECT_EQ(Mismatches(plain, width, height, scaledFrame, {0, 0, 640, 480}, 1), 0);
    EndGraphics();
}

TEST(Presentation, SmoothScalingBlendsAcrossEdgesThatCrispScalingKeepsSharp) {
    auto edgeShades = [](bool smooth) {
        TPresentation p;
        p.scale = 2;
        p.smooth = smooth;
        EXPECT_TRUE(Open(p, "Presentation smooth")) << GraphicsError();
        SetDrawingDefaults();
        SetClsColor(0, 0, 0);
        Cls();
        SetColor(255, 255, 255);
        DrawRect(320, 0, 320, 480);   // black left half, white right half
        Flip(0);
        std::vector<uint8_t> row(40 * 4);
        EXPECT_TRUE(GLGraphicsDriver()->ReadWindowPixels(620, 480, 40, 1, row.data()));
        int between = 0;
        for (size_t i = 0; i < row.size(); i += 4) between += row[i] != 0 && row[i] != 255;
        EndGraphics();
        return between;
    };
    EXPECT_EQ(edgeShades(false), 0);
    EXPECT_GT(edgeShades(true), 0);
}

TEST(Presentation, AResizedWindowShowsTheFrameByTheLargestWholeFactorBetweenBlackBars) {
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
    TPresentation resizable;
    resizable.resizable = true;
    const char* title = "Presentation resize";
    ASSERT_TRUE(Open(resizable, title)) << GraphicsError();
    DrawPattern();
    Flip(0);   // the window has shown a frame before the player takes its corner
    const TPixels frame = Frame();
    struct TCase {
        int width, height;
    };
    // 2x with bars all round, 1x with bars all round, filled, and wider than 3x is tall: 2x.
    for (const TCase& c : {TCase{1500, 1000}, TCase{1000, 1000}, TCase{1280, 960}, TCase{1940, 1000}}) {
        ASSERT_TRUE(ResizeWindow(title, c.width, c.height)) << c.width << "x" << c.height;
        Flip(0);
        int width = 0, height = 0;
        const TPixels shown = Shown(&width, &height);
        ASSERT_EQ(shown.size(), static_cast<size_t>(c.width) * c.height);
        const TPresentRect to = FitFrame(640, 480, c.width, c.height);
        EXPECT_EQ(Mismatches(shown, width, height, frame, to, to.width / 640), 0) << c.width << "x" << c.height;
        EXPECT_TRUE(Frame() == frame) << "presenting changed the frame";
    }
    // Smaller than the frame: the whole frame, shrunk with its aspect kept, centred.
    ASSERT_TRUE(ResizeWindow(title, 400, 400));
    Flip(0);
    int width = 0, height = 0;
    const TPixels shown = Shown(&width, &height);
    ASSERT_EQ(shown.size(), 400u * 400u);
    int barsLit = 0, backdrop = 0;
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 400; ++x) {
            uint32_t p = shown[static_cast<size_t>(y) * 400 + x];
            if (y < 50 || y >= 350) barsLit += p != 0;
            else backdrop += p == 0x14283C;
        }
    }
    EXPECT_EQ(barsLit, 0);
    EXPECT_GT(backdrop, 400 * 300 / 2);
    // The black bars leave the game's clear colour alone.
    Cls();
    EXPECT_EQ(Frame()[0], 0x14283Cu);
    EndGraphics();
}

// A paced flip draws the frame into the window before the pacer's wait and swaps after it.
TEST(Presentation, EachFrameIsShownOnceLeavingTheDrawingStateAndAMinimisedWindowIsSkipped) {
    TFakeWindow window(SDLWindowDriver());
    ASSERT_TRUE(OpenThrough(window, "Presentation paced")) << GraphicsError();
    DrawPattern();
    Flip(0);
    const TPixels pattern = Frame();
    for (int frame = 0; frame < 2; ++frame) {
        window.swaps = 0;
        // A viewport, a blend and a colour the frame set, which showing it must not disturb.
        SetViewport(100, 100, 200, 150);
        SetBlend(BLEND_ALPHA);
        SetColor(200, 0, 0);
        SetAlpha(0.5f);
        DrawRect(0, 0, 640, 480);
        Flip(-1);
        EXPECT_EQ(window.swaps, 1);
        int width = 0, height = 0;
        const TPixels shown = Shown(&width, &height);
        EXPECT_EQ(Mismatches(shown, width, height, Frame(), {0, 0, 640, 480}, 1), 0) << frame;
        int x, y, w, h;
        GetViewport(&x, &y, &w, &h);
        EXPECT_EQ(std::vector<int>({x, y, w, h}), std::vector<int>({100, 100, 200, 150}));
        SetDrawingDefaults();   // so the pattern drawn again is the same pattern
        DrawPattern();
        Flip(0);
        EXPECT_TRUE(Frame() == pattern) << "showing a frame changed how the next one is drawn";
    }
    // Minimised: nothing is drawn into the window or swapped, and the game goes on.
    window.minimised = true;
    window.swaps = 0;
    for (int frame = 0; frame < 5; ++frame) {
        DrawRect(0, 0, 10, 10);
        Flip(0);
    }
    EXPECT_EQ(window.swaps, 0);
    DrawPattern();
    window.minimised = false;
    Flip(0);
    EXPECT_EQ(window.swaps, 1);
    int width = 0, height = 0;
    const TPixels shown = Shown(&width, &height);
    EXPECT_EQ(Mismatches(shown, width, height, pattern, {0, 0, 640, 480}, 1), 0);
    EndGraphics();
    InstallPlatform(SDLPlatform());
}
