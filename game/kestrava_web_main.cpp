// The game's entry on a page: the web platform, the ES 2 drawing, and the frame loop run a turn
// at a time from the browser's animation frames. With no arguments it is the game alone.
//
// The page passes arguments for its tests: --keys-text SCRIPT runs on the scripted runner's
// virtual clock and keys (SCRIPT as a key file holds them), mixing a pass's sound after each
// pass as the runner does and handing it to Web Audio; --clock-start S and --frames N as the
// runner's.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "draw2d/es2/es2_plane_driver.h"
#include "game/kestrava.h"
#include "platform/error.h"
#include "platform/headless/script_system.h"
#include "platform/pausable_clock.h"
#include "platform/web/web_platform.h"

namespace {

constexpr int kAudioFramesPerPass = 44100 / 60;   // 735: the mixer keeps step with the clock
constexpr const char* kKeysPath = "/keys.txt";

// The page's test arguments.
struct TWebOptions {
    bool scripted = false;
    std::string keys;
    int clockStart = 100000;
    int frames = 0;   // 0: no end
};

// The arguments, or false having said which is wrong.
bool ParseWebOptions(int argc, char** argv, TWebOptions* options) {
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (i + 1 >= argc) return std::fprintf(stderr, "kestrava: %s wants a value\n", flag.c_str()), false;
        const char* value = argv[++i];
        if (flag == "--keys-text") {
            options->scripted = true;
            options->keys = value;
        } else if (flag == "--clock-start") {
            options->clockStart = std::atoi(value);
        } else if (flag == "--frames") {
            options->frames = std::atoi(value);
        } else {
            return std::fprintf(stderr, "kestrava: unknown argument %s\n", flag.c_str()), false;
        }
    }
    return true;
}

// The scripted run: the runner's clock and keys, the runner's mixing heard through Web Audio.
bool ScriptRun(const TWebOptions& options, TGameHooks* hooks) {
    static TScriptSystemDriver script(options.clockStart);
    FILE* file = std::fopen(kKeysPath, "w");
    if (!file || std::fputs(options.keys.c_str(), file) < 0 || std::fclose(file) != 0) return false;
    std::string error;
    if (!script.LoadKeys(kKeysPath, &error)) return std::fprintf(stderr, "kestrava: %s\n", error.c_str()), false;
    TPlatform platform = WebPlatform();
    platform.system = &script;
    InstallPlatform(platform);
    UseQueuedWebAudio();
    hooks->audioMode = TAudioOutputMode::Manual;
    hooks->beforePass = [](int pass) { script.BeginPass(pass); };
    hooks->afterPass = [frames = options.frames](int pass) {
        static std::vector<int16_t> samples(kAudioFramesPerPass * 2);
        MixAudioFrames(samples.data(), kAudioFramesPerPass);
        QueueWebAudio(samples.data(), kAudioFramesPerPass);
        return frames == 0 || pass < frames;
    };
    return true;
}

// The player's run: the page's clock, held while the game is paused, and the player's keys.
void PlayerRun(TGameHooks* hooks) {
    static TPausableClockDriver clock(WebPlatform().system);
    TPlatform platform = WebPlatform();
    platform.system = &clock;
    InstallPlatform(platform);
    hooks->playerKeys = true;
    hooks->paused = [](bool paused) { clock.Hold(paused); };
}

void Ended() {
    const int status = EndKestrava();
    if (status != 0) std::fprintf(stderr, "kestrava: the game ended with status %d\n", status);
}

}  // namespace

int main(int argc, char** argv) {
    SetProgramName("kestrava");
    TWebOptions options;
    if (!ParseWebOptions(argc, argv, &options)) return 2;
    TGameHooks hooks;
    hooks.planeDriver = ES2PlaneDriver();
    if (options.scripted) {
        if (!ScriptRun(options, &hooks)) return 2;
    } else {
        PlayerRun(&hooks);
    }
    if (!StartKestrava(hooks)) return EndKestrava();
    RunWebLoop(StepKestrava, Ended);
    return 0;
}
