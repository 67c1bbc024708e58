// Without a --shot the runner draws with the null plane driver and needs no display; the
// flight it traces and the sound it mixes are byte for byte those of the run drawn with OpenGL.
#include <gtest/gtest.h>

#include "runner/run_program.h"

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
