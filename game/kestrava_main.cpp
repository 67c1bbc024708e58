// The game's entry: the command line, then the start-up sequence and the frame loop on the
// desktop. With no flags it is the game alone.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "assets/embedded.h"
#include "audio/mixora.h"
#include "draw2d/gl/gl_plane_driver.h"
#include "draw2d/graphics.h"
#include "draw2d/pixmap.h"
#include "game/command_line.h"
#include "game/kestrava.h"
#include "game/trace.h"
#include "game/version.h"
#include "game/window_icon.h"
#include "platform/desktop.h"
#include "platform/error.h"
#include "platform/input.h"
#include "platform/output_file.h"
#include "platform/pausable_clock.h"

namespace {

// --help, --version and a mistake are answered here: the status to exit with, or -1 to play.
int AnswerCommandLine(int argc, char** argv, TCommandLine* line) {
    std::string error;
    if (!ParseCommandLine(argc, argv, line, &error)) {
        std::fprintf(stderr, "kestrava: %s\n%s", error.c_str(), kKestravaUsage);
        return 2;
    }
    if (line->help) {
        std::fputs(kKestravaUsage, stdout);
        return 0;
    }
    if (line->version) {
        std::printf("kestrava %s\n", kKestravaVersion);
        return 0;
    }
    return -1;
}

// The window's icon and the game's pictures are decoded on a core of their own while the
// window opens; loading them later takes the decoded pixels.
void DecodePicturesAhead() {
    StartPixmapLoaders();
    std::vector<TEncodedPicture> pictures;
    if (const TEncodedPicture icon = DesktopIconBytes(); icon.data) pictures.push_back(icon);
    for (const TEmbeddedFile& file : GameEmbeddedFiles())
        if (std::string_view(file.name).ends_with(".png")) pictures.push_back({file.data, file.length});
    DecodeAhead(std::move(pictures));
}

// The desktop's clock, held while the game is paused (never freed: exit handlers may poll).
TPausableClockDriver& DesktopClock() {
    static TPausableClockDriver* clock = new TPausableClockDriver(DesktopPlatform().system);
    return *clock;
}

// The desktop: its window, keyboard, clock and sound; muted, no audio device is opened
// and the game runs silent, as it does on a machine without one.
void InstallDesktop(const TCommandLine& line) {
    TPlatform desktop = DesktopPlatform();
    desktop.system = &DesktopClock();
    if (line.mute) desktop.audio = nullptr;
    InstallPlatform(desktop);
    mxo_SetMasterVolume(line.volume);

    // How the 640x480 frame is shown: the window's size, resizing, filtering, full screen.
    TPresentation presentation;
    presentation.scale = line.scale;
    presentation.resizable = line.resizable;
    presentation.smooth = line.smooth;
    presentation.fullscreen = line.fullscreen;
    SetPresentation(presentation);

    UseDesktopIconForWindows();   // the window shows the desktop's icon
}

// The files the command line names, checked before anything is opened or started: the
// status to exit with, having said why, or 0 to go on.
int CheckOutputs(const TCommandLine& line) {
    std::vector<TFileUse> files;
    if (!line.recordPath.empty()) files.push_back({line.recordPath, "the recording"});
    if (!line.tracePath.empty()) files.push_back({line.tracePath, "the trace"});
    if (!line.frameLogPath.empty()) files.push_back({line.frameLogPath, "the frame log"});
    std::string error;
    const int status = CheckFiles(files, &error);
    if (status != 0) std::fprintf(stderr, "kestrava: %s\n", error.c_str());
    return status;
}

// The game drawn with OpenGL, written down by --record, --trace and --frame-log.
int Play(const TCommandLine& line) {
    TGameHooks hooks;
    hooks.planeDriver = GLPlaneDriver();
    static TFlightLog flightLog;
    flightLog.Start(line.recordPath, line.tracePath, line.frameLogPath, &hooks);
    OnDisplayLost([] { flightLog.Cut(); });   // the passes played so far are kept
    // Pads are extra hands on the keys (without them, the keyboard alone). They are looked for
    // once the first frame is shown, which looking for them would hold up by some milliseconds.
    hooks.beforePass = [traced = std::move(hooks.beforePass)](int pass) {
        if (traced) traced(pass);
        if (pass == 2) StartGamepads();
    };
    // A pause is invisible to the game's clock, and so to its recording.
    hooks.playerKeys = true;
    hooks.pauseWhenAway = line.pauseWhenAway;
    hooks.paused = [recorded = std::move(hooks.paused)](bool paused) {
        if (recorded) recorded(paused);
        DesktopClock().Hold(paused);
    };
    int status = RunKestrava(hooks);
    if (!flightLog.Finish() && status == 0) status = 1;
    return status;
}

int Main(int argc, char** argv) {
    TCommandLine line;
    if (const int status = AnswerCommandLine(argc, argv, &line); status >= 0) return status;
    if (const int status = CheckOutputs(line); status != 0) return status;
    DecodePicturesAhead();
    InstallDesktop(line);
    return Play(line);
}

}  // namespace

int main(int argc, char** argv) { return FlushStandardOutput(Main(argc, argv)); }
