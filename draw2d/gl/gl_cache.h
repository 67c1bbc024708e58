// What the OpenGL plane driver believes OpenGL holds, so it can skip state changes that are
// already in effect. Shared by the driver and the image frames it makes.
#pragma once

#include <GL/gl.h>

struct TGLCache {
    int blendMode = 0;
    unsigned boundTexture = 0;
    bool textureEnabled = false;
    float lineWidth = 0;   // the width OpenGL holds; 0 = not known
    GLubyte colour[4] = {0, 0, 0, 0};
    float ix = 1, iy = 0, jx = 0, jy = 1;
};

// The one cache (one set of OpenGL state per process).
TGLCache& GLCache();

// Binds a texture name, skipped when the cache says it is bound.
void GLBindTexture(unsigned name);
// Enables or disables texturing, skipped when the cache says it is so already.
void GLEnableTexture(bool enabled);
// Sends the current colour again; call it right after glBegin so that primitives of
// different colours still batch together (much faster on Mesa). Changes nothing drawn.
void GLRepeatColour();
// Tells the cache a texture name was deleted: a new texture may get the same name, and
// must then really be bound.
void GLForgetTexture(unsigned name);
