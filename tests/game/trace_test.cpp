// The trace's floats read back to the very values the game held, so two traces that agree
// byte for byte ran the same game.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "game/globals.h"
#include "game/trace.h"
#include "support/temp_dir.h"

TEST(Trace, EveryFloatReadsBackToTheValueTheGameHeld) {
    TTempDir temp;
    const std::string path = temp.Path() + "/t.jsonl";
    TTraceFile trace;
    std::string error;
    ASSERT_TRUE(trace.Open(path, &error)) << error;
    const float heldBefore = game.centerx;
    std::vector<float> values;   // neighbouring floats, which only the last digits tell apart
    for (float v = 1000.0f; values.size() < 200; v = std::nextafter(v, 1024.0f)) values.push_back(v);
    for (size_t i = 0; i < values.size(); ++i) {
        game.centerx = values[i];
        trace.Write(static_cast<int>(i));
    }
    game.centerx = heldBefore;
    ASSERT_TRUE(trace.Close(&error)) << error;
    std::ifstream in(path);
    std::string line;
    for (float v : values) {
        ASSERT_TRUE(std::getline(in, line));
        const size_t at = line.find("\"centerx\":");
        ASSERT_NE(at, std::string::npos) << line;
        EXPECT_EQ(std::strtof(line.c_str() + at + 10, nullptr), v) << line.substr(at, 24);
    }
}
