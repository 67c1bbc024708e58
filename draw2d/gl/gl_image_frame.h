// An image frame as an OpenGL texture: the upload of a pixmap and the textured quads.
#pragma once

#include <memory>

#include "draw2d/pixmap.h"
#include "draw2d/plane.h"

struct TGLImageFrame : TImageFrame {
    float tex_u0 = 0, tex_v0 = 0, tex_u1 = 1, tex_v1 = 1;
    unsigned name = 0;
    int seq = 0;
    // Makes the frame's texture in the shared context from the pixmap (padded to powers of
    // two); raises "Unable to calculate tex size" when OpenGL accepts no size at all.
    static std::shared_ptr<TGLImageFrame> CreateFromPixmap(const TPixmap& src, int flags);
    void Draw(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void SelectWithoutDrawing() override;
    // Draws the part (u0, v0)-(u1, v1) of the texture over the local rectangle.
    void DrawRegion(float x0, float y0, float x1, float y1, float tx, float ty,
                    float u0, float v0, float u1, float v1);
    ~TGLImageFrame() override;   // deletes the texture inside the shared context
};
