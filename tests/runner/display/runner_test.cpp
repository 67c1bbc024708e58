// End to end: the scripted runner drives the real start-up and frame loop.
#include <gtest/gtest.h>

#include <cstdlib>

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

TEST(ScriptedRunner, TheSameKeysGiveByteIdenticalTraces) {
    std::string dir = TempDir("replay");
    std::string keys = "# start, then tap both wings\n5 down 32\n6 up 32\n";
    for (int f = 20; f < 400; f += 12) {
        keys += std::to_string(f) + " down 90\n" + std::to_string(f) + " down 39\n";
        keys += std::to_string(f + 5) + " up 90\n" + std::to_string(f + 5) + " up 39\n";
    }
    WriteFile(dir + "/keys.txt", keys);
    for (const char* name : {"a", "b"}) {
        TProgramResult run =
            RunScript("--frames 400 --keys " + dir + "/keys.txt --trace " + dir + "/" + name + ".jsonl");
        ASSERT_EQ(run.status, 0) << run.output;
    }
    std::string a = ReadFile(dir + "/a.jsonl");
    EXPECT_EQ(ReadLines(dir + "/a.jsonl").size(), 400u);
    EXPECT_EQ(a, ReadFile(dir + "/b.jsonl"));
}

TEST(ScriptedRunner, EscapeOrAQuitRequestEndsTheRunWithStatusZero) {
    std::string dir = TempDir("quit");
    WriteFile(dir + "/escape.txt", "3 down 27\n");
    TProgramResult run = RunScript("--frames 50 --keys " + dir + "/escape.txt --trace " + dir + "/e.jsonl");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(ReadLines(dir + "/e.jsonl").size(), 2u);

    WriteFile(dir + "/quit.txt", "4 quit\n");
    run = RunScript("--frames 50 --keys " + dir + "/quit.txt --trace " + dir + "/q.jsonl");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(ReadLines(dir + "/q.jsonl").size(), 3u);
}

TEST(ScriptedRunner, MistakesOnTheCommandLineOrInTheKeysFileAreRefused) {
    std::string dir = TempDir("mistakes");
    for (const char* args : {"--frames 0", "--frames ten", "--shot 5", "--shot x:y.png", "--bogus", "--trace"}) {
        TProgramResult run = RunScript(args);
        EXPECT_EQ(run.status, 2) << args << "\n" << run.output;
        EXPECT_NE(run.output.find("kestrava-script:"), std::string::npos) << run.output;
    }
    WriteFile(dir + "/bad.txt", "1 down 32\n2 sideways 32\n");
    TProgramResult run = RunScript("--frames 5 --keys " + dir + "/bad.txt");
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_NE(run.output.find("2"), std::string::npos) << "names the line: " << run.output;
}

TEST(ScriptedRunner, AudioIsMixedInStepWithTheVirtualClock) {
    std::string dir = TempDir("audio");
    TProgramResult run = RunScript("--frames 120 --audio " + dir + "/a.wav");
    ASSERT_EQ(run.status, 0) << run.output;
    std::string wav = ReadFile(dir + "/a.wav");
    ASSERT_EQ(wav.size(), 44u + 120u * 735u * 4u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(wav.substr(36, 4), "data");
}

TEST(Game, WithoutADisplayTheGameEndsWithOneClearMessage) {
    TProgramResult run = RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "
                                    KESTRAVA_BINARY_DIR "/kestrava");
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.output.rfind("kestrava: ", 0), 0u) << run.output;
    EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << "one line: " << run.output;
}
