// Without a --shot the runner draws with the null plane driver and needs no display; the
// flight it traces and the sound it mixes are byte for byte those of the run drawn with OpenGL.
#include <gtest/gtest.h>

#include <algorithm>

#include "runner/run_program.h"

// Tapping both wings rhythmically climbs, earns score on the road and keeps life, the same
// with and without a display.
TEST(Headless, ATappedFlightClimbsScoresAndIsTheSameByteForByteWithoutADisplay) {
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

    const std::vector<std::string> trace = ReadLines(dir + "/drawn.jsonl");
    ASSERT_EQ(trace.size(), 3000u);
    const std::string& last = trace.back();
    EXPECT_EQ(TraceValue(last, "GAMESTATE"), 0) << "still flying";
    EXPECT_LT(TraceValue(last, "altitude"), 0.95) << "the ground is drawn smaller: the bird climbed";
    EXPECT_GE(TraceValue(last, "score"), 1000);
    EXPECT_GE(TraceValue(last, "life"), 90);
    double highest = 439;
    for (const std::string& line : trace) highest = std::min(highest, TraceValue(line, "centery"));
    EXPECT_LT(highest, 439) << "the strokes lift the body up the screen";
    EXPECT_EQ(last,   // as the game has always flown it (runner/flight_test.cpp)
        R"({"frame":3000,"oldtime":149983,"curtime":149983,"soundtimer":1933,"cloudcount":76,)"
        R"("centerx":97.6259766,"centery":439,"Leftwing":439,"leftcount":0,"rightwing":439,"rightcount":0,)"
        R"("targetcenter":438.369873,"targetleft":438.69928,"targetright":438.69928,"leftcountt":-0.599999964,)"
        R"("rightcountt":-0.599999964,"fatigue":13.5,"wind":-0.191000208,"targetwind":-0.190653682,)"
        R"("islex":405.72998,"isley":-331.488312,"altitude":0.849555433,"hour":6,"minute":10,"score":14580,)"
        R"("sunx":61.1391335,"suny":102.998352,"sunsize":50,"life":92,"thingelev":0.899999976,)"
        R"("curthingelev":0.890000105,"thingx":467,"curthingx":466.908966,"thingcount":95,"clsr":100,"clsg":25,)"
        R"("clsb":5,"curr":30.4506016,"curg":24.9904766,"curb":4.99001932,"GAMESTATE":0,"rndState":930505631,)"
        R"("cloudList":76,"speckList":101,"waveList":538,"thingList":12,"featherList":0})");

    EXPECT_TRUE(ReadFile(dir + "/drawn.jsonl") == ReadFile(dir + "/headless.jsonl")) << "the traces differ";
    EXPECT_TRUE(ReadFile(dir + "/drawn.wav") == ReadFile(dir + "/headless.wav")) << "the audio differs";
}
