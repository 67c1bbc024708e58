// The OpenGL plane driver's cache of OpenGL state.
#include "draw2d/gl/gl_cache.h"

TGLCache& GLCache() {
    static TGLCache& cache = *new TGLCache;   // never destroyed: see GLPlaneDriver
    return cache;
}

void GLBindTexture(unsigned name) {
    TGLCache& cache = GLCache();
    if (name == cache.boundTexture) return;
    cache.boundTexture = name;
    glBindTexture(GL_TEXTURE_2D, name);
}

// Consecutive primitives of different colours then batch into one draw: a colour sent only
// outside glBegin makes Mesa flush every primitive on its own.
void GLRepeatColour() { glColor4ubv(GLCache().colour); }

void GLEnableTexture(bool enabled) {
    TGLCache& cache = GLCache();
    if (enabled == cache.textureEnabled) return;
    cache.textureEnabled = enabled;
    if (enabled)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
}

void GLForgetTexture(unsigned name) {
    TGLCache& cache = GLCache();
    if (cache.boundTexture == name) cache.boundTexture = 0;
}
