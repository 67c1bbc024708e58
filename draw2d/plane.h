// The drawing level: graphics that carry a drawing state, and the driver that turns the
// drawing state and primitives into OpenGL calls.
#pragma once

#include <vector>

#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/pixmap.h"
#include "draw2d/state.h"

struct TPlaneDriver : TGraphicsDriver {
    virtual TImageFramePtr CreateFrameFromPixmap(const TPixmap& pixmap, int flags) = 0;
    virtual void SetBlend(int mode) = 0;
    virtual void SetAlpha(float alpha) = 0;
    virtual void SetColor(int red, int green, int blue) = 0;
    virtual void SetClsColor(int red, int green, int blue) = 0;
    virtual void SetViewport(int x, int y, int width, int height) = 0;
    virtual void SetTransform(float ix, float iy, float jx, float jy) = 0;
    virtual void SetLineWidth(float width) = 0;
    virtual void Cls() = 0;
    virtual void Plot(float x, float y) = 0;
    // The shapes arrive as local geometry (relative to the handle) plus a translation.
    virtual void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    virtual void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    virtual void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    virtual void DrawPoly(const std::vector<float>& xy, float handleX, float handleY,
                          float originX, float originY) = 0;
    virtual void DrawPixmap(const TPixmap& pixmap, int x, int y) = 0;
    virtual TPixmapPtr GrabPixmap(int x, int y, int width, int height) = 0;
};

// Graphics with a drawing state, wrapping the window level's graphics.
struct TPlaneGraphics : TGraphics {
    TDrawState state;
    TGraphicsPtr glGraphics;
    TPlaneDriver* driver = nullptr;
    int initialised = 0;

    TGraphicsDriver* Driver() override { return driver; }
    void GetSettings(int* width, int* height, int* depth, int* hz, int* flags) override {
        glGraphics->GetSettings(width, height, depth, hz, flags);
    }
    void Close() override { glGraphics->Close(); }
};

TPlaneDriver* GLPlaneDriver();

// Makes g's drawing state the one in use (none: a blank record, and no driver calls);
// the first time, sets it to the defaults and clears both buffers.
void SetPlaneGraphics(TPlaneGraphics* g);
// The driver of the drawing state in use, or none.
TPlaneDriver* CurrentPlaneDriver();

// How many vertices an oval of this size is drawn with.
int OvalSegments(float width, float height);
