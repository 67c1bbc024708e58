// The embedded pictures, painted by code so every build makes the same bytes.
#pragma once

#include <vector>

// An 8-bit picture, rows top to bottom, channels interleaved (3 = RGB, 4 = RGBA).
struct Picture {
    int width = 0;
    int height = 0;
    int channels = 3;
    std::vector<unsigned char> pixels;
};

// A picture of the given size with every byte zero.
Picture BlankPicture(int width, int height, int channels);

// Stores one pixel; components are rounded and clamped to 0..255.
void SetPixel(Picture& picture, int x, int y, double r, double g, double b, double a = 255.0);

// The pale feathered wing with a magenta band below the feather tips.
Picture PaintWing();
// The soft grey light puff, black at its border.
Picture PaintSpark();
// The green island seen from above on white.
Picture PaintIsland();
// Two pale chevron outlines pointing up, on transparency.
Picture PaintArrow();

// Writes the picture as a non-interlaced 8-bit PNG with fixed compression settings.
bool WritePng(const Picture& picture, const char* path);
