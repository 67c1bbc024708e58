// The game's entry: the command line, then the start-up sequence and the frame loop on the
// desktop. With no flags it is the game alone.
#include <cstdio>
#include <string>

#include "draw2d/gl/gl_plane_driver.h"
#include "game/command_line.h"
#include "game/kestrava.h"
#include "game/trace.h"
#include "game/version.h"
#include "game/window_icon.h"
#include "platform/sdl/sdl_platform.h"

int main(int argc, char** argv) {
    TCommandLine line;
    std::string error;
    if (!ParseCommandLine(argc, argv, &line, &error)) {
        std::fprintf(stderr, "kestrava: %s\n%s", error.c_str(), kKestravaUsage);
        return 2;
    }
    if (line.help) {
        std::fputs(kKestravaUsage, stdout);
        return 0;
    }
    if (line.version) {
        std::printf("kestrava %s\n", kKestravaVersion);
        return 0;
    }

    InstallPlatform(SDLPlatform());   // the desktop: SDL's window, keyboard, clock and sound
    UseDesktopIconForWindows();       // the window shows the desktop's icon
    TGameHooks hooks;
    hooks.planeDriver = GLPlaneDriver();   // drawn with OpenGL

    // --record and --trace: the game written down pass by pass, the files made before the window.
    TFlightLog flightLog;
    if (!flightLog.Start(line.recordPath, line.tracePath, &hooks, &error)) {
        std::fprintf(stderr, "kestrava: %s\n", error.c_str());
        return 2;
    }
    int status = RunKestrava(hooks);
    if (!flightLog.Finish(&error)) {
        std::fprintf(stderr, "kestrava: %s\n", error.c_str());
        if (status == 0) status = 1;
    }
    return status;
}
