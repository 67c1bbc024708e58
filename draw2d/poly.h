// Free-form textured polygons and strips with a colour per vertex, through the plane
// driver's textured batch.
#pragma once

#include <vector>

#include "draw2d/image.h"

enum : int { POLY_POLYGON = 9999939, POLY_LINE_STRIP_MODE = 12536753 };

// Nine floats per vertex: x, y, z, normal x, y, z, colour (the bits of 0xAARRGGBB), u, v.
struct TPoly {
    // Starts a run of batches (no frame selected yet).
    static void _Begin();
    // Ends the run, closing the open batch.
    static void _End();
    // Lets vertex colours colour the polygons; once, after the graphics are open.
    static void Initialise();
    // Selects the image frame's texture, opening a batch for a new frame, or for the same
    // frame when newBatch is 1 or its batch was closed.
    static void GetFrame(const TImagePtr& image, int frame, int mode, int newBatch);
    // Draws count floats of whole vertices with the frame's texture; closeBatch 1 closes the
    // batch. Fewer than 6 floats, or an odd count that is not whole vertices, draw nothing; the
    // floats of a last partial vertex are left out.
    static void Draw(const TImagePtr& image, int frame, const float* vertices, int count,
                     int mode, int closeBatch);
    // A textured line 2 * width thick between two coloured ends as one closed strip, with
    // half-dot caps when asked.
    static void Line(const TImagePtr& image, int frame, float x1, float y1, int colour1,
                     float x2, float y2, int colour2, float width, unsigned char caps,
                     unsigned char across);
};
