// What the OpenGL driver believes OpenGL holds (its caches) and what its OpenGL would really
// hold, kept side by side so the ES 2 driver draws the same picture: a textured batch binds and
// enables its texture past the caches, and a shape drawn after it while the cache still says
// "untextured" is textured by OpenGL at the last texture coordinate sent.
#pragma once

#include <cstdint>

#include "draw2d/es2/es2_renderer.h"

struct TES2State {
    // The OpenGL driver's caches.
    int blendMode = 0;
    unsigned boundTexture = 0;
    bool textureEnabled = false;
    uint8_t colour[4] = {0, 0, 0, 0};
    float ix = 1, iy = 0, jx = 0, jy = 1;
    // Its OpenGL's own state.
    unsigned texture = 0;            // bound
    bool texturing = false;          // enabled
    float u = 0, v = 0;              // the current texture coordinate
    float lineWidth = 1;
};

// The one record (one set of state per process, as the OpenGL driver's cache).
TES2State& ES2State();
// Binds a texture name, skipped when the cache says it is bound.
void ES2BindTexture(unsigned name);
// Enables or disables texturing, skipped when the cache says it is so already.
void ES2EnableTexture(bool enabled);
// Binds and enables a texture past the caches (a textured batch).
void ES2SelectTextureDirectly(unsigned name);
// A deleted texture name: no longer bound, and free for a new texture.
void ES2ForgetTexture(unsigned name);
// A vertex at (x, y) in the current colour, at the current texture coordinate.
TES2Vertex ES2Vertex(double x, double y);
// Queue shapes as OpenGL would draw them now: textured with the bound texture while
// texturing is on; the last vertex's texture coordinate becomes the current one. The shapes
// go as the triangles Mesa splits them into, their vertices in its order (which decides the
// last bit of what is interpolated across them): a polygon as 1 2 0, 2 3 0, ..., a quad as
// 0 1 3 and 1 2 3, a strip as 0 1 2, 2 1 3, 2 3 4, ...
void ES2QueuePolygon(const TES2Vertex* vertices, int count);
void ES2QueueQuad(const TES2Vertex* corners);
void ES2QueueStrip(const TES2Vertex* vertices, int count);
