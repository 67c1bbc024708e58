// The game's entry: the command line, then the start-up sequence and the frame loop on the
// desktop. With no flags it is the game alone.
#include <cerrno>
#include <cstdio>
#include <cstring>
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
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/sdl/sdl_platform.h"

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

// The desktop: SDL's window, keyboard, clock and sound; muted, no audio device is opened
// and the game runs silent, as it does on a machine without one.
void InstallDesktop(const TCommandLine& line) {
    TPlatform desktop = SDLPlatform();
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

// The game drawn with OpenGL, written down by --record and --trace.
int Play(const TCommandLine& line) {
    TGameHooks hooks;
    hooks.planeDriver = GLPlaneDriver();

    // The files are made before the window.
    TFlightLog flightLog;
    std::string error;
    if (!flightLog.Start(line.recordPath, line.tracePath, &hooks, &error)) {
        std::fprintf(stderr, "kestrava: %s\n", error.c_str());
        return 2;
    }
    // Pads are extra hands on the keys (without them, the keyboard alone). They are looked for
    // once the first frame is shown, which looking for them would hold up by some milliseconds.
    hooks.beforePass = [traced = std::move(hooks.beforePass)](int pass) {
        if (traced) traced(pass);
        if (pass == 2) StartGamepads();
    };
    int status = RunKestrava(hooks);
    if (!flightLog.Finish(&error)) {
        std::fprintf(stderr, "kestrava: %s\n", error.c_str());
        if (status == 0) status = 1;
    }
    return status;
}

// --frame-log: a line for every present, the moment the drawn frame is handed to the window
// (the swap), in microseconds on the boot clock; written at once so a reader sees the frames
// as they come. False, having said why, when the file cannot be written.
bool StartFrameLog(const std::string& path) {
    static std::FILE* frameLog = nullptr;
    frameLog = std::fopen(path.c_str(), "w");
    if (!frameLog) {
        std::fprintf(stderr, "kestrava: cannot write the frame log %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    AddPresentHook([] {
        std::fprintf(frameLog, "%lld\n", static_cast<long long>(MicroSecs()));
        std::fflush(frameLog);
    });
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    TCommandLine line;
    if (const int status = AnswerCommandLine(argc, argv, &line); status >= 0) return status;
    DecodePicturesAhead();
    InstallDesktop(line);

    if (!line.frameLogPath.empty() && !StartFrameLog(line.frameLogPath)) return 2;
    return Play(line);
}
