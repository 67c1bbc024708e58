// kestrava-script: the game's own start-up and frame loop with three substitutions — a
// virtual clock, a keyboard fed from a file (or both from a recorded game), and presenting
// without sleeping — so a flight can be replayed bit for bit, traced, photographed and
// listened to.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <vector>

#include "audio/sound.h"
#include "draw2d/gl/gl_plane_driver.h"
#include "draw2d/graphics.h"
#include "draw2d/null_plane_driver.h"
#include "game/kestrava.h"
#include "game/version.h"
#include "game/trace.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/replay_system.h"
#include "platform/headless/script_system.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/system.h"
#include "tools/script/memory.h"
#include "tools/script/options.h"
#include "tools/script/outputs.h"

namespace {

constexpr int kAudioFramesPerPass = 44100 / 60;   // 735: the mixer keeps step with the clock

using Clock = std::chrono::steady_clock;

// The SIGTERM or SIGINT that asked the run to stop, 0 while none has.
volatile std::sig_atomic_t stopSignal = 0;

void AskToStop(int signal) { stopSignal = signal; }

// SIGTERM and SIGINT end the run after the pass in progress, its files complete; a second
// one ends it at once. Installed before SDL starts, which then leaves them alone; a signal
// the runner was started ignoring (SIGINT in a background job) stays ignored.
void CatchStopSignals() {
    for (int signal : {SIGTERM, SIGINT}) {
        struct sigaction action {}, before {};
        action.sa_handler = AskToStop;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        if (sigaction(signal, &action, &before) == 0 && before.sa_handler == SIG_IGN)
            sigaction(signal, &before, nullptr);
    }
}

void PrintStats(std::vector<double>& micros) {
    if (micros.empty()) return;
    std::sort(micros.begin(), micros.end());
    auto at = [&](double q) { return micros[static_cast<size_t>(q * (micros.size() - 1) + 0.5)]; };
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("passes: %zu\n", micros.size());
    std::printf("wall time per pass (us): min %.0f, median %.0f, p99 %.0f, max %.0f\n",
                micros.front(), at(0.5), at(0.99), micros.back());
    std::printf("peak resident memory: %ld KiB\n", usage.ru_maxrss);
}

}  // namespace

int main(int argc, char** argv) {
    TScriptOptions options;
    std::string error;
    if (!ParseScriptOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "kestrava-script: %s\n%s", error.c_str(), kScriptUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kScriptUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("kestrava-script %s\n", kKestravaVersion);
        return 0;
    }

    CatchStopSignals();

    TScriptSystemDriver script(options.clockStart);
    if (!options.keysPath.empty() && !script.LoadKeys(options.keysPath, &error)) {
        std::fprintf(stderr, "kestrava-script: %s\n", error.c_str());
        return 2;
    }
    TReplaySystemDriver replay;
    const bool replaying = !options.replayPath.empty();
    if (replaying && !replay.Load(options.replayPath, &error)) {
        std::fprintf(stderr, "kestrava-script: %s\n", error.c_str());
        return 2;
    }
    // The scripted (or recorded) clock and keyboard; a real window only for pictures or timing.
    TPlatform platform = HeadlessPlatform();
    platform.system = replaying ? static_cast<TSystemDriver*>(&replay) : &script;
    if (!options.shots.empty() || options.stats) platform.window = SDLWindowDriver();   // --stats times GL
    InstallPlatform(platform);

    std::ofstream trace;
    if (!options.tracePath.empty()) {
        trace.open(options.tracePath, std::ios::binary | std::ios::trunc);
        if (!trace) {
            std::fprintf(stderr, "kestrava-script: cannot write %s\n", options.tracePath.c_str());
            return 2;
        }
    }
    TWavWriter audio;
    if (!options.audioPath.empty() && !audio.Open(options.audioPath)) {
        std::fprintf(stderr, "kestrava-script: cannot write %s\n", options.audioPath.c_str());
        return 2;
    }

    std::vector<double> passMicros;
    std::vector<int16_t> samples(kAudioFramesPerPass * 2);
    std::vector<uint8_t> pixels;
    Clock::time_point passStart;
    bool failed = false;
    bool stoppedByRunner = false;
    int lastPass = 0;

    TGameHooks hooks;
    hooks.audioMode = TAudioOutputMode::Manual;
    // Only pictures and their timing need a display: otherwise the null driver draws the frames.
    hooks.planeDriver = options.shots.empty() && !options.stats ? NullPlaneDriver() : GLPlaneDriver();
    hooks.beforePass = [&](int pass) {
        if (replaying)
            replay.BeginPass(pass);
        else
            script.BeginPass(pass);
        passStart = Clock::now();
    };
    hooks.afterPass = [&](int pass) {
        if (replaying) replay.EndPass();
        lastPass = pass;
        if (options.stats) {
            passMicros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - passStart).count());
        }
        if (!options.audioPath.empty()) {
            MixAudioFrames(samples.data(), kAudioFramesPerPass);
            audio.Append(samples.data(), kAudioFramesPerPass);
        }
        if (trace.is_open()) trace << TraceLine(pass);
        for (const TScriptShot& shot : options.shots) {
            if (shot.frame != pass) continue;
            const int w = GraphicsWidth(), h = GraphicsHeight();
            pixels.resize(static_cast<size_t>(w) * h * 4);
            if (!ReadFramePixels(0, 0, w, h, pixels.data()) || !WritePng(shot.path, pixels.data(), w, h)) {
                std::fprintf(stderr, "kestrava-script: cannot save the picture of pass %d to %s\n", pass,
                             shot.path.c_str());
                failed = true;
            }
        }
        for (int frame : options.memoryAt)
            if (frame == pass) PrintMemoryAt(pass);
        // A faithful replay ends in the loop test of the last recorded pass, before this point.
        stoppedByRunner = stopSignal != 0 || (options.frames != 0 && pass >= options.frames) ||
                          (replaying && pass >= replay.LastPass());
        return !stoppedByRunner;
    };

    int status = RunKestrava(hooks);
    if (replaying) {
        replay.Finish(status == 0 && !stoppedByRunner);
        if (!replay.Divergence().empty()) {
            std::fprintf(stderr, "kestrava-script: %s: %s\n", options.replayPath.c_str(), replay.Divergence().c_str());
            failed = true;
        }
    }
    // A run that ended sooner than asked (a replay's length is not known beforehand) says so.
    for (const TScriptShot& shot : options.shots) {
        if (shot.frame <= lastPass || stopSignal != 0) continue;
        std::fprintf(stderr, "kestrava-script: no picture of pass %d for %s: the run ended after pass %d\n",
                     shot.frame, shot.path.c_str(), lastPass);
        failed = true;
    }
    // Close the window while the scripted driver still exists: closing takes in events.
    EndGraphics();
    InstallPlatform(HeadlessPlatform());
    if (trace.is_open()) {
        trace.close();
        if (!trace) failed = true;
    }
    if (!audio.Close()) failed = true;
    if (options.stats) PrintStats(passMicros);
    if (status == 0 && failed) status = 1;
    if (stopSignal != 0) {
        std::fprintf(stderr, "kestrava-script: stopped by %s after pass %d\n",
                     stopSignal == SIGINT ? "SIGINT" : "SIGTERM", lastPass);
        if (status == 0) status = 128 + stopSignal;
    }
    return status;
}
