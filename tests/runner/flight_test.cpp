// End to end: a whole flight played from a keys file (a tapped one: display/headless_test.cpp).
#include <gtest/gtest.h>

#include "runner/run_program.h"

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
