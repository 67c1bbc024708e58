// End to end: the scripted runner's pictures (the title screen's trace is pinned by
// runner/music_test.cpp).
#include <gtest/gtest.h>

#include "draw2d/pixmap.h"
#include "platform/stream.h"
#include "runner/run_program.h"

// The window was cleared once to (0, 128, 255); 600 fades later it has the dawn sky's warm
// colour, red well above blue.
TEST(ScriptedRunner, ThePictureOfPass600HasTheDawnSkysColour) {
    std::string dir = TempDir("first-pass");
    TProgramResult run = RunScript("--frames 600 --shot 600:" + dir + "/s.png");
    ASSERT_EQ(run.status, 0) << run.output;
    StartStreams();
    StartPixmapLoaders();
    TPixmapPtr shot = LoadPixmap(dir + "/s.png");
    ASSERT_TRUE(shot);
    ASSERT_EQ(shot->width * 1000 + shot->height, 640480);
    long red = 0, blue = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            red += (shot->ReadPixel(x, y) >> 16) & 0xff;
            blue += shot->ReadPixel(x, y) & 0xff;
        }
    EXPECT_LT(blue / (640 * 480), 128);
    EXPECT_GT(red, 2 * blue);
}
