// Shared setup for the scenery, bird and HUD tests.
#pragma once

#include <cstdint>

#include "draw2d/image.h"

// Opens 640x480 graphics drawn by the null plane driver, unless graphics of that size are
// open already (a pixel test opens the OpenGL window first); then puts the drawing state
// back to its defaults and clears.
bool OpenSceneryGraphics();
// Clears the test window to `background` (0xRRGGBB) in blend mode 3, and puts the game record
// back to a new game with empty lists, a black sky, the bird at rest and plain white images.
void ResetScenery(uint32_t background = 0);
TImagePtr SolidImage(int width, int height, uint32_t argb);
// The drawing colour now, as 0xRRGGBB.
int ColourNow();
// How many generator steps lead from `seed` to the current state (the generator is left alone).
int StepsSince(int seed);
void SkipSteps(int steps);
// A seed from which, after `stepsBefore` steps, whether Rand(lo, hi) gives `value` equals `hit`.
int SeedWhere(int stepsBefore, int lo, int hi, int value, bool hit);
