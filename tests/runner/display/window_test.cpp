// End to end: the real game in its window, driven by synthetic X key presses.
#include <gtest/gtest.h>

#include "runner/run_program.h"
#include "support/temp_dir.h"

// The game runs on an X display of its own, so no other test's window takes the focus or the
// pointer from it. tools/with-display.sh starts that display's server: it picks a free number
// itself, so it never races other servers for one.
TEST(Game, OpensItsTitledCentredWindowAndQuitsOnEscapeWithStatusZero) {
    if (RunCommand("command -v xdotool && command -v Xvfb && command -v xauth").status != 0) {
        GTEST_SKIP() << "xdotool, Xvfb or xauth is not installed";
    }
    TTempDir temp;
    ASSERT_FALSE(temp.Path().empty());
    const std::string dir = temp.Path();
    WriteFile(dir + "/escape.sh",
              StartGameScript("") +
              "xdotool getwindowgeometry $w\n"
              "sleep 1\n"
              "xdotool windowfocus --sync $w\n"
              "xdotool key Escape\n"
              "for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done\n"
              "kill -0 $pid 2>/dev/null && { kill $pid; echo 'still running'; exit 4; }\n"
              "wait $pid; echo \"status $?\"\n");
    TProgramResult run = RunCommand(KESTRAVA_SOURCE_DIR "/tools/with-display.sh bash " + dir + "/escape.sh");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Geometry: 640x480"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Position: 320,272"), std::string::npos) << "centred: " << run.output;
    EXPECT_NE(run.output.find("status 0"), std::string::npos) << run.output;
}
