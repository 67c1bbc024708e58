// End to end: whole flights played from a keys file.
#include <gtest/gtest.h>

#include "runner/run_program.h"

TEST(Flight, TappingBothWingsRhythmicallyClimbsEarnsScoreOnTheRoadAndKeepsLife) {
    std::string dir = TempDir("tapping");
    WriteFile(dir + "/keys.txt", RhythmicTapping(3000));
    TProgramResult run = RunScript("--frames 3000 --keys " + dir + "/keys.txt --trace " + dir + "/t.jsonl");
    ASSERT_EQ(run.status, 0) << run.output;
    std::vector<std::string> trace = ReadLines(dir + "/t.jsonl");
    ASSERT_EQ(trace.size(), 3000u);

    const std::string& last = trace.back();
    EXPECT_EQ(TraceValue(last, "GAMESTATE"), 0) << "still flying";
    EXPECT_LT(TraceValue(last, "altitude"), 0.95) << "the ground is drawn smaller: the bird climbed";
    EXPECT_GE(TraceValue(last, "score"), 1000);
    EXPECT_GE(TraceValue(last, "life"), 90);
    double highest = 439;
    for (const std::string& line : trace) highest = std::min(highest, TraceValue(line, "centery"));
    EXPECT_LT(highest, 439) << "the strokes lift the body up the screen";
}

TEST(Flight, AFlightWithNoKeysLosesLifeAndReturnsToTheTitleScreen) {
    std::string dir = TempDir("idle");
    WriteFile(dir + "/keys.txt", "5 down 32\n6 up 32\n");
    TProgramResult run = RunScript("--frames 11500 --keys " + dir + "/keys.txt --trace " + dir + "/t.jsonl");
    ASSERT_EQ(run.status, 0) << run.output;
    std::vector<std::string> trace = ReadLines(dir + "/t.jsonl");
    ASSERT_EQ(trace.size(), 11500u);

    int over = 0;
    double life = 100;
    for (const std::string& line : trace) {
        double now = TraceValue(line, "life");
        if (TraceValue(line, "frame") > 5) { EXPECT_LE(now, life) << line; }
        life = now;
        if (TraceValue(line, "frame") > 5 && TraceValue(line, "GAMESTATE") == 1) {
            over = static_cast<int>(TraceValue(line, "frame"));
            break;
        }
    }
    ASSERT_GT(over, 0) << "the game never ended";
    EXPECT_LT(life, 0);
    EXPECT_EQ(TraceValue(trace[over - 1], "score"), 0) << "no road point was flown over";
    EXPECT_EQ(TraceValue(trace.back(), "GAMESTATE"), 1) << "the title screen stays";
    EXPECT_EQ(TraceValue(trace.back(), "life"), life) << "life keeps its final value on the title screen";
}
