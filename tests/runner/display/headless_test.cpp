// Without a --shot the runner draws with the null plane driver and needs no display; the
// flight it traces and the sound it mixes are byte for byte those of the run drawn with OpenGL.
#include <gtest/gtest.h>

#include "runner/run_program.h"

namespace {

// Space to start, then both wings tapped for 6 frames in every 40: a climbing, scoring flight.
std::string RhythmicTapping(int frames) {
    std::string keys = "5 down 32\n6 up 32\n";
    for (int f = 20; f < frames; f += 40) {
        for (const char* code : {"90", "39"}) keys += std::to_string(f) + " down " + code + "\n";
        for (const char* code : {"90", "39"}) keys += std::to_string(f + 6) + " up " + code + "\n";
    }
    return keys;
}

}  // namespace

TEST(Headless, AFlightTracedWithoutDisplayIsByteIdenticalToTheOneDrawnWithOpenGL) {
    std::string dir = TempDir("headless");
    WriteFile(dir + "/keys.txt", RhythmicTapping(3000));
    const std::string flight = "--frames 3000 --keys " + dir + "/keys.txt";

    TProgramResult drawn = RunScript(flight + " --trace " + dir + "/drawn.jsonl --audio " + dir +
                                     "/drawn.wav --shot 3000:" + dir + "/last.png");
    ASSERT_EQ(drawn.status, 0) << drawn.output;
    TProgramResult headless = RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy "
                                         KESTRAVA_BINARY_DIR "/kestrava-script " + flight + " --trace " +
                                         dir + "/headless.jsonl --audio " + dir + "/headless.wav");
    ASSERT_EQ(headless.status, 0) << headless.output;

    const std::string drawnTrace = ReadFile(dir + "/drawn.jsonl");
    ASSERT_EQ(ReadLines(dir + "/drawn.jsonl").size(), 3000u);
    EXPECT_GT(TraceValue(ReadLines(dir + "/drawn.jsonl").back(), "score"), 0) << "the flight scored";
    EXPECT_TRUE(drawnTrace == ReadFile(dir + "/headless.jsonl")) << "the traces differ";
    EXPECT_TRUE(ReadFile(dir + "/drawn.wav") == ReadFile(dir + "/headless.wav")) << "the audio differs";
}
