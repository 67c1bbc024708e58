// The game's functions, in the order a frame runs them. Each returns 0 unless said otherwise.
#pragma once

#include <string>

#include "audio/sound.h"
#include "draw2d/image.h"
#include "game/globals.h"

// Game state and the frame loop (initvars and resetSmoothedCopies: globals.h).
int musicAndClockStep();     // the music step: picksound, PlaySound, clock, keyframes

// Input and game states.
int getInput();
int drawmenu();

// Music.
int loadSounds();
TSoundPtr picksound();

// The bird.
int updatebird();
int updatewind();
int drawBird();
int drawFlapStats();

// Scenery, back to front; each world record is spawned beside the layer that moves, draws
// and removes it.
int drawScreen();
double scrollStep();
int drawSunMoon();
int drawWaves();
int addWave();
int drawIsland();
int drawSpecks();
int addSpeck();
int drawClouds();
int addCloud();
int drawFeathers();
int addFeather(int x, int y);
int drawThings(int layer);
int addThing();

// How brightly the sun lights a point dx, dy pixels away from it: 100 under it, one less
// for every two pixels of distance.
int sunGlint(int dx, int dy);
// Sets the sky colour brightened by `glint`, each component jittered by Rand(-10, 10), the
// jitters drawn blue first.
void setGlintColor(int glint);

// Moves `value` toward `target` by `step`, as two tests one after the other: a value less
// than one step away is carried past the target and back, so it ends just short of it
// rather than on it. The step is added in double precision and the sum rounded to a float.
inline void stepToward(float& value, float target, double step) {
    if (value < target) value += step;
    if (value > target) value -= step;
}

// HUD and shared drawing helpers.
int drawWind();
int drawScore();
int drawOutlineText(const std::string& text, int x, int y);
std::string clockText(int hour, int minute);
int drawTextPoly(const TImagePtr& image, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
float FloatInt(int bits);
