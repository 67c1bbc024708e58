// The game's start-up sequence, the frame loop with its clock and sky-colour keyframes,
// and the music-and-clock step.
#include "game/kestrava.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

#include "assets/embedded.h"
#include "audio/sound.h"
#include "draw2d/draw.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/layer.h"
#include "draw2d/poly.h"
#include "game/game.h"
#include "game/player_keys.h"
#include "game/version.h"
#include "platform/error.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/stream.h"

namespace {

// The run in progress: its hooks (none when the game runs on its own), the pass the frame
// loop is at, and the exit status once something has failed.
struct TActiveRun {
    TGameHooks hooks;
    int pass = 1;
    int status = 0;
};
TActiveRun activeRun;

// The target sky colour set when the clock enters an hour; hours without a row keep theirs.
struct TSkyKeyframe {
    int hour;
    int r, g, b;
    bool sunReset;   // the sun (or moon) starts again from the left
};

constexpr TSkyKeyframe kSkyKeyframes[] = {
    {2, 0, 0, 40, false},      {4, 0, 0, 60, false},      {6, 100, 25, 5, true},
    {7, 32, 125, 222, false},  {10, 200, 200, 200, false}, {12, 50, 100, 200, false},
    {14, 35, 140, 220, false}, {16, 150, 100, 25, false}, {17, 128, 128, 128, true},
    {18, 64, 64, 64, false},   {20, 0, 0, 0, false},
};

// Applies the keyframe of the hour just entered, if it has one.
void enterHour(int hour) {
    for (const TSkyKeyframe& key : kSkyKeyframes) {
        if (key.hour != hour) continue;
        game.clsr = key.r;
        game.clsg = key.g;
        game.clsb = key.b;
        if (key.sunReset) game.sunx = 0.0f;
    }
}

// Adds the milliseconds since the previous frame to the music timer; the first frame adds
// the whole uptime. The clock only runs forward, so the difference counts as unsigned: a
// reading past the int range (a machine up for more than 24.9 days) still starts the music
// at once. The sum sticks at the largest int instead of wrapping.
void addElapsedTime() {
    const uint32_t elapsed = static_cast<uint32_t>(MilliSecsSince(game.oldtime, game.curtime));
    int64_t sum = int64_t{game.soundtimer} + elapsed;
    if (sum > INT_MAX) sum = INT_MAX;
    game.soundtimer = static_cast<int>(sum);
}

// One pass of the frame loop: clock, road cadence, sun drift, music step, the frame, input
// and simulation, then the game-over test.
void framePass() {
    game.curtime = MilliSecs();
    addElapsedTime();
    game.thingcount += 1;
    if (game.thingcount == 100) {
        addThing();
        game.thingcount = 0;
    }
    game.sunx += 0.03;
    game.suny += 0.001;
    if (game.soundtimer > 16000) musicAndClockStep();
    drawScreen();
    getInput();
    updatebird();
    updatewind();
    game.oldtime = game.curtime;
    if (game.life < 0) game.GAMESTATE = GAMESTATE_TITLE;
}

// Registers the embedded pictures and sounds so "incbin::" paths find them, in the order
// the build lists them: the eight music loops, then wing2, spark, island and arrow.
void registerEmbeddedFiles() {
    for (const TEmbeddedFile& file : GameEmbeddedFiles()) IncbinAdd(file.name, file.data, file.length);
}

// Loads the four images with the mask colours and handles each one needs.
void loadImages() {
    SetMaskColor(0, 0, 0);
    game.cloudimg = LoadImage("incbin::spark.png", 3);
    AutoMidHandle(1);   // every image from here on is handled at its centre, the clouds not
    game.arrowimg = LoadImage("incbin::arrow.png", 3);
    SetMaskColor(255, 0, 255);
    game.wingimg = LoadImage("incbin::wing2.png", 3);
    SetMaskColor(255, 255, 255);
    game.isleimg = LoadImage("incbin::island.png", 3);
    SetImageHandle(game.isleimg, 0, 0);
}

// Says, in one line, why the window could not be opened.
void reportNoWindow() {
    std::string why = GraphicsError();
    const char* videoWhy = nullptr;
    if (why.empty() && !WindowDriver().StartVideo(&videoWhy) && videoWhy) why = videoWhy;
    if (why.empty()) why = "the window or its OpenGL context could not be made";
    for (char& c : why)
        if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(stderr, "%s: cannot open the game window: %s\n", ProgramName(), why.c_str());
}

// Start-up from the window title to main; false when there is no window.
bool startUp(const TGameHooks& hooks) {
    StartStreams();
    StartDrawLayer(hooks.planeDriver);
    StartAudio(hooks.audioMode);   // without an audio device the game runs silent
    AppTitle = kKestravaTitle;   // "Kestrava v.0.4"
    if (!Graphics(640, 480, 0, 60, 0)) {
        reportNoWindow();
        return false;
    }
    resetSmoothedCopies();
    registerEmbeddedFiles();
    SetBlend(BLEND_ADD);
    loadImages();
    return true;
}

// Runs part of the game; an error raised by a service ends the run with its message, and
// with status 1. False when the part failed or the run is over.
template <typename TPart>
bool guarded(TPart part) {
    try {
        return part();
    } catch (const TRuntimeError& error) {
        std::fprintf(stderr, "%s: %s\n", ProgramName(), error.what());
        activeRun.status = 1;
        return false;
    }
}

// The game's main is startMain and then mainLoopTurn until it ends the loop (Escape or a
// quit request).
// What main does before its frame loop: clears the screen once, loads the music, resets.
void startMain() {
    SetClsColor(0, 128, 255);
    Cls();
    TPoly::Initialise();
    loadSounds();
    initvars();
}

// One turn of the frame loop: the loop test, then a pass; false when the loop has ended. A
// paused turn runs neither.
bool mainLoopTurn() {
    if (PausedTurn()) return true;
    const TGameHooks& hooks = activeRun.hooks;
    const int pass = activeRun.pass;
    if (hooks.beforePass) hooks.beforePass(pass);
    if (KeyHit(KEY_ESCAPE)) return false;
    if (AppTerminate()) return false;   // not asked when Escape was hit
    framePass();
    if (pass < INT_MAX) activeRun.pass = pass + 1;
    return !(hooks.afterPass && !hooks.afterPass(pass));
}

}  // namespace

// The music step: picks and starts the next loops, and moves the clock on.
int musicAndClockStep() {
    game.soundtimer = 0;
    PlaySound(picksound());
    game.minute += 5;
    if (game.GAMESTATE == GAMESTATE_TITLE) game.minute += 25;
    if (game.minute > 59) {
        game.minute = 0;   // not minute - 60: the rest of the hour is dropped
        game.hour += 1;
        if (game.hour > 23) game.hour = 0;
        enterHour(game.hour);
    }
    return 0;
}

bool StartKestrava(const TGameHooks& hooks) {
    activeRun = TActiveRun{hooks};
    const bool ready = guarded([] {
        const TGameHooks& run = activeRun.hooks;
        if (!startUp(run) || (run.started && !run.started())) return false;
        startMain();
        if (run.playerKeys) StartPlayerKeys(run.pauseWhenAway, run.paused);
        return true;
    });
    if (!ready) activeRun.status = 1;
    return ready;
}

bool StepKestrava() {
    return guarded(mainLoopTurn);
}

int EndKestrava() {
    StopPlayerKeys();
    activeRun.hooks = TGameHooks{};
    return activeRun.status;
}

int RunKestrava(const TGameHooks& hooks) {
    if (StartKestrava(hooks))
        while (StepKestrava()) {
        }
    return EndKestrava();
}
