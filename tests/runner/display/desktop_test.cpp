// End to end: the real game's titled window as the desktop flags open it, seen from the X
// server, and Escape quitting it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "draw2d/pixmap.h"
#include "runner/run_program.h"
#include "support/temp_dir.h"

namespace {

// Starts the game (or the command given) with these flags on a display of its own (a screen
// of this size), prints its window's geometry, size hints and title, plays these shell lines
// ($w is its window), then quits it with Escape and prints its exit status.
TProgramResult RunGameWindow(const std::string& flags, const std::string& screen = "1280x1024",
                             const std::string& play = "", const std::string& game = "") {
    TTempDir temp;
    const std::string script = temp.Path() + "/window.sh";
    WriteFile(script,
              StartGameScript(flags, game) +
              "sleep 1\n"
              "xdotool getwindowgeometry $w\n"
              "xprop -id $w WM_NORMAL_HINTS WM_NAME\n"
              "xdotool windowfocus --sync $w\n" + play +
              "xdotool key Escape\n"
              "for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done\n"
              "kill -0 $pid 2>/dev/null && { kill $pid; echo 'still running'; exit 4; }\n"
              "wait $pid; echo \"status $?\"\n");
    return RunCommand(KESTRAVA_SOURCE_DIR "/tools/with-display.sh -s '-screen 0 " + screen + "x24' bash " + script);
}

bool Has(const TProgramResult& run, const std::string& text) { return run.output.find(text) != std::string::npos; }

// The share of the pixels outside rows top..bottom - 1 whose channels are all within 4 levels
// of the other picture's (0 when the pictures' sizes differ or one cannot be read).
double ShareAlike(const std::string& pathA, const std::string& pathB, int top, int bottom) {
    StartPixmapLoaders();
    const TPixmapPtr a = LoadPixmap(pathA), b = LoadPixmap(pathB);
    if (!a || !b || a->width != b->width || a->height != b->height) return 0;
    int alike = 0, counted = 0;
    for (int y = 0; y < a->height; ++y) {
        for (int x = 0; x < a->width && (y < top || y >= bottom); ++x, ++counted) {
            const uint32_t p = a->ReadPixel(x, y), q = b->ReadPixel(x, y);
            bool near = true;
            for (int shift = 0; shift < 24; shift += 8)
                near = near && std::abs(static_cast<int>((p >> shift) & 255) - static_cast<int>((q >> shift) & 255)) <= 4;
            alike += near;
        }
    }
    return counted ? static_cast<double>(alike) / counted : 0;
}

}  // namespace

TEST(Desktop, ScaleResizableAndSoundFlagsOpenTheWindowsTheyNameAndQuitCleanly) {
    if (RunCommand("command -v xdotool && command -v xprop && command -v Xvfb && command -v xauth").status != 0)
        GTEST_SKIP() << "xdotool, xprop, Xvfb or xauth is not installed";
    // The screen is 1280x1024: 2x is the most that fits, a window that fills its width and is
    // centred in its height.
    TProgramResult twice = RunGameWindow("--scale 8");
    ASSERT_EQ(twice.status, 0) << twice.output;
    EXPECT_TRUE(Has(twice, "kestrava: --scale 8 does not fit the 1280x1024 desktop; using 2\n")) << twice.output;
    EXPECT_TRUE(Has(twice, "Geometry: 1280x960")) << twice.output;
    EXPECT_TRUE(Has(twice, "Position: 0,32")) << twice.output;
    EXPECT_TRUE(Has(twice, "program specified maximum size: 1280 by 960")) << "not resizable: " << twice.output;
    EXPECT_TRUE(Has(twice, "status 0")) << twice.output;

    TProgramResult plain = RunGameWindow("");
    EXPECT_TRUE(Has(plain, "Geometry: 640x480")) << plain.output;
    EXPECT_TRUE(Has(plain, "program specified maximum size: 640 by 480")) << plain.output;
    EXPECT_TRUE(Has(plain, "status 0")) << plain.output;

    TProgramResult resizable = RunGameWindow("--resizable --smooth --volume 40");
    EXPECT_TRUE(Has(resizable, "Geometry: 640x480")) << resizable.output;
    EXPECT_TRUE(Has(resizable, "Position: 320,272")) << resizable.output;
    EXPECT_FALSE(Has(resizable, "maximum size")) << "the player may resize it: " << resizable.output;
    EXPECT_TRUE(Has(resizable, "status 0")) << resizable.output;

    // On a screen smaller than the frame the window covers it, showing the frame scaled down,
    // in full screen too (which Xvfb, having no window manager, would not enlarge it to).
    TProgramResult small = RunGameWindow("--scale 4", "320x240");
    EXPECT_TRUE(Has(small, "Position: 0,0 (screen: 0)\n  Geometry: 320x240")) << small.output;
    EXPECT_TRUE(Has(small, "kestrava: --scale 4 does not fit the 320x240 desktop; showing the picture at 320x240"))
        << small.output;
    TProgramResult muted = RunGameWindow("--fullscreen --mute", "320x240");
    EXPECT_TRUE(Has(muted, "Position: 0,0 (screen: 0)\n  Geometry: 320x240")) << muted.output;
    EXPECT_FALSE(Has(muted, "does not fit")) << "no --scale asked for: " << muted.output;
    EXPECT_TRUE(Has(muted, "status 0")) << muted.output;
}

// The Windows build's game under wine, on a display of its own: its window as on Linux, the
// title screen the native runner draws for the same pass, its keys, and a recording that the
// native runner replays to the very trace the game wrote.
TEST(Desktop, TheWindowsGameUnderWineShowsTheTitleAnswersItsKeysAndReplaysOnLinux) {
    if (WindowsBuild().empty()) GTEST_SKIP() << "no Windows build named (KESTRAVA_WINDOWS_BUILD=build-win)";
    if (RunCommand("command -v xdotool && command -v xprop && command -v import && command -v wine").status != 0)
        GTEST_SKIP() << "xdotool, xprop, ImageMagick's import or wine is not installed";
    const TProgramResult version = RunCommand(WineCommand("kestrava.exe") + " --version");   // makes the prefix
    // A Windows console line. (Wine's own services, starting beside the first program, have
    // been seen to crash once, saying so on the same stream.)
    EXPECT_EQ(version.status, 0) << version.output;
    EXPECT_TRUE(Has(version, "kestrava 0.4.0\r\n")) << version.output;
    const std::string dir = TempDir("wine-game");
    // P holds the last pass's frame under the "Paused" line; P again goes on.
    const std::string play = "sleep 1; xdotool key p; sleep 1; import -window $w " + dir + "/paused.png\n"
                             "xdotool key p; sleep 0.3; xdotool key space; sleep 0.5\n"
                             "for i in 1 2 3 4; do\n"
                             "  xdotool keydown z keydown m; sleep 0.12; xdotool keyup z keyup m; sleep 0.3\n"
                             "done\n"
                             "xdotool keydown Left; sleep 0.6; xdotool keyup Left; sleep 0.3\n";
    const TProgramResult run = RunGameWindow("--record " + dir + "/game.txt --trace " + dir + "/live.jsonl",
                                             "1280x1024", play, WineCommand("kestrava.exe"));
    EXPECT_TRUE(Has(run, "Geometry: 640x480")) << run.output;
    EXPECT_TRUE(Has(run, "program specified maximum size: 640 by 480")) << "not resizable: " << run.output;
    EXPECT_TRUE(Has(run, "WM_NAME(STRING) = \"Kestrava v.0.4\"")) << run.output;
    EXPECT_TRUE(Has(run, "status 0")) << run.output;

    const std::string recording = ReadFile(dir + "/game.txt");
    for (const char* key : {"down 80 ", "down 32 ", "down 90 ", "up 77 ", "down 37 ", "down 27 "})
        EXPECT_NE(recording.find(key), std::string::npos) << key << " in " << recording;
    const std::vector<std::string> live = ReadLines(dir + "/live.jsonl");
    std::set<double> states, wings, heights;
    for (const std::string& line : live) {
        states.insert(TraceValue(line, "GAMESTATE"));
        wings.insert(TraceValue(line, "Leftwing"));
        heights.insert(TraceValue(line, "altitude"));
    }
    EXPECT_EQ(states.size(), 2u) << "a flight started";
    EXPECT_GT(wings.size(), 5u);
    EXPECT_GT(heights.size(), 5u);

    // The pause came after the pass whose frame it holds: the first P's pass.
    const size_t paused = recording.rfind("\npass ", recording.find("down 80 "));
    const int pass = std::atoi(recording.c_str() + paused + 6);
    const TProgramResult replay = RunCommand(KESTRAVA_SOURCE_DIR "/tools/with-display.sh env SDL_AUDIODRIVER=dummy "
                                             KESTRAVA_BINARY_DIR "/kestrava-script --replay " + dir + "/game.txt --trace " +
                                             dir + "/replay.jsonl --shot " + std::to_string(pass) + ":" + dir + "/shot.png");
    ASSERT_EQ(replay.status, 0) << replay.output;
    EXPECT_EQ(ReadFile(dir + "/replay.jsonl"), ReadFile(dir + "/live.jsonl"));
    const double alike = ShareAlike(dir + "/paused.png", dir + "/shot.png", 250, 290);
    EXPECT_GE(alike, 0.99) << "the title screen of pass " << pass << " drawn under wine and natively";
    std::printf("pass %d: %.4f%% of the pixels alike\n", pass, 100 * alike);

    // Desktop full screen covers the screen; F11 brings back the window --scale asked for,
    // Alt+Enter goes back, and Alt+F4 asks the game to end as the close box does. (Without a
    // window manager, wine waits 2 s for one when the window closes.)
    const TProgramResult full = RunGameWindow(
        "--fullscreen --scale 2", "1280x1024",
        "xdotool key F11; sleep 1; xdotool getwindowgeometry $w; xdotool key alt+Return; sleep 1\n"
        "xdotool getwindowgeometry $w; xdotool key alt+F4; sleep 3\n"
        "kill -0 $pid 2>/dev/null || echo 'ended by Alt+F4'\n", WineCommand("kestrava.exe"));
    EXPECT_TRUE(Has(full, "Geometry: 1280x1024\n") && Has(full, "Geometry: 1280x960\n")) << full.output;
    EXPECT_LT(full.output.find("Geometry: 1280x960"), full.output.rfind("Geometry: 1280x1024")) << full.output;
    EXPECT_TRUE(Has(full, "ended by Alt+F4\nstatus 0")) << full.output;
}
