// Shared setup for the scenery, bird and HUD tests: a known game record, plain test images,
// and counting the generator's steps.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "draw2d/image.h"

// Puts the game record back to a new game's values (lists emptied, sky colour black, sun at
// (100, 100)) and gives it plain opaque white images of the real sizes.
void resetScenery();

// An opaque image of one colour (0xAARRGGBB), no filtering.
TImagePtr solidImage(int width, int height, uint32_t argb);

// How many generator steps lead from `seed` to the current state (-1 when none up to 100000).
// The generator is left where it was.
int stepsSince(int seed);

// A seed from which, after `stepsBefore` steps, Rand(lo, hi) gives `value` (hit) or not (miss).
int seedWhere(int stepsBefore, int lo, int hi, int value, bool hit);

// Advances the generator by `steps` steps.
void skipSteps(int steps);

// One pixel of the drawing surface.
struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};
Rgb pixelAt(int x, int y);
void PrintTo(const Rgb& c, std::ostream* os);

// Resets the shared test window's drawing state, clears it to the given colour and sets
// blend mode 3 (alpha 1, white, line width 1, scale 1).
void clearScreen(int red, int green, int blue);
