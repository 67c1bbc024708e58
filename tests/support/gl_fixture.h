// Pixel tests: one 640 by 480 graphics window per test program, and reading back what
// OpenGL really drew on the drawing surface.
#pragma once

#include <cstdint>
#include <vector>

// Opens the window the first time (starting the drawing layer); every call then puts the
// drawing state back to its defaults (blend mode 1, white, alpha 1, scale 1, no handle,
// origin or rotation, line width 1, full-window viewport, black clear colour, mask colour
// black) and clears the surface to black. False when no window can be opened.
// Use: ASSERT_TRUE(OpenTestGraphics());
bool OpenTestGraphics();

// The surface pixel at (x, y) as 0xRRGGBB (alpha left out); 0xFF000000 outside the window.
uint32_t ReadPixel(int x, int y);
// A rectangle of the surface as 0xRRGGBB values, row by row from the top.
std::vector<uint32_t> ReadPixels(int x, int y, int width, int height);
// How many pixels of the rectangle are not black.
int CountLitPixels(int x, int y, int width, int height);
