// End to end: the real game's titled window as the desktop flags open it, seen from the X
// server, and Escape quitting it.
#include <gtest/gtest.h>

#include <string>

#include "runner/run_program.h"
#include "support/temp_dir.h"

namespace {

// Starts the game with these flags on a display of its own (a screen of this size), prints its
// window's geometry and size hints, then quits it with Escape and prints its exit status.
TProgramResult RunGameWindow(const std::string& flags, const std::string& screen = "1280x1024") {
    TTempDir temp;
    const std::string script = temp.Path() + "/window.sh";
    WriteFile(script,
              StartGameScript(flags) +
              "sleep 1\n"
              "xdotool getwindowgeometry $w\n"
              "xprop -id $w WM_NORMAL_HINTS\n"
              "xdotool windowfocus --sync $w\n"
              "xdotool key Escape\n"
              "for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done\n"
              "kill -0 $pid 2>/dev/null && { kill $pid; echo 'still running'; exit 4; }\n"
              "wait $pid; echo \"status $?\"\n");
    return RunCommand(KESTRAVA_SOURCE_DIR "/tools/with-display.sh -s '-screen 0 " + screen + "x24' bash " + script);
}

bool Has(const TProgramResult& run, const std::string& text) { return run.output.find(text) != std::string::npos; }

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
