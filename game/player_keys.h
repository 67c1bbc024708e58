// The keys that serve the player rather than the flight: P, Pause and a pad's Back pause and
// resume the game; F9 and F10 turn the sound down and up by a tenth, F8 mutes and unmutes it.
// They are taken from the events as they come, with no poll of their own, so a game polls
// exactly as often with them as without (and its recording replays where they do nothing).
#pragma once

#include <functional>

#include "platform/input.h"

// What the player's keys have asked for so far.
struct TPlayerKeys {
    bool pauseWhenAway = false;   // the window losing the focus or minimised pauses too
    bool pauseAsked = false;      // toggled by each press of a pause key
    bool ending = false;          // Escape or a quit request came: the loop test ends the game
    int volume = 100;             // the sound's level, 0 to 100
    bool muted = false;

    // Takes in one event; true when it changed the sound (OutputVolume has the new loudness).
    bool Take(const TEvent& event);
    // Whether the game should be paused now: asked, and not about to end.
    bool Paused() const { return pauseAsked && !ending; }
    // The loudness the output plays at: 0 while muted, else the level.
    int OutputVolume() const { return muted ? 0 : volume; }
};

// Starts taking the player's keys for a run; the sound keys start from the master volume as
// it stands. `paused` (may be empty) is told as every pause begins (true) and ends (false).
void StartPlayerKeys(bool pauseWhenAway, std::function<void(bool paused)> paused);
// Stops taking them, ending a pause in progress.
void StopPlayerKeys();
// Runs a turn of the frame loop if the game is paused or was asked to pause: takes in the
// events and shows the held frame with a "Paused" line over it, paced as any frame, and
// returns true (no pass may run). False when the pass should run: no pause was asked for, or
// the pause has just ended (a pause key, Escape or a quit request), the picture and the sound
// then back as they were.
bool PausedTurn();
