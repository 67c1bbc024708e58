// End to end: the scripted runner drives the real start-up and frame loop.
#include <gtest/gtest.h>

#include "draw2d/pixmap.h"
#include "platform/stream.h"
#include "runner/run_program.h"

namespace {

TPixmapPtr LoadShot(const std::string& path) {
    StartStreams();
    StartPixmapLoaders();
    return LoadPixmap(path);
}

}  // namespace

TEST(ScriptedRunner, FirstPassMakesTheMusicStepAndTheScreenDarkensTowardTheSky) {
    std::string dir = TempDir("first-pass");
    TProgramResult run = RunScript("--frames 600 --trace " + dir + "/t.jsonl --shot 600:" + dir + "/s.png");
    ASSERT_EQ(run.status, 0) << run.output;

    std::vector<std::string> lines = ReadLines(dir + "/t.jsonl");
    ASSERT_EQ(lines.size(), 600u);
    const std::string& first = lines.front();
    EXPECT_EQ(TraceValue(first, "frame"), 1);
    EXPECT_EQ(TraceValue(first, "hour"), 6);
    EXPECT_EQ(TraceValue(first, "minute"), 0);
    EXPECT_EQ(TraceValue(first, "clsr"), 100);
    EXPECT_EQ(TraceValue(first, "clsg"), 25);
    EXPECT_EQ(TraceValue(first, "clsb"), 5);
    EXPECT_EQ(TraceValue(first, "sunx"), 0.0);
    EXPECT_EQ(TraceValue(first, "soundtimer"), 0);
    EXPECT_EQ(TraceValue(first, "GAMESTATE"), 1);
    EXPECT_EQ(TraceValue(lines.back(), "frame"), 600);
    for (const char* field : {"rndState", "cloudList", "speckList", "waveList", "thingList", "featherList"}) {
        EXPECT_NO_THROW(TraceValue(first, field)) << field;
    }

    // The window was cleared once to (0, 128, 255); 600 fades later it has the dawn sky's colour.
    TPixmapPtr shot = LoadShot(dir + "/s.png");
    ASSERT_TRUE(shot);
    ASSERT_EQ(shot->width, 640);
    ASSERT_EQ(shot->height, 480);
    long blue = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) blue += shot->ReadPixel(x, y) & 0xff;
    EXPECT_LT(blue / (640 * 480), 128);
}
