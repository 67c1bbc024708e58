// End to end: the mixed output of a scripted run follows the music steps of its trace.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "runner/run_program.h"

namespace {

// Root mean square of the stereo frames [from, to) of a 44100 Hz 16-bit stereo WAV's data.
double Rms(const std::string& wav, long from, long to) {
    double sum = 0;
    for (long f = from; f < to; ++f) {
        for (int c = 0; c < 2; ++c) {
            int16_t s;
            std::memcpy(&s, wav.data() + 44 + (f * 2 + c) * 2, 2);
            sum += double(s) * s;
        }
    }
    return std::sqrt(sum / (2.0 * (to - from)));
}

}  // namespace

TEST(Music, EachMusicStepOfTheTraceStartsTheLoops20MillisecondsIntoItsPass) {
    std::string dir = TempDir("music");
    TProgramResult run = RunScript("--frames 2000 --trace " + dir + "/t.jsonl --audio " + dir + "/a.wav");
    ASSERT_EQ(run.status, 0) << run.output;
    std::vector<std::string> trace = ReadLines(dir + "/t.jsonl");
    std::string wav = ReadFile(dir + "/a.wav");
    ASSERT_EQ(wav.size(), 44u + 2000u * 735u * 4u);
    EXPECT_EQ(wav.substr(0, 4) + wav.substr(8, 8) + wav.substr(36, 4), "RIFFWAVEfmt data");
    uint32_t riffSize, dataSize;   // what follows the RIFF header, and the samples' bytes
    std::memcpy(&riffSize, wav.data() + 4, 4);
    std::memcpy(&dataSize, wav.data() + 40, 4);
    EXPECT_EQ(riffSize, wav.size() - 8);
    EXPECT_EQ(dataSize, wav.size() - 44);

    std::vector<long> steps;
    for (const std::string& line : trace) {
        if (TraceValue(line, "soundtimer") == 0) steps.push_back(static_cast<long>(TraceValue(line, "frame")));
    }
    // The first pass steps at once; then a step comes in the pass whose clock is more than
    // 16000 ms past the last one: (962 - 1) * 1000 / 60 = 16016.
    EXPECT_EQ(steps, (std::vector<long>{1, 962, 1923}));
    EXPECT_EQ(trace.back(),   // the title screen as the game has always run it (flight_test.cpp)
        R"({"frame":2000,"oldtime":133316,"curtime":133316,"soundtimer":1283,"cloudcount":69,"centerx":65,)"
        R"("centery":439,"Leftwing":439,"leftcount":0,"rightwing":439,"rightcount":0,"targetcenter":438.975586,)"
        R"("targetleft":438.69928,"targetright":438.69928,"leftcountt":0,"rightcountt":0,"fatigue":0,)"
        R"("wind":-0.320999414,"targetwind":-0.320655704,"islex":532.905334,"isley":32.7925339,"altitude":1,)"
        R"("hour":7,"minute":0,"score":0,"sunx":59.9691811,"suny":101.998901,"sunsize":50,"life":100,)"
        R"("thingelev":1,"curthingelev":0.930000067,"thingx":239,"curthingx":320,"thingcount":0,"clsr":32,)"
        R"("clsg":125,"clsb":222,"curr":92.1991653,"curg":32.7000732,"curb":12.8000126,"GAMESTATE":1,)"
        R"("rndState":700277304,"cloudList":69,"speckList":127,"waveList":549,"thingList":20,"featherList":0})");

    // The player's keys are the game's own, not the runner's: P pauses nothing here, and the
    // sound keys never change a capture (they set only what a device plays).
    WriteFile(dir + "/keys.txt", "300 down 80\n301 up 80\n400 down 120\n900 down 119\n1500 down 121\n");
    run = RunScript("--frames 2000 --keys " + dir + "/keys.txt --trace " + dir + "/k.jsonl --audio " + dir + "/k.wav");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(ReadFile(dir + "/k.wav") == wav);
    EXPECT_EQ(ReadFile(dir + "/k.jsonl"), ReadFile(dir + "/t.jsonl"));

    long clipped = 0;
    for (size_t i = 44; i + 1 < wav.size(); i += 2) {
        int16_t s;
        std::memcpy(&s, wav.data() + i, 2);
        clipped += (s == 32767 || s == -32768);
    }
    EXPECT_EQ(clipped, 0);

    for (long step : steps) {
        // The loops are started in pass `step` and sound 20 ms (882 frames) after its block starts.
        long onset = (step - 1) * 735 + 882;
        EXPECT_LT(Rms(wav, onset - 300, onset), 2.0) << "silence before the step at pass " << step;
        EXPECT_GT(Rms(wav, onset, onset + 22050), 100.0) << "music after the step at pass " << step;
    }
}
