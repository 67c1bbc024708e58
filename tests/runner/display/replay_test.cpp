// End to end: the real game in its window, played with synthetic X key presses and recorded,
// then replayed by the scripted runner bit for bit; and SIGTERM ending a run that draws.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "runner/run_program.h"

namespace {

bool HaveXTools() {
    return RunCommand("command -v xdotool && command -v Xvfb && command -v xauth").status == 0;
}

// A shell script that starts the game with these arguments on the private display, waits for
// its window and gives it the focus ($pid and $w are set after it).
std::string StartGame(const std::string& arguments) {
    return StartGameScript(arguments) +
           "sleep 1\n"
           "xdotool windowfocus --sync $w\n";
}

// Waits for the game to end by itself and prints its status.
const char* const kAwaitGame =
    "for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done\n"
    "kill -0 $pid 2>/dev/null && { kill -KILL $pid; echo 'still running'; exit 4; }\n"
    "wait $pid; echo \"game status $?\"\n";

TProgramResult RunOnDisplay(const std::string& dir, const std::string& script) {
    WriteFile(dir + "/play.sh", script);
    return RunCommand(KESTRAVA_SOURCE_DIR "/tools/with-display.sh bash " + dir + "/play.sh");
}

// The game recorded and traced on a display: Space starts a flight, both wings tapped climb, a
// wing held dives; then SIGTERM.
TProgramResult PlayAFlightEndedBySigterm(const std::string& dir) {
    return RunOnDisplay(
        dir, StartGame("--record " + dir + "/game.txt --trace " + dir + "/live.jsonl") +
                 "xdotool key space; sleep 0.5\n"
                 "for i in 1 2 3 4 5 6; do\n"
                 "  xdotool keydown z keydown m; sleep 0.12; xdotool keyup z keyup m; sleep 0.3\n"
                 "done\n"
                 "xdotool keydown Left; sleep 0.8; xdotool keyup Left\n"
                 "xdotool keydown Right; sleep 0.5; xdotool keyup Right\n"
                 "for i in 1 2 3; do\n"
                 "  xdotool keydown Left keydown Right; sleep 0.1; xdotool keyup Left keyup Right; sleep 0.2\n"
                 "done\n"
                 // Several hundred passes however busy the machine (the trace, written beside
                 // its place until the game ends, is flushed every 30 passes), then SIGTERM.
                 "for i in $(seq 1 600); do\n"
                 "  [ \"$(cat " + dir + "/.live.jsonl.* | wc -l)\" -ge 450 ] && break; sleep 0.1\n"
                 "done\n"
                 "kill -TERM $pid\n" +
                 kAwaitGame);
}

}  // namespace

// The game is ended by SIGTERM, as a desktop session ending would: its recording is whole
// and ends the replay the same way.
TEST(Replay, AGamePlayedWithKeysAndEndedBySigtermReplaysToAByteIdenticalTrace) {
    if (!HaveXTools()) GTEST_SKIP() << "xdotool, Xvfb or xauth is not installed";
    const std::string dir = TempDir("replay-played");
    TProgramResult played = PlayAFlightEndedBySigterm(dir);
    ASSERT_EQ(played.status, 0) << played.output;
    ASSERT_NE(played.output.find("game status 0"), std::string::npos) << played.output;

    const std::string recording = ReadFile(dir + "/game.txt");
    EXPECT_EQ(recording.rfind("kestrava-replay 1\n", 0), 0u);
    ASSERT_GE(recording.size(), 4u);
    EXPECT_EQ(recording.substr(recording.size() - 4), "end\n");
    for (const char* key : {"down 32 ", "down 90 ", "up 77 ", "down 37 ", "up 39 ", " quit\n"})
        EXPECT_NE(recording.find(key), std::string::npos) << key;

    // The game really flew: hundreds of passes, a flight started, the wings and the height moved.
    const std::vector<std::string> live = ReadLines(dir + "/live.jsonl");
    ASSERT_GE(live.size(), 300u);
    std::set<double> states, wings, heights;
    for (const std::string& line : live) {
        states.insert(TraceValue(line, "GAMESTATE"));
        wings.insert(TraceValue(line, "Leftwing"));
        heights.insert(TraceValue(line, "altitude"));
    }
    EXPECT_EQ(states.size(), 2u);
    EXPECT_GT(wings.size(), 10u);
    EXPECT_GT(heights.size(), 10u);

    // Replayed (without a display: display/headless_test.cpp shows drawing changes nothing).
    TProgramResult headless = RunScript("--replay " + dir + "/game.txt --trace " + dir + "/replay.jsonl --audio " +
                                        dir + "/replay.wav");
    ASSERT_EQ(headless.status, 0) << headless.output;
    EXPECT_EQ(ReadFile(dir + "/replay.jsonl"), ReadFile(dir + "/live.jsonl"));
    EXPECT_EQ(ReadFile(dir + "/replay.wav").size(), 44 + live.size() * 735 * 4);
    // The Windows build's runner, under wine, replays it the same.
    if (!WindowsBuild().empty()) {
        TProgramResult wine = RunCommand(WineCommand("kestrava-script.exe") + " --replay " + dir + "/game.txt --trace " +
                                         dir + "/wine.jsonl --audio " + dir + "/wine.wav");
        EXPECT_EQ(wine.status, 0) << wine.output;
        EXPECT_EQ(ReadFile(dir + "/wine.jsonl"), ReadFile(dir + "/live.jsonl"));
        EXPECT_EQ(ReadFile(dir + "/wine.wav"), ReadFile(dir + "/replay.wav"));
    }

    // Cut off mid-way (the game killed): replayed as far as it holds whole passes, saying so.
    WriteFile(dir + "/cut.txt", recording.substr(0, recording.size() / 2));
    TProgramResult cut = RunScript("--replay " + dir + "/cut.txt --trace " + dir + "/cut.jsonl");
    EXPECT_EQ(cut.status, 0) << cut.output;
    const std::string cutTrace = ReadFile(dir + "/cut.jsonl");
    EXPECT_EQ(cut.output, "kestrava-script: " + dir + "/cut.txt: the recording was cut off after pass " +
                              std::to_string(ReadLines(dir + "/cut.jsonl").size()) + "; replayed up to there\n");
    EXPECT_EQ(cutTrace, ReadFile(dir + "/live.jsonl").substr(0, cutTrace.size()));

    // A picture asked of a pass the recorded game never reached is missed out loud.
    TProgramResult missed = RunCommand(KESTRAVA_SOURCE_DIR "/tools/with-display.sh env SDL_AUDIODRIVER=dummy "
                                       KESTRAVA_BINARY_DIR "/kestrava-script --replay " + dir +
                                       "/game.txt --shot 100000:" + dir + "/late.png");
    EXPECT_EQ(missed.status, 1) << missed.output;
    EXPECT_NE(missed.output.find("kestrava-script: no picture of pass 100000 for " + dir +
                                 "/late.png: the run ended after pass "),
              std::string::npos) << missed.output;
}

// P pauses the real game and Pause lets it go on: the frames shown meanwhile run no pass, the
// game's clock leaves the pause out, Escape still quits a paused game, and the recording
// replays to the same trace.
TEST(Replay, APausedGameRunsNoPassWhilePausedAndReplaysToTheSameTrace) {
    if (!HaveXTools()) GTEST_SKIP() << "xdotool, Xvfb or xauth is not installed";
    const std::string dir = TempDir("replay-paused");
    TProgramResult played = RunOnDisplay(
        dir, StartGame("--record " + dir + "/game.txt --trace " + dir + "/live.jsonl --frame-log " + dir +
                       "/frames.txt") +
                 "xdotool key space; sleep 0.5\n"
                 "xdotool keydown Left; sleep 0.3; xdotool key p; sleep 0.3; xdotool keyup Left; sleep 1.5\n"
                 "xdotool key Pause; sleep 0.5; xdotool key p; sleep 0.8; xdotool key Escape\n" + kAwaitGame);
    ASSERT_NE(played.output.find("game status 0"), std::string::npos) << played.output;
    const std::vector<std::string> live = ReadLines(dir + "/live.jsonl");
    const std::vector<std::string> frames = ReadLines(dir + "/frames.txt");
    ASSERT_GE(live.size(), 30u);
    EXPECT_EQ(TraceValue(live.back(), "frame"), static_cast<double>(live.size()));
    // Some hundred frames were shown in the pauses, and none of them was a pass.
    EXPECT_GE(frames.size(), live.size() + 30) << frames.size() << " frames, " << live.size() << " passes";
    const double shown = (std::stod(frames.back()) - std::stod(frames.front())) / 1000;
    const double flown = TraceValue(live.back(), "curtime") - TraceValue(live.front(), "curtime");
    EXPECT_GT(shown - flown, 1500) << "the game's clock counted the pauses";
    const std::string recording = ReadFile(dir + "/game.txt");
    for (const char* key : {"down 80 ", "\nat 1 up 37 ", "\nat 1 down 19 ", "\nat 1 down 27 "})
        EXPECT_NE(recording.find(key), std::string::npos) << key;

    TProgramResult replay = RunScript("--replay " + dir + "/game.txt --trace " + dir + "/replay.jsonl");
    ASSERT_EQ(replay.status, 0) << replay.output;
    EXPECT_EQ(ReadFile(dir + "/replay.jsonl"), ReadFile(dir + "/live.jsonl"));
}

// A closed terminal (SIGHUP) ends the game as SIGTERM does; a lost display (its window killed)
// ends it at once with status 1, where it would hang in its exit handlers, the recording cut off.
TEST(Replay, AGameEndedBySighupOrByLosingItsDisplayLeavesARecordingThatReplays) {
    if (!HaveXTools()) GTEST_SKIP() << "xdotool, Xvfb or xauth is not installed";
    const std::string dir = TempDir("replay-ended");
    auto endGame = [&](const std::string& file, const std::string& how) {
        return StartGame("--record " + file + " --trace " + file + ".jsonl") +
               "for i in $(seq 1 100); do grep -q '^pass 30 ' " + file + " && break; sleep 0.1; done\n" + how + "\n" +
               kAwaitGame;
    };
    // The runner drawing pictures loses its display the same way.
    const std::string runner = "SDL_AUDIODRIVER=dummy " KESTRAVA_BINARY_DIR "/kestrava-script --shot 100000000:" +
                               dir + "/s.png & pid=$!\nsleep 2; xdotool search --name '^Kestrava v.0.4$' windowkill\n";
    TProgramResult played = RunOnDisplay(dir, endGame(dir + "/hup.txt", "kill -HUP $pid") +
                                                  endGame(dir + "/lost.txt", "xdotool windowkill $w") + runner +
                                                  kAwaitGame);
    EXPECT_NE(played.output.find("game status 0\nkestrava: lost the connection to the display :"), std::string::npos);
    EXPECT_NE(played.output.find("game status 1\nkestrava-script: lost the connection to the display :"),
              std::string::npos) << played.output;
    EXPECT_TRUE(played.output.ends_with("\ngame status 1\n")) << played.output;
    TProgramResult hup = RunScript("--replay " + dir + "/hup.txt");
    EXPECT_EQ(hup.status, 0) << hup.output;
    TProgramResult lost = RunScript("--replay " + dir + "/lost.txt --trace " + dir + "/replayed.jsonl");
    EXPECT_EQ(lost.status, 0) << lost.output;
    EXPECT_NE(lost.output.find("lost.txt: the recording was cut off after pass "), std::string::npos) << lost.output;
    // The trace of the game played so far is kept, and the replay's is the same.
    EXPECT_FALSE(ReadFile(dir + "/lost.txt.jsonl").empty());
    EXPECT_EQ(ReadFile(dir + "/lost.txt.jsonl"), ReadFile(dir + "/replayed.jsonl"));
}

// SDL turns SIGTERM into a quit request that the scripted keyboard never reads: the runner
// catches it (and SIGHUP) itself, so a run drawing pictures stops after the pass in progress like
// any other, with every pass traced a whole line and the audio capture's sizes written in.
TEST(ScriptedRunner, SigtermOrSighupEndsAnEndlessRunThatDrawsPicturesWithItsFilesWhole) {
    const std::string dir = TempDir("sigterm-shot");
    for (const auto& [signal, status] : {std::pair{"TERM", 143}, std::pair{"HUP", 129}}) {
        WriteFile(dir + "/stop.sh",
                  "SDL_AUDIODRIVER=dummy " KESTRAVA_BINARY_DIR "/kestrava-script --shot 100000000:" + dir +
                      "/s.png --trace " + dir + "/t.jsonl --audio " + dir + "/a.wav & pid=$!\n"
                      "for i in $(seq 1 200); do [ -n \"$(find " + dir + " -name '.t.jsonl.*' -size +0)\" ] && "
                      "break; sleep 0.1; done\n"   // the trace is written beside its place until the end
                      "kill -" + signal + " $pid\n"
                      "for i in $(seq 1 200); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done\n"
                      "kill -0 $pid 2>/dev/null && { kill -KILL $pid; echo 'still running'; exit 4; }\n"
                      "wait $pid; echo \"status $?\"\n");
        TProgramResult run = RunCommand(KESTRAVA_SOURCE_DIR "/tools/with-display.sh bash " + dir + "/stop.sh");
        ASSERT_EQ(run.status, 0) << run.output;
        EXPECT_NE(run.output.find("status " + std::to_string(status)), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("kestrava-script: stopped by SIG" + std::string(signal)), std::string::npos);
        const std::string trace = ReadFile(dir + "/t.jsonl");
        EXPECT_TRUE(trace.ends_with('\n'));
        const std::vector<std::string> lines = ReadLines(dir + "/t.jsonl");
        EXPECT_EQ(TraceValue(lines.back(), "frame"), static_cast<double>(lines.size()));
        EXPECT_EQ(ReadFile(dir + "/a.wav").size(), 44 + lines.size() * 735 * 4);
    }
}
