// Lines as quads, placed where the desktop's software rasteriser places the lines of the
// OpenGL driver (a width of whole pixels, ends by the diamond-exit rule), so that WebGL, which
// draws no line wider than a pixel, and every other ES 2 renderer light the same pixels.
#pragma once

// A point in window coordinates: pixels from the bottom-left corner, rows counted upwards.
struct TES2Point {
    float x = 0, y = 0;
};

// The four corners of the line from a to b of the given width (rounded to whole pixels, one
// at least), in order round the quad; false for a line of no length.
bool ES2LineCorners(TES2Point a, TES2Point b, float width, TES2Point corners[4]);
