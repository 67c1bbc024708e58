// Textured polygons and strips with a colour per vertex, sent straight to OpenGL.
// Texturing is enabled and bound directly, past the driver's caches: the driver's next enable
// or bind is skipped when its cache already matches, and that is part of how frames look.
#include "draw2d/gl/gl_textured_batch.h"

#include <GL/gl.h>

#include <cstdint>
#include <cstring>

#include "draw2d/gl/gl_image_frame.h"
#include "draw2d/poly.h"

namespace {

const int kVertexSize = 9;

GLenum Primitive(int mode) { return mode == POLY_POLYGON ? GL_POLYGON : GL_TRIANGLE_STRIP; }

// Sends a colour element: its 32 bits are 0xAARRGGBB, sent as red, green, blue, alpha.
void SendColour(float element) {
    uint32_t argb;
    std::memcpy(&argb, &element, sizeof argb);
    const GLubyte rgba[4] = {static_cast<GLubyte>(argb >> 16), static_cast<GLubyte>(argb >> 8),
                             static_cast<GLubyte>(argb), static_cast<GLubyte>(argb >> 24)};
    glColor4ubv(rgba);
}

// Whether its glBegin is still open is tracked: OpenGL refuses a glEnd without a glBegin
// and a glBegin inside another.
struct TGLTexturedBatch : TTexturedBatch {
    bool open = false;

    void Initialise() override { glEnable(GL_COLOR_MATERIAL); }

    void Begin(TImageFrame& frame, int mode) override {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, static_cast<TGLImageFrame&>(frame).name);
        glShadeModel(GL_SMOOTH);
        Open(mode);
    }

    void Open(int mode) override {
        if (open) glEnd();
        glBegin(Primitive(mode));
        open = true;
    }

    void Close() override {
        if (open) glEnd();
        open = false;
    }

    bool IsOpen() const override { return open; }

    void Vertices(const float* vertices, int count) override {
        for (int i = 0; i < count; ++i) {
            const float* v = vertices + i * kVertexSize;
            SendColour(v[6]);
            glNormal3f(v[3], v[4], v[5]);
            glTexCoord2f(v[7], v[8]);
            glVertex3f(v[0], v[1], v[2]);
        }
    }
};

}  // namespace

TTexturedBatch& GLTexturedBatch() {
    static TGLTexturedBatch& batch = *new TGLTexturedBatch;   // never destroyed: see GLPlaneDriver
    return batch;
}
