// The drawing state and the untextured primitives, all under the current graphics.
#pragma once

#include <functional>
#include <vector>

#include "draw2d/blend.h"
#include "draw2d/pixmap.h"

struct TPlaneGraphics;

// Makes g's drawing state the one in use (none: a blank record, and no driver calls);
// the first time, sets it to the defaults and clears both buffers.
void SetPlaneGraphics(TPlaneGraphics* g);
// Puts the current graphics' drawing state and the layer-wide settings back to their
// defaults, in the order a new graphics object gets them.
void SetDrawingDefaults();
// How many vertices an oval of this size is drawn with: |width| / 2 + |height| / 2 truncated,
// at least 12 and at most 65536, rounded down to a multiple of 4.
int OvalSegments(float width, float height);

// The colour (each 0..255 when drawn) and alpha (0..1) of what is drawn next.
void SetColor(int red, int green, int blue);
void GetColor(int* red, int* green, int* blue);
void SetAlpha(float alpha);
float GetAlpha();
// How what is drawn next mixes with the picture (BLEND_...).
void SetBlend(int mode);
int GetBlend();
// The colour Cls clears to.
void SetClsColor(int red, int green, int blue);
void GetClsColor(int* red, int* green, int* blue);
// The width of lines drawn next.
void SetLineWidth(float width);
float GetLineWidth();
// The colour that becomes transparent in images loaded from now on.
void SetMaskColor(int red, int green, int blue);
void GetMaskColor(int* red, int* green, int* blue);
// The window rectangle drawing is clipped to.
void SetViewport(int x, int y, int width, int height);
void GetViewport(int* x, int* y, int* width, int* height);
// The offset added to every drawing position.
void SetOrigin(float x, float y);
void GetOrigin(float* x, float* y);
// The point of a shape or text that is drawn at the given position.
void SetHandle(float x, float y);
void GetHandle(float* x, float* y);
// The rotation (degrees) and scale shapes, images and text are drawn with.
void SetRotation(float degrees);
float GetRotation();
void SetScale(float x, float y);
void GetScale(float* x, float* y);
// Sets rotation and scale together.
void SetTransform(float degrees, float scaleX, float scaleY);

// Clears the picture (or the viewport) to the clear colour.
void Cls();
// Lights one pixel; only the origin moves it (not the handle, rotation or scale).
void Plot(float x, float y);
// A filled rectangle with its handle at (x, y).
void DrawRect(float x, float y, float width, float height);
// A line from (x, y) to (x2, y2); drawLastPixel lights the far end too, as one pixel
// whatever the line width.
void DrawLine(float x, float y, float x2, float y2, int drawLastPixel = 1);
// A filled oval inside the rectangle with its handle at (x, y).
void DrawOval(float x, float y, float width, float height);
// A filled polygon through the points x0, y0, x1, y1, ...
void DrawPoly(const std::vector<float>& xy);

// The whole picture as drawn so far, for PutPicture; none when it cannot be read back (the
// null driver draws nothing to read).
TPixmapPtr GrabPicture();
// Puts a picture from GrabPicture back exactly, pixel for pixel, whatever the blend (the
// drawing state stays as it was), within the viewport.
void PutPicture(const TPixmap& picture);

// Marks the end of one layer of the picture (the sea, the clouds, the fade...). While a layer
// timer is set, waits until the driver has drawn everything sent so far and tells the timer
// the layer's name; otherwise does nothing.
void EndLayer(const char* name);
// Sets the function told of each finished layer; an empty one turns layer timing off.
void SetLayerTimer(std::function<void(const char*)> timer);
