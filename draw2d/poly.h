// Free-form textured polygons and strips with a colour per vertex, straight through OpenGL.
#pragma once

#include <vector>

#include "draw2d/image.h"

enum : int { POLY_POLYGON = 9999939, POLY_LINE_STRIP_MODE = 12536753 };

// Nine floats per vertex: x, y, z, normal x, y, z, colour (the bits of 0xAARRGGBB), u, v.
struct TPoly {
    static void _Begin();
    static void _End();
    static void Initialise();
    static void GetFrame(const TImagePtr& image, int frame, int mode, int newBatch);
    static void Draw(const TImagePtr& image, int frame, const float* vertices, int count,
                     int mode, int closeBatch);
    static void Line(const TImagePtr& image, int frame, float x1, float y1, int colour1,
                     float x2, float y2, int colour2, float width, unsigned char caps,
                     unsigned char across);
};
