// The programs without a display: what --replay refuses and how it says so, the command lines,
// and the keys that end a run. Recording a real game needs a window: display/replay_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "runner/run_program.h"

// The reader's refusals (platform/replay_file_test.cpp) reach the runner with file and line.
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
    };
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

// The game checks its files before it starts and opens them only once it has: a file it
// cannot write or one named twice is refused, and a game that cannot start leaves every
// file as it was. Without a display it says so in one line, naming the display; with no audio
// device it says in one line of its own that it plays silently (the sound library's search unsaid).
TEST(Game, ChecksItsFilesFirstAndLeavesThemAsTheyWereWhenItCannotStart) {
    const std::string dir = TempDir("record-unwritable");
    const struct {
        std::string arguments;
        int status;
        std::string says;
    } cases[] = {
        {"--record " + dir + "/none/game.txt", 1, "kestrava: cannot write the recording " + dir + "/none/game.txt: "},
        {"--trace " + dir + " --record " + dir + "/game.txt", 1, "kestrava: cannot write the trace " + dir + ": "},
        {"--frame-log " + dir + "/none/f.txt", 1, "kestrava: cannot write the frame log " + dir + "/none/f.txt: "},
        {"--record " + dir + "/game.txt --trace " + dir + "/./game.txt", 2, "kestrava: the recording "},
    };
    const std::string env = "env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR -u SDL_VIDEODRIVER "
                            "SDL_AUDIODRIVER=dummy ", binary = KESTRAVA_BINARY_DIR "/kestrava ", game = env + binary;
    for (const auto& c : cases) {
        TProgramResult run = RunCommand(game + c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.output;
        EXPECT_EQ(run.output.rfind(c.says, 0), 0u) << c.arguments << "\n" << run.output;
        EXPECT_EQ(run.output.find("window"), std::string::npos) << run.output;
    }
    for (const char* name : {"/game.txt", "/t.jsonl", "/f.txt"}) WriteFile(dir + name, "kept\n");
    const std::string noWindow = "kestrava: cannot open the game window: ";
    const std::string silent = " SDL_AUDIODRIVER=alsa AUDIODEV=none ";
    TProgramResult run = RunCommand(game + "--record " + dir + "/game.txt --trace " + dir + "/t.jsonl --frame-log " +
                                    dir + "/f.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, noWindow + "DISPLAY is not set\n");
    for (const char* name : {"/game.txt", "/t.jsonl", "/f.txt"}) EXPECT_EQ(ReadFile(dir + name), "kept\n") << name;
    EXPECT_EQ(RunCommand(env + silent + binary + "--mute").output, noWindow + "DISPLAY is not set\n");
    run = RunCommand(env + "DISPLAY=:7093" + silent + binary);
    EXPECT_NE(run.output.find(noWindow + "no X display :7093 (is an X server running there?)\n"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("kestrava: no audio device (ALSA: "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("); playing silently\n"), std::string::npos) << run.output;
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 2) << run.output;
}

// The runner writes each output beside its path and puts it in place complete: a run that
// is refused, or cannot write, or names one file twice, leaves every file as it was.
TEST(ScriptedRunner, LeavesEveryFileAsItWasWhenARunIsRefusedOrCannotWrite) {
    const std::string dir = TempDir("outputs");
    WriteFile(dir + "/keep.jsonl", "kept\n");
    WriteFile(dir + "/keys.txt", "1 down 57\n");
    const struct {
        std::string shell, arguments;
        int status;
        std::string says;
    } cases[] = {
        {"", "--trace keep.jsonl --audio none/a.wav", 1, "cannot write the audio capture none/a.wav: No such file"},
        {"", "--keys keys.txt --audio ./keys.txt", 2, "the audio capture ./keys.txt would overwrite the keys keys.txt"},
        {"", "--trace keep.jsonl --shot 3:keep.jsonl", 2, "the trace and the picture of pass 3 are the same file"},
        {"", "--trace /dev/full", 1, "cannot write the trace /dev/full: No space left on device"},
        {"", "--memory-at 40", 1, "no memory figures for pass 40: the run ended after pass 35"},
        // Past its first kilobyte the file system refuses the trace: the old one stays.
        {"ulimit -f 1; trap '' XFSZ; ", "--trace keep.jsonl", 1, "cannot write the trace keep.jsonl: File too large"},
    };
    for (const auto& c : cases) {
        TProgramResult run = RunCommand("cd " + dir + " && " + c.shell +
                                        KESTRAVA_BINARY_DIR "/kestrava-script --frames 35 " + c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find("kestrava-script: " + c.says), std::string::npos) << run.output;
        EXPECT_EQ(ReadFile(dir + "/keep.jsonl"), "kept\n") << c.arguments;
    }
    EXPECT_EQ(ReadFile(dir + "/keys.txt"), "1 down 57\n");
    TProgramResult listing = RunCommand("ls -A " + dir);
    EXPECT_EQ(listing.output, "keep.jsonl\nkeys.txt\n") << "nothing left beside them";
}

// Both programs answer --help and --version (and say so when that cannot be written); a mistake
// on the command line or in a keys file is named, with the usage, and status 2.
TEST(Programs, AnswerHelpAndVersionAndRefuseMistakesWithStatusTwo) {
    for (const char* program : {"kestrava", "kestrava-script"}) {
        const std::string path = KESTRAVA_BINARY_DIR "/" + std::string(program);
        TProgramResult help = RunCommand(path + " --help");
        EXPECT_EQ(help.status, 0) << help.output;
        EXPECT_EQ(help.output.rfind("usage: " + std::string(program) + " ", 0), 0u) << help.output;
        TProgramResult version = RunCommand(path + " --version");
        EXPECT_EQ(version.status, 0) << version.output;
        EXPECT_EQ(version.output.rfind(std::string(program) + " 0.", 0), 0u) << version.output;
        TProgramResult full = RunCommand("{ " + path + " --help >/dev/full; }");
        EXPECT_EQ(full.status, 1);
        EXPECT_EQ(full.output, std::string(program) + ": cannot write the standard output: No space left on device\n");
    }
    TProgramResult game = RunCommand(KESTRAVA_BINARY_DIR "/kestrava --scale 9");
    EXPECT_EQ(game.status, 2);
    EXPECT_EQ(game.output.rfind("kestrava: --scale takes a whole number from 1 to 8, not '9'\nusage:", 0), 0u)
        << game.output;
    for (const char* args : {"--frames 0", "--frames ten", "--shot 5", "--shot x:y.png", "--bogus", "--trace",
                             "--frames 1 --keys ''", "--frames 1 --audio ''", "--frames 1 --trace --stats"}) {
        TProgramResult run = RunScript(args);
        EXPECT_EQ(run.status, 2) << args << "\n" << run.output;
        EXPECT_EQ(run.output.rfind("kestrava-script: ", 0), 0u) << run.output;
        EXPECT_NE(run.output.find("usage: kestrava-script"), std::string::npos) << run.output;
    }
    const std::string dir = TempDir("mistakes");
    WriteFile(dir + "/bad.txt", "1 down 32\n2 sideways 32\n");
    TProgramResult run = RunScript("--frames 5 --keys " + dir + "/bad.txt");
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_NE(run.output.find("2"), std::string::npos) << "names the line: " << run.output;
}

TEST(ScriptedRunner, EscapeOrAQuitRequestEndsTheRunWithStatusZero) {
    const std::string dir = TempDir("quit");
    for (const auto& [keys, passes] : {std::pair{"3 down 27\n", 2u}, std::pair{"4 quit\n", 3u}}) {
        WriteFile(dir + "/keys.txt", keys);
        TProgramResult run = RunScript("--frames 50 --keys " + dir + "/keys.txt --trace " + dir + "/t.jsonl");
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(ReadLines(dir + "/t.jsonl").size(), passes) << keys;
    }
}

// Keys may come through a pipe, read up to the input limits; while they load, SIGTERM ends the
// run at once, before anything is written.
TEST(ScriptedRunner, KeysMayComeThroughAPipeAndTheirLoadingStopsAtTheLimitsOrOnSIGTERM) {
    const std::string dir = TempDir("piped");
    const std::string trace = dir + "/t.jsonl";
    const std::string runner = "SDL_AUDIODRIVER=dummy " KESTRAVA_BINARY_DIR "/kestrava-script --trace " + trace;
    TProgramResult piped = RunCommand("printf '4 quit\\n' | " + runner + " --keys /dev/stdin");
    EXPECT_EQ(piped.status, 0) << piped.output;
    EXPECT_EQ(ReadLines(trace).size(), 3u);
    std::filesystem::remove(trace);
    TProgramResult endless =
        RunCommand("yes '# a comment' | head -c 70000000 | " + runner + " --frames 1 --keys /dev/stdin");
    EXPECT_EQ(endless.status, 2);
    EXPECT_EQ(endless.output, "kestrava-script: /dev/stdin: over 64 MiB, more than any key file holds\n");
    TProgramResult stopped =
        RunCommand("mkfifo " + dir + "/k; " + runner + " --keys " + dir + "/k & sleep 0.5; kill -TERM $!; wait $!");
    EXPECT_EQ(stopped.status, 143) << stopped.output;
    EXPECT_FALSE(std::filesystem::exists(trace));
}
