// An image frame as an OpenGL ES 2 texture, padded to powers of two as the OpenGL driver pads
// it, so the same texture coordinates sample the same texels.
#pragma once

#include <memory>

#include "draw2d/pixmap.h"
#include "draw2d/plane.h"

struct TES2ImageFrame : TImageFrame {
    float tex_u0 = 0, tex_v0 = 0, tex_u1 = 1, tex_v1 = 1;
    unsigned name = 0;
    int context = 0;   // the context the texture was made in, 0 for none
    // Makes the frame's texture in the current graphics' context (none while no graphics are
    // current: it then draws untextured).
    static std::shared_ptr<TES2ImageFrame> CreateFromPixmap(const TPixmap& src, int flags);
    void Draw(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void SelectWithoutDrawing() override;
    // Draws the part (u0, v0)-(u1, v1) of the texture over the local rectangle.
    void DrawRegion(float x0, float y0, float x1, float y1, float tx, float ty, float u0, float v0, float u1,
                    float v1);
    ~TES2ImageFrame() override;   // deletes the texture while its context is current
};
