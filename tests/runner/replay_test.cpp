// The runner's --replay without a display: what it refuses, how it says so, and how a
// signal ends a run. Recording a real game needs a window: display/replay_test.cpp.
#include <gtest/gtest.h>

#include <filesystem>

#include "runner/run_program.h"

TEST(Replay, DamagedForeignOrMisusedReplaysAreRefusedWithTheirLineAndNothingIsWritten) {
    const std::string dir = TempDir("replay-refused");
    const std::string good = dir + "/good.txt";
    const std::string kCombined = "--replay plays the recorded clock and keys: it cannot be combined with ";
    WriteFile(good, "kestrava-replay 1\npass 0 polls 2 clock 5000\nend\n");
    WriteFile(dir + "/keys.txt", "5 down 32\n");
    const struct {
        std::string arguments;
        std::string says;
    } cases[] = {
        {"--replay " + good + " --keys " + dir + "/keys.txt", kCombined + "--keys"},
        {"--replay " + good + " --clock-start 5", kCombined + "--clock-start"},
        {"--clock-start 5 --replay " + good, kCombined + "--clock-start"},
        {"--replay ''", "--replay needs a file"},
        {"--replay " + dir + "/none.txt", dir + "/none.txt: cannot open the replay file"},
        {"--replay " + dir + "/keys.txt", dir + "/keys.txt:1: not a kestrava replay"},
        {"--replay " + dir + "/cut.txt", dir + "/cut.txt:3: the file stops here without its \"end\" line"},
        {"--replay " + dir + "/bad.txt", dir + "/bad.txt:4: event out of order: poll 1 after poll 2"},
        {"--replay " + dir + "/empty.txt", dir + "/empty.txt:1: the file is empty"},
    };
    WriteFile(dir + "/cut.txt", "kestrava-replay 1\npass 0 polls 2 clock 5000\npass 1 polls 3 clock 5016\n");
    WriteFile(dir + "/bad.txt", "kestrava-replay 1\npass 0 polls 2 clock 5000\nat 2 down 32 0\nat 1 up 32 0\nend\n");
    WriteFile(dir + "/empty.txt", "");
    for (const auto& c : cases) {
        const std::string trace = dir + "/t.jsonl";
        TProgramResult run = RunScript(c.arguments + " --trace " + trace);
        EXPECT_EQ(run.status, 2) << c.arguments << "\n" << run.output;
        EXPECT_EQ(run.output.rfind("kestrava-script: " + c.says, 0), 0u) << c.arguments << "\n" << run.output;
        EXPECT_FALSE(std::filesystem::exists(trace)) << c.arguments;
    }
}

TEST(Replay, AGameThatDoesNotFollowItsRecordingIsReportedNotPassedOff) {
    const std::string dir = TempDir("replay-strayed");
    // Far too few polls for the start-up, and a game that then runs on past the recorded end.
    WriteFile(dir + "/game.txt", "kestrava-replay 1\npass 0 polls 1 clock 5000\npass 1 polls 1 clock\nend\n");
    TProgramResult run = RunScript("--replay " + dir + "/game.txt --trace " + dir + "/t.jsonl");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("kestrava-script: " + dir + "/game.txt: the replay parted from the recording in pass 0"),
              std::string::npos) << run.output;
}

TEST(ScriptedRunner, SigtermEndsAnEndlessRunAfterThePassInProgressWithItsTraceWhole) {
    const std::string dir = TempDir("sigterm-headless");
    WriteFile(dir + "/stop.sh",
              "SDL_AUDIODRIVER=dummy " KESTRAVA_BINARY_DIR "/kestrava-script --trace " + dir +
                  "/t.jsonl --audio " + dir + "/a.wav & pid=$!\n"
                  "for i in $(seq 1 200); do [ -s " + dir + "/t.jsonl ] && break; sleep 0.1; done\n"
                  "kill -TERM $pid\n"
                  "for i in $(seq 1 200); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done\n"
                  "kill -0 $pid 2>/dev/null && { kill -KILL $pid; echo 'still running'; exit 4; }\n"
                  "wait $pid; echo \"status $?\"\n");
    TProgramResult run = RunCommand("bash " + dir + "/stop.sh");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("status 143"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("kestrava-script: stopped by SIGTERM after pass "), std::string::npos) << run.output;
    // Every pass traced is a whole line, and the audio capture has its sizes written in.
    const std::string trace = ReadFile(dir + "/t.jsonl");
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace.back(), '\n');
    const std::vector<std::string> lines = ReadLines(dir + "/t.jsonl");
    EXPECT_EQ(TraceValue(lines.back(), "frame"), static_cast<double>(lines.size()));
    const std::string wav = ReadFile(dir + "/a.wav");
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(wav.size() - 44, lines.size() * 735 * 4);
}

// Checked before the window opens: without a display the game would otherwise say it has none.
TEST(Replay, TheGameRefusesARecordingOrTraceItCannotWriteBeforeItOpensAWindow) {
    const std::string dir = TempDir("record-unwritable");
    const struct {
        std::string arguments;
        std::string says;
    } cases[] = {
        {"--record " + dir + "/none/game.txt", "kestrava: cannot write the recording " + dir + "/none/game.txt: "},
        {"--trace " + dir + " --record " + dir + "/game.txt", "kestrava: cannot write the trace " + dir + ": "},
    };
    for (const auto& c : cases) {
        TProgramResult run = RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy " KESTRAVA_BINARY_DIR
                                        "/kestrava " + c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments << "\n" << run.output;
        EXPECT_EQ(run.output.rfind(c.says, 0), 0u) << c.arguments << "\n" << run.output;
        EXPECT_EQ(run.output.find("window"), std::string::npos) << run.output;
    }
}

TEST(ScriptedRunner, HelpAndVersionAnswerAndAMistakeGetsTheUsageWithStatusTwo) {
    TProgramResult help = RunScript("--help");
    EXPECT_EQ(help.status, 0) << help.output;
    EXPECT_EQ(help.output.rfind("usage: kestrava-script", 0), 0u) << help.output;
    TProgramResult version = RunScript("--version");
    EXPECT_EQ(version.status, 0) << version.output;
    EXPECT_EQ(version.output.rfind("kestrava-script 0.", 0), 0u) << version.output;
    TProgramResult wrong = RunScript("--frames 0");
    EXPECT_EQ(wrong.status, 2) << wrong.output;
    EXPECT_NE(wrong.output.find("usage: kestrava-script"), std::string::npos) << wrong.output;
}
