// Textured polygons and strips with a colour per vertex, sent straight to OpenGL.
// Texturing is enabled and bound directly, past the layer's caches: the layer's next enable
// or bind is skipped when its cache already matches, and that is part of how frames look.
#include "draw2d/poly.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

const int kVertexSize = 9;

// The frame whose texture the batch uses, and whether its glBegin is still open. OpenGL
// refuses a glEnd without a glBegin and a glBegin inside another, so both are tracked.
std::shared_ptr<TGLImageFrame> GLFrame;
bool batchOpen = false;

GLenum Primitive(int mode) { return mode == POLY_POLYGON ? GL_POLYGON : GL_TRIANGLE_STRIP; }

void OpenBatch(int mode) {
    if (batchOpen) glEnd();
    glBegin(Primitive(mode));
    batchOpen = true;
}

void CloseBatch() {
    if (batchOpen) glEnd();
    batchOpen = false;
}

// Sends a colour element: its 32 bits are 0xAARRGGBB, sent as red, green, blue, alpha.
void SendColour(float element) {
    uint32_t argb;
    std::memcpy(&argb, &element, sizeof argb);
    const GLubyte rgba[4] = {static_cast<GLubyte>(argb >> 16), static_cast<GLubyte>(argb >> 8),
                             static_cast<GLubyte>(argb), static_cast<GLubyte>(argb >> 24)};
    glColor4ubv(rgba);
}

float ColourElement(int argb) {
    float element;
    std::memcpy(&element, &argb, sizeof element);
    return element;
}

}  // namespace

void TPoly::_Begin() { GLFrame = nullptr; }

void TPoly::_End() {
    GLFrame = nullptr;
    CloseBatch();
}

void TPoly::Initialise() { glEnable(GL_COLOR_MATERIAL); }

// Selects the frame's texture, opening a batch for a new frame (closing the old one) or, for
// the same frame, when newBatch is 1 or the last batch was closed.
void TPoly::GetFrame(const TImagePtr& image, int frame, int mode, int newBatch) {
    auto tex = image ? std::dynamic_pointer_cast<TGLImageFrame>(image->Frame(frame)) : nullptr;
    if (tex != GLFrame) {
        CloseBatch();
        GLFrame = tex;
        if (!tex) return;
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, tex->name);
        glShadeModel(GL_SMOOTH);
        OpenBatch(mode);
    } else if (tex && (newBatch == 1 || !batchOpen)) {
        OpenBatch(mode);
    }
}

// Emits whole vertices of nine floats each. Arrays shorter than 6, and odd lengths that are not
// a whole number of vertices, draw nothing; trailing elements of a partial vertex are ignored.
void TPoly::Draw(const TImagePtr& image, int frame, const float* vertices, int count, int mode, int closeBatch) {
    if (count < 6) return;
    if (count % 2 != 0 && count % kVertexSize != 0) return;
    GetFrame(image, frame, mode, closeBatch);
    if (!GLFrame) return;   // no texture to draw with: no batch is open
    for (int i = 0; i + kVertexSize <= count; i += kVertexSize) {
        const float* v = vertices + i;
        SendColour(v[6]);
        glNormal3f(v[3], v[4], v[5]);
        glTexCoord2f(v[7], v[8]);
        glVertex3f(v[0], v[1], v[2]);
    }
    if (closeBatch == 1) CloseBatch();
}

// A textured line 2 * width thick as one closed strip, with half-dot caps when asked.
// Both ends on one point give no direction, so nothing is drawn.
void TPoly::Line(const TImagePtr& image, int frame, float x1, float y1, int colour1, float x2, float y2,
                 int colour2, float width, unsigned char caps, unsigned char across) {
    double dx = static_cast<double>(x1) - x2, dy = static_cast<double>(y1) - y2;
    double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0) return;
    float ux = static_cast<float>(dx / len * width), uy = static_cast<float>(dy / len * width);
    float c1 = ColourElement(colour1), c2 = ColourElement(colour2);
    auto at = [](double v) { return static_cast<float>(v); };

    std::vector<float> v;
    auto add = [&](double x, double y, float colour, float u, float tv) {
        v.insert(v.end(), {at(x), at(y), 0.0f, 0.0f, 0.0f, 1.0f, colour, u, tv});
    };
    if (!caps) {
        bool a = across != 0;
        add(x1 - uy, y1 + ux, c1, 0, 0);
        add(x1 + uy, y1 - ux, c1, a ? 1 : 0, a ? 0 : 1);
        add(x2 - uy, y2 + ux, c2, a ? 0 : 1, a ? 1 : 0);
        add(x2 + uy, y2 - ux, c2, 1, 1);
    } else {
        add(static_cast<double>(x1) - uy + ux, static_cast<double>(y1) + ux + uy, c1, 1, 0);
        add(static_cast<double>(x1) + uy + ux, static_cast<double>(y1) - ux + uy, c1, 1, 1);
        add(x1 - uy, y1 + ux, c1, 0.4985f, 0);
        add(x1 + uy, y1 - ux, c1, 0.4985f, 1);
        add(x2 - uy, y2 + ux, c2, 0.5015f, 0);
        add(x2 + uy, y2 - ux, c2, 0.5015f, 1);
        add(static_cast<double>(x2) - uy - ux, static_cast<double>(y2) + ux - uy, c2, 1, 0);
        add(static_cast<double>(x2) + uy - ux, static_cast<double>(y2) - ux - uy, c2, 1, 1);
    }
    Draw(image, frame, v.data(), static_cast<int>(v.size()), POLY_LINE_STRIP_MODE, 1);
}
