// The drawing level: graphics that carry a drawing state, and the driver interface that
// turns the drawing state, primitives, image frames and textured batches into pixels.
#pragma once

#include <memory>
#include <vector>

#include "draw2d/graphics.h"
#include "draw2d/pixmap.h"
#include "draw2d/state.h"

// The drawable form of one image frame, made by the plane driver (a texture for OpenGL).
struct TImageFrame {
    virtual ~TImageFrame() = default;
    // Draws the whole frame over the local rectangle (x0, y0)-(x1, y1) through the drawing
    // matrix, translated by (tx, ty).
    virtual void Draw(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    // Leaves the driver's state (texture, colour) as Draw would, drawing nothing: for a frame
    // that is not drawn because it would change no pixel.
    virtual void SelectWithoutDrawing() {}
};
using TImageFramePtr = std::shared_ptr<TImageFrame>;

// TPoly's batches of textured vertices with a colour each. Beginning a batch opens a
// primitive; the next vertices go into it until it is closed.
struct TTexturedBatch {
    virtual ~TTexturedBatch() = default;
    // Lets vertex colours colour the polygons (once, before the first batch).
    virtual void Initialise() = 0;
    // Selects the frame's texture straight past the driver's caches and opens a primitive
    // of `mode` (POLY_POLYGON or a triangle strip), closing one still open.
    virtual void Begin(TImageFrame& frame, int mode) = 0;
    // Opens a new primitive of `mode` with the texture already selected, closing one still open.
    virtual void Open(int mode) = 0;
    // Closes the open primitive; nothing when none is open.
    virtual void Close() = 0;
    // Whether a primitive is open.
    virtual bool IsOpen() const = 0;
    // Sends `count` whole vertices of nine floats each into the open primitive.
    virtual void Vertices(const float* vertices, int count) = 0;
};

struct TPlaneDriver : TGraphicsDriver {
    // The drawable form of a pixmap's pixels (flags: IMAGE_FILTERED, IMAGE_MIPMAPPED).
    virtual TImageFramePtr CreateFrameFromPixmap(const TPixmap& pixmap, int flags) = 0;
    // Blend mode, alpha, colour, clear colour, viewport, 2 by 2 matrix and line width for
    // what is drawn next.
    virtual void SetBlend(int mode) = 0;
    virtual void SetAlpha(float alpha) = 0;
    virtual void SetColor(int red, int green, int blue) = 0;
    virtual void SetClsColor(int red, int green, int blue) = 0;
    virtual void SetViewport(int x, int y, int width, int height) = 0;
    virtual void SetTransform(float ix, float iy, float jx, float jy) = 0;
    virtual void SetLineWidth(float width) = 0;
    // Clears the drawing surface (or the viewport) to the clear colour.
    virtual void Cls() = 0;
    // Lights the pixel at (x, y).
    virtual void Plot(float x, float y) = 0;
    // The shapes arrive as local geometry (relative to the handle) plus a translation.
    virtual void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    virtual void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    virtual void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    virtual void DrawPoly(const std::vector<float>& xy, float handleX, float handleY,
                          float originX, float originY) = 0;
    // Copies a pixmap's pixels to the window position (x, y).
    virtual void DrawPixmap(const TPixmap& pixmap, int x, int y) = 0;
    // The surface's pixels in a new pixmap; none when the rectangle leaves the window.
    virtual TPixmapPtr GrabPixmap(int x, int y, int width, int height) = 0;
    // Draws the pixels (sx, sy)-(sx + sw, sy + sh) of a frame made from a frameWidth by
    // frameHeight pixmap over the local rectangle, like TImageFrame::Draw (the font's atlas).
    virtual void DrawFrameRegion(TImageFrame& frame, float x0, float y0, float x1, float y1,
                                 float tx, float ty, int sx, int sy, int sw, int sh,
                                 int frameWidth, int frameHeight) = 0;
    // Draws the frame as TImageFrame::Draw does, but only over the parts of the window where
    // a pixel of `visible` (the frame's pixels with alpha) may land; the caller has made sure
    // the blend leaves a pixel under a transparent texel as it was, so the picture is the same.
    // False, drawing nothing, where the driver cannot tell the parts apart (the caller then
    // draws the whole frame).
    virtual bool DrawVisibleFrame(TImageFrame& /*frame*/, const TAlphaCoverage& /*visible*/, float /*x0*/,
                                  float /*y0*/, float /*x1*/, float /*y1*/, float /*tx*/, float /*ty*/) {
        return false;
    }
    // The driver's textured batch for TPoly.
    virtual TTexturedBatch& TexturedBatch() = 0;
    // Waits until everything sent so far has been drawn (for timing the picture's layers).
    virtual void Finish() {}
};

// Graphics with a drawing state, wrapping the window level's graphics.
struct TPlaneGraphics : TGraphics {
    TDrawState state;
    TGraphicsPtr glGraphics;          // the window level's graphics
    TPlaneDriver* driver = nullptr;
    int initialised = 0;

    TGraphicsDriver* Driver() override { return driver; }
    void GetSettings(int* width, int* height, int* depth, int* hz, int* flags) override {
        glGraphics->GetSettings(width, height, depth, hz, flags);
    }
    void Close() override { glGraphics->Close(); }
    TGraphics& Window() override { return *glGraphics; }
};
