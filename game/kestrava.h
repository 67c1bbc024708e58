// The game as a whole: its start-up sequence and frame loop, with the hooks the scripted
// runner uses to drive and observe it. The game itself runs with no hooks.
#pragma once

#include <functional>

#include "audio/sound.h"

struct TPlaneDriver;

struct TGameHooks {
    // The game plays through the system's audio output; the runner mixes on demand.
    TAudioOutputMode audioMode = TAudioOutputMode::System;
    // Called once the game has started (its window open, its sound and pictures ready),
    // before the first pass; returning false ends the run with status 1.
    std::function<bool()> started;
    // Called before the loop test that precedes pass F (F = 1, 2, ...).
    std::function<void(int pass)> beforePass;
    // Called at the end of pass F; returning false ends the loop.
    std::function<bool(int pass)> afterPass;
    // What draws the frames: GLPlaneDriver() for a window, none for the null driver (no display).
    TPlaneDriver* planeDriver = nullptr;
    // The player's own keys (game/player_keys.h): pause and sound. The game played by a person
    // has them; the runner's passes follow its script, which never pauses.
    bool playerKeys = false;
    // With playerKeys, the game also pauses when its window loses the focus or is minimised.
    bool pauseWhenAway = false;
    // Called as a pause begins (true) and ends (false), between two passes, so that what keeps
    // the time or records the game holds it; the turns in between run no pass and call no hook.
    std::function<void(bool paused)> paused;
};

// Runs the start-up sequence and main; returns the process exit status.
int RunKestrava(const TGameHooks& hooks);

// The same run in steps, for a host that owns the loop (a browser's animation frames).
// StartKestrava runs the start-up and what main does before its frame loop, keeping a copy
// of the hooks; false when the run is already over. StepKestrava runs one turn of the frame
// loop (the loop test, then a pass; or, paused, the held frame shown again); false once the
// loop has ended. EndKestrava returns the
// exit status. An error raised by a service ends the run with its message and status 1.
bool StartKestrava(const TGameHooks& hooks);
bool StepKestrava();
int EndKestrava();
