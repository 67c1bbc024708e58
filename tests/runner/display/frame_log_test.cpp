// The game's frame log: one line per frame shown, its time in microseconds.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "runner/run_program.h"
#include "support/temp_dir.h"

TEST(FrameLog, OneRisingMicrosecondTimeALineForEveryFrameShown) {
    if (RunCommand("command -v Xvfb && command -v xauth").status != 0) GTEST_SKIP() << "Xvfb or xauth is not installed";
    TTempDir temp;
    ASSERT_FALSE(temp.Path().empty());
    const std::string dir = temp.Path();
    const std::string log = dir + "/frames.txt";
    // The game is asked to quit (as the window manager would) once it has shown 40 frames.
    WriteFile(dir + "/run.sh",
              "SDL_AUDIODRIVER=dummy " KESTRAVA_BINARY_DIR "/kestrava --frame-log " + log + " & pid=$!\n"
              "for i in $(seq 1 300); do\n"
              "  [ -f " + log + " ] && [ $(wc -l < " + log + ") -ge 40 ] && break; sleep 0.1\n"
              "done\n"
              "kill -TERM $pid; wait $pid; echo \"status $?\"\n");
    TProgramResult run = RunCommand(KESTRAVA_SOURCE_DIR "/tools/with-display.sh bash " + dir + "/run.sh");
    EXPECT_NE(run.output.find("status 0"), std::string::npos) << run.output;
    std::vector<std::string> lines = ReadLines(log);
    ASSERT_GE(lines.size(), 40u) << run.output;
    long long previous = 0;
    for (const std::string& line : lines) {
        ASSERT_FALSE(line.empty());
        ASSERT_EQ(line.find_first_not_of("0123456789"), std::string::npos) << "\"" << line << "\"";
        long long micros = std::stoll(line);
        EXPECT_GT(micros, previous) << line;
        previous = micros;
    }
}
