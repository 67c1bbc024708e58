// The score of the eight loops: one piece in C at 120 bpm, eight bars, layered by the game.
#pragma once

#include "assets/music/synth.h"

#include <vector>

// One note of a phrase: when it starts, how long it lasts (both in beats) and its pitch.
struct ScoreNote {
    double beat;
    double beats;
    int midi;
};

// Reads a phrase such as "E5:2 D5:1 C5:1 | B4:4": note name, octave, ':' length in beats;
// "r" is a rest; '|' marks a bar line, and every bar must add up to four beats.
std::vector<ScoreNote> Phrase(const char* text);

// Plays loop n (1 to 8) into a silent piece, for a loop file of `frames` frames. A note
// written to last to the end of bar 8 rings until the loop's last frame and fades out on it.
Stereo ComposeLoop(int n, int frames);
