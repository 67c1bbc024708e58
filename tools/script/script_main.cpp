// kestrava-script: the game's own start-up and frame loop with three substitutions — a
// virtual clock, a keyboard fed from a file (or both from a recorded game), and presenting
// without sleeping — so a flight can be replayed bit for bit, traced, photographed and
// listened to.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "draw2d/es2/es2_plane_driver.h"
#include "draw2d/graphics.h"
#include "draw2d/null_plane_driver.h"
#include "game/kestrava.h"
#include "game/version.h"
#include "game/trace.h"
#include "platform/error.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/replay_system.h"
#include "platform/headless/script_system.h"
#include "platform/output_file.h"
#include "platform/system.h"
#include "tools/script/display.h"
#include "tools/script/memory.h"
#include "tools/script/options.h"
#include "tools/script/outputs.h"

namespace {

constexpr int kAudioFramesPerPass = 44100 / 60;   // 735: the mixer keeps step with the clock

using Clock = std::chrono::steady_clock;

// The SIGTERM, SIGINT or SIGHUP that asked the run to stop, 0 while none has.
volatile std::sig_atomic_t stopSignal = 0;

void AskToStop(int signal) { stopSignal = signal; }

// SIGTERM, SIGINT and SIGHUP (the terminal closed) end the run after the pass in progress,
// its files complete; a second one ends it at once. Installed before SDL starts, which then
// leaves them alone; a signal the runner was started ignoring (SIGINT in a background job,
// SIGHUP under nohup) stays ignored.
void CatchStopSignals() {
#ifdef _WIN32
    // Ctrl+C in the console arrives as SIGINT; the handler is reset on delivery.
    for (int signal : {SIGTERM, SIGINT}) std::signal(signal, AskToStop);
#else
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction action {}, before {};
        action.sa_handler = AskToStop;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        if (sigaction(signal, &action, &before) == 0 && before.sa_handler == SIG_IGN)
            sigaction(signal, &before, nullptr);
    }
#endif
}

// The name the stop message gives the signal.
const char* SignalName(int signal) {
#ifdef SIGHUP
    if (signal == SIGHUP) return "SIGHUP";
#endif
    return signal == SIGINT ? "SIGINT" : "SIGTERM";
}

// --stats: the spread of the passes' wall times (sorted here) and the peak memory.
void PrintStats(std::vector<double>& micros) {
    if (micros.empty()) return;
    std::sort(micros.begin(), micros.end());
    auto at = [&](double q) { return micros[static_cast<size_t>(q * (micros.size() - 1) + 0.5)]; };
    std::printf("passes: %zu\n", micros.size());
    std::printf("wall time per pass (us): min %.0f, median %.0f, p99 %.0f, max %.0f\n",
                micros.front(), at(0.5), at(0.99), micros.back());
    std::printf("peak resident memory: %ld KiB\n", PeakResidentKiB());
}

// One run of the game on the runner's clock and keys: what feeds it, and what it writes and
// watches after every pass.
class TScriptRun {
public:
    explicit TScriptRun(const TScriptOptions& options) : options_(options), script_(options.clockStart) {}

    // Loads the keys or the recording and checks the files asked for, opening none yet:
    // 0, or the status to exit with and a one-line message in *error.
    int Prepare(std::string* error);
    // Installs the platform and runs the game to its end or the runner's, the files opened
    // once it has started; the game's status.
    int Run();
    // Checks what the run owed (a faithful replay, every picture), closes the files and
    // prints the statistics; the program's exit status.
    int Finish(int status);

private:
    // Only pictures and their timing need a display: otherwise the null driver draws the frames.
    bool Drawn() const { return !options_.shots.empty() || options_.stats; }
    bool OpenOutputs();
    void BeforePass(int pass);
    bool AfterPass(int pass);
    void SaveShots(int pass);
    void ReportMissedPasses();

    const TScriptOptions& options_;
    TScriptSystemDriver script_;
    TReplaySystemDriver replay_;
    bool replaying_ = false;
    TTraceFile trace_;
    TWavWriter audio_;
    std::vector<double> passMicros_;
    std::vector<int16_t> samples_ = std::vector<int16_t>(kAudioFramesPerPass * 2);
    std::vector<uint8_t> pixels_;
    Clock::time_point passStart_;
    bool failed_ = false;
    bool stoppedByRunner_ = false;
    int lastPass_ = 0;
};

// "the picture of pass F", as messages name a screenshot.
std::string ShotName(const TScriptShot& shot) { return "the picture of pass " + std::to_string(shot.frame); }

int TScriptRun::Prepare(std::string* error) {
    if (!options_.keysPath.empty() && !script_.LoadKeys(options_.keysPath, error)) return 2;
    replaying_ = !options_.replayPath.empty();
    if (replaying_ && !replay_.Load(options_.replayPath, error)) return 2;
    std::vector<TFileUse> files;
    if (!options_.keysPath.empty()) files.push_back({options_.keysPath, "the keys", false});
    if (replaying_) files.push_back({options_.replayPath, "the recording", false});
    if (!options_.tracePath.empty()) files.push_back({options_.tracePath, "the trace"});
    if (!options_.audioPath.empty()) files.push_back({options_.audioPath, "the audio capture"});
    for (const TScriptShot& shot : options_.shots) files.push_back({shot.path, ShotName(shot)});
    TWindowDriver* window = nullptr;
    TPlaneDriver* planeDriver = nullptr;
    if (Drawn() && !ScriptDisplay(&window, &planeDriver)) {
        *error = "--shot and --stats draw with OpenGL, which this build has not";
        return 2;
    }
    return CheckFiles(files, error);
}

bool TScriptRun::OpenOutputs() {
    std::string error;
    if ((options_.tracePath.empty() || trace_.Open(options_.tracePath, &error)) &&
        (options_.audioPath.empty() || audio_.Open(options_.audioPath, &error)))
        return true;
    std::fprintf(stderr, "kestrava-script: %s\n", error.c_str());
    return false;
}

int TScriptRun::Run() {
    // The scripted (or recorded) clock and keyboard; a real window only for pictures or timing.
    TPlatform platform = HeadlessPlatform();
    platform.system = replaying_ ? static_cast<TSystemDriver*>(&replay_) : &script_;
    TPlaneDriver* planeDriver = NullPlaneDriver();
    if (Drawn()) ScriptDisplay(&platform.window, &planeDriver);
    InstallPlatform(platform);

    TGameHooks hooks;
    hooks.audioMode = TAudioOutputMode::Manual;
    hooks.planeDriver = Drawn() && options_.gles ? ES2PlaneDriver() : planeDriver;
    hooks.started = [this] { return OpenOutputs(); };
    hooks.beforePass = [this](int pass) { BeforePass(pass); };
    hooks.afterPass = [this](int pass) { return AfterPass(pass); };
    return RunKestrava(hooks);
}

void TScriptRun::BeforePass(int pass) {
    if (replaying_)
        replay_.BeginPass(pass);
    else
        script_.BeginPass(pass);
    passStart_ = Clock::now();
}

bool TScriptRun::AfterPass(int pass) {
    if (replaying_) replay_.EndPass();
    lastPass_ = pass;
    if (options_.stats) {
        passMicros_.push_back(std::chrono::duration<double, std::micro>(Clock::now() - passStart_).count());
    }
    if (audio_.IsOpen()) {
        MixAudioFrames(samples_.data(), kAudioFramesPerPass);
        if (!audio_.Append(samples_.data(), kAudioFramesPerPass)) failed_ = true;
    }
    if (trace_.IsOpen() && !trace_.Write(pass)) failed_ = true;
    SaveShots(pass);
    for (int frame : options_.memoryAt)
        if (frame == pass) PrintMemoryAt(pass);
    // A faithful replay ends in the loop test of the last recorded pass, before this point.
    // A file that could not be written ends the run: what follows would be lost too.
    stoppedByRunner_ = stopSignal != 0 || failed_ || (options_.frames != 0 && pass >= options_.frames) ||
                       (replaying_ && pass >= replay_.LastPass());
    return !stoppedByRunner_;
}

void TScriptRun::SaveShots(int pass) {
    for (const TScriptShot& shot : options_.shots) {
        if (shot.frame != pass) continue;
        const int w = GraphicsWidth(), h = GraphicsHeight();
        pixels_.resize(static_cast<size_t>(w) * h * 4);
        std::string error = "cannot write " + ShotName(shot) + " " + shot.path + ": the frame could not be read";
        if (!ReadFramePixels(0, 0, w, h, pixels_.data()) ||
            !WritePng(shot.path, ShotName(shot), pixels_.data(), w, h, &error)) {
            std::fprintf(stderr, "kestrava-script: %s\n", error.c_str());
            failed_ = true;
        }
    }
}

// A run that ended sooner than asked (a replay's length is not known beforehand) says so.
void TScriptRun::ReportMissedPasses() {
    if (stopSignal != 0 || failed_) return;
    for (const TScriptShot& shot : options_.shots) {
        if (shot.frame <= lastPass_) continue;
        std::fprintf(stderr, "kestrava-script: no picture of pass %d for %s: the run ended after pass %d\n",
                     shot.frame, shot.path.c_str(), lastPass_);
        failed_ = true;
    }
    for (int frame : options_.memoryAt) {
        if (frame <= lastPass_) continue;
        std::fprintf(stderr, "kestrava-script: no memory figures for pass %d: the run ended after pass %d\n",
                     frame, lastPass_);
        failed_ = true;
    }
}

int TScriptRun::Finish(int status) {
    if (replaying_) {
        replay_.Finish(status == 0 && !stoppedByRunner_);
        if (!replay_.Divergence().empty()) {
            std::fprintf(stderr, "kestrava-script: %s: %s\n", options_.replayPath.c_str(),
                         replay_.Divergence().c_str());
            failed_ = true;
        } else if (replay_.CutOff() && lastPass_ >= replay_.LastPass()) {
            std::fprintf(stderr, "kestrava-script: %s: the recording was cut off after pass %d; replayed up to there\n",
                         options_.replayPath.c_str(), replay_.LastPass());
        }
    }
    ReportMissedPasses();
    // Close the window while the scripted driver still exists: closing takes in events.
    EndGraphics();
    InstallPlatform(HeadlessPlatform());
    std::string traceError, audioError;
    trace_.Close(&traceError);
    audio_.Close(&audioError);
    for (const std::string& error : {traceError, audioError}) {
        if (error.empty()) continue;
        std::fprintf(stderr, "kestrava-script: %s\n", error.c_str());
        failed_ = true;
    }
    if (options_.stats) PrintStats(passMicros_);
    if (status == 0 && failed_) status = 1;
    if (stopSignal != 0) {
        std::fprintf(stderr, "kestrava-script: stopped by %s after pass %d\n",
                     SignalName(stopSignal), lastPass_);
        if (status == 0) status = 128 + stopSignal;
    }
    return status;
}

int Main(int argc, char** argv) {
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
    TScriptRun run(options);
    if (const int status = run.Prepare(&error); status != 0) {
        std::fprintf(stderr, "kestrava-script: %s\n", error.c_str());
        return status;
    }
    // Only now: while the inputs load, a stop signal ends the program at once.
    CatchStopSignals();
    return run.Finish(run.Run());
}

}  // namespace

int main(int argc, char** argv) {
    SetProgramName("kestrava-script");
    return FlushStandardOutput(Main(argc, argv));
}
