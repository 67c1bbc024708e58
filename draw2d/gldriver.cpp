// The OpenGL drawing driver: turns the drawing state and the untextured primitives into
// immediate-mode OpenGL, skipping state changes its caches say are already in effect.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "assets/embedded.h"
#include "draw2d/draw.h"
#include "draw2d/font.h"
#include "draw2d/glgraphics.h"
#include "draw2d/plane.h"
#include "platform/numeric.h"
#include "platform/stream.h"


namespace {

// What the driver believes OpenGL has; SetGraphics forgets the first four.
struct TGLCache {
    int blendMode = 0;
    unsigned boundTexture = 0;
    bool textureEnabled = false;
    float lineWidth = 0;   // the width OpenGL holds; 0 = not known
    GLubyte colour[4] = {0, 0, 0, 0};
    float ix = 1, iy = 0, jx = 0, jy = 1;
};
TGLCache cache;

// The points of the unit circle an oval of `segments` vertices is drawn through: vertex i
// at i * 360 / segments degrees, anticlockwise from the rightmost point. Every frame draws
// hundreds of small ovals with the same few counts, so each count's table is made once;
// larger counts are worked out on the spot.
struct TCirclePoint {
    double cos, sin;
};
const int kTabledSegments = 256;

const std::vector<TCirclePoint>& UnitCircle(int segments, std::vector<TCirclePoint>& scratch) {
    static std::vector<TCirclePoint> tables[kTabledSegments / 4 + 1];
    const bool tabled = segments <= kTabledSegments;
    std::vector<TCirclePoint>& points = tabled ? tables[segments / 4] : scratch;
    if (tabled && static_cast<int>(points.size()) == segments) return points;
    points.resize(segments);
    for (int i = 0; i < segments; ++i) {
        double radians = i * 360.0 / segments * (M_PI / 180.0);
        points[i] = {std::cos(radians), std::sin(radians)};
    }
    return points;
}

// A local point through the drawing matrix, plus the translation.
void TransformedVertex(double x, double y, double tx, double ty, double shift = 0) {
    glVertex2f(static_cast<float>(x * cache.ix + y * cache.iy + tx + shift),
               static_cast<float>(x * cache.jx + y * cache.jy + ty + shift));
}

struct TGLPlaneDriver : TPlaneDriver {
    const char* ToString() const { return "OpenGL"; }

    // A new window-level graphics wrapped as drawing-level graphics.
    TGraphicsPtr CreateGraphics(int width, int height, int depth, int hz, int flags) override {
        TGraphicsPtr inner = GLGraphicsDriver()->CreateGraphics(width, height, depth, hz, flags);
        if (!inner) return nullptr;
        auto g = std::make_shared<TPlaneGraphics>();
        g->glGraphics = inner;
        g->driver = this;
        return g;
    }

    // Makes g current and installs the 2D projection: one unit per pixel, y down.
    void SetGraphics(const TGraphicsPtr& g) override {
        if (!g) {
            SetPlaneGraphics(nullptr);
            GLGraphicsDriver()->SetGraphics(nullptr);
            return;
        }
        auto* plane = static_cast<TPlaneGraphics*>(g.get());
        GLGraphicsDriver()->SetGraphics(plane->glGraphics);
        cache.blendMode = 0;
        cache.boundTexture = 0;
        cache.textureEnabled = false;
        cache.lineWidth = 0;
        glDisable(GL_TEXTURE_2D);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, GraphicsWidth(), GraphicsHeight(), 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glViewport(0, 0, GraphicsWidth(), GraphicsHeight());
        SetPlaneGraphics(plane);
        const TDrawState& s = plane->state;
        SetViewport(s.viewport_x, s.viewport_y, s.viewport_w, s.viewport_h);
        SetTransform(s.tform_ix, s.tform_iy, s.tform_jx, s.tform_jy);
        SetColor(s.color_red, s.color_green, s.color_blue);
        SetAlpha(s.color_alpha);
    }

    void Flip(int sync) override { GLGraphicsDriver()->Flip(sync); }

    TImageFramePtr CreateFrameFromPixmap(const TPixmap& pixmap, int flags) override {
        return TGLImageFrame::CreateFromPixmap(pixmap, flags);
    }

    void SetBlend(int mode) override {
        if (mode == cache.blendMode) return;
        cache.blendMode = mode;
        switch (mode) {
        case BLEND_MASK:
            glDisable(GL_BLEND);
            glEnable(GL_ALPHA_TEST);
            glAlphaFunc(GL_GEQUAL, 0.5f);
            break;
        case BLEND_ALPHA:
        case BLEND_ADD:
        case BLEND_MULTIPLY:
            glEnable(GL_BLEND);
            if (mode == BLEND_ALPHA) glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            if (mode == BLEND_ADD) glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            if (mode == BLEND_MULTIPLY) glBlendFunc(GL_DST_COLOR, GL_ZERO);
            glDisable(GL_ALPHA_TEST);
            break;
        default:   // BLEND_SOLID and anything unknown
            glDisable(GL_BLEND);
            glDisable(GL_ALPHA_TEST);
            break;
        }
    }

    // Alpha 0..1 becomes a byte by truncation, so 0.5 gives 127.
    void SetAlpha(float alpha) override {
        float a = std::max(std::min(alpha, 1.0f), 0.0f);   // NaN stays NaN and becomes 0
        cache.colour[3] = static_cast<GLubyte>(TruncInt(static_cast<double>(a) * 255));
        glColor4ubv(cache.colour);
    }

    void SetColor(int red, int green, int blue) override {
        cache.colour[0] = static_cast<GLubyte>(std::min(std::max(red, 0), 255));
        cache.colour[1] = static_cast<GLubyte>(std::min(std::max(green, 0), 255));
        cache.colour[2] = static_cast<GLubyte>(std::min(std::max(blue, 0), 255));
        glColor4ubv(cache.colour);
    }

    void SetClsColor(int red, int green, int blue) override {
        glClearColor(std::min(std::max(red, 0), 255) / 255.0f,
                     std::min(std::max(green, 0), 255) / 255.0f,
                     std::min(std::max(blue, 0), 255) / 255.0f, 1.0f);
    }

    // The whole window means no scissoring; anything else scissors (OpenGL counts rows
    // from the bottom). A negative size clips everything.
    void SetViewport(int x, int y, int width, int height) override {
        if (x == 0 && y == 0 && width == GraphicsWidth() && height == GraphicsHeight()) {
            glDisable(GL_SCISSOR_TEST);
            return;
        }
        width = std::max(width, 0);
        height = std::max(height, 0);
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, GraphicsHeight() - y - height, width, height);
    }

    void SetTransform(float ix, float iy, float jx, float jy) override {
        cache.ix = ix;
        cache.iy = iy;
        cache.jx = jx;
        cache.jy = jy;
    }

    // Skipped when OpenGL already has this width. OpenGL refuses a width that is not
    // positive and keeps the old one, so such a width is sent but not remembered.
    void SetLineWidth(float width) override {
        if (width > 0 && width == cache.lineWidth) return;
        glLineWidth(width);
        if (width > 0) cache.lineWidth = width;
    }

    void Cls() override { glClear(GL_COLOR_BUFFER_BIT); }

    // One pixel, at the centre of the pixel (x, y).
    void Plot(float x, float y) override {
        GLEnableTexture(false);
        glBegin(GL_POINTS);
        GLRepeatColour();
        glVertex2f(static_cast<float>(x + 0.5), static_cast<float>(y + 0.5));
        glEnd();
    }

    void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override {
        GLEnableTexture(false);
        glBegin(GL_LINES);
        GLRepeatColour();
        TransformedVertex(x0, y0, tx, ty, 0.5);
        TransformedVertex(x1, y1, tx, ty, 0.5);
        glEnd();
    }

    void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) override {
        GLEnableTexture(false);
        glBegin(GL_QUADS);
        GLRepeatColour();
        TransformedVertex(x0, y0, tx, ty);
        TransformedVertex(x1, y0, tx, ty);
        TransformedVertex(x1, y1, tx, ty);
        TransformedVertex(x0, y1, tx, ty);
        glEnd();
    }

    // Starts at the rightmost point and runs anticlockwise on the screen.
    void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) override {
        double rx = (static_cast<double>(x1) - x0) * 0.5;
        double ry = (static_cast<double>(y1) - y0) * 0.5;
        double cx = x0 + rx, cy = y0 + ry;
        std::vector<TCirclePoint> scratch;
        const std::vector<TCirclePoint>& circle = UnitCircle(OvalSegments(x1 - x0, y1 - y0), scratch);
        GLEnableTexture(false);
        glBegin(GL_POLYGON);
        GLRepeatColour();
        for (const TCirclePoint& p : circle) TransformedVertex(cx + p.cos * rx, cy - p.sin * ry, tx, ty);
        glEnd();
    }

    // Fewer than three points, or an unpaired coordinate, draws nothing.
    void DrawPoly(const std::vector<float>& xy, float handleX, float handleY,
                  float originX, float originY) override {
        if (xy.size() < 6 || (xy.size() & 1)) return;
        GLEnableTexture(false);
        glBegin(GL_POLYGON);
        GLRepeatColour();
        for (size_t i = 0; i < xy.size(); i += 2)
            TransformedVertex(static_cast<double>(xy[i]) + handleX,
                              static_cast<double>(xy[i + 1]) + handleY, originX, originY);
        glEnd();
    }

    // Copies the pixmap's pixels to the window position (x, y), top row first.
    void DrawPixmap(const TPixmap& pixmap, int x, int y) override {
        TPixmapPtr rgba = pixmap.Convert(PIXEL_RGBA8888);
        if (!rgba) return;
        GLEnableTexture(false);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, rgba->pitch / 4);
        glRasterPos2i(0, 0);
        glBitmap(0, 0, 0, 0, static_cast<float>(x), static_cast<float>(-y), nullptr);
        glPixelZoom(1, -1);
        glDrawPixels(rgba->width, rgba->height, GL_RGBA, GL_UNSIGNED_BYTE, rgba->pixels);
        glPixelZoom(1, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }

    // The surface's pixels in a new RGBA pixmap; none when the rectangle leaves the window.
    TPixmapPtr GrabPixmap(int x, int y, int width, int height) override {
        if (width <= 0 || height <= 0) return nullptr;
        std::vector<uint8_t> rows(static_cast<size_t>(width) * height * 4);
        if (!ReadFramePixels(x, y, width, height, rows.data())) return nullptr;
        TPixmapPtr pixmap = TPixmap::Create(width, height, PIXEL_RGBA8888);
        for (int row = 0; row < height; ++row)
            std::memcpy(pixmap->PixelPtr(0, row), rows.data() + static_cast<size_t>(row) * width * 4,
                        static_cast<size_t>(width) * 4);
        return pixmap;
    }
};

}  // namespace

TPlaneDriver* GLPlaneDriver() {
    static TGLPlaneDriver driver;
    return &driver;
}

void GLBindTexture(unsigned name) {
    if (name == cache.boundTexture) return;
    cache.boundTexture = name;
    glBindTexture(GL_TEXTURE_2D, name);
}

// Consecutive primitives of different colours then batch into one draw: a colour sent only
// outside glBegin makes Mesa flush every primitive on its own.
void GLRepeatColour() { glColor4ubv(cache.colour); }

void GLEnableTexture(bool enabled) {
    if (enabled == cache.textureEnabled) return;
    cache.textureEnabled = enabled;
    if (enabled)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
}

// Truncated |rx| + |ry|, at least 12, a multiple of 4. Absurd sizes are capped so a huge
// oval costs a bounded number of vertices rather than billions.
int OvalSegments(float width, float height) {
    double rx = static_cast<double>(width) * 0.5, ry = static_cast<double>(height) * 0.5;
    int segments = TruncInt(std::fabs(rx) + std::fabs(ry));
    segments = std::min(std::max(segments, 12), 1 << 16);
    return segments & ~3;
}

// Registers the font files (the font module's first) and the OpenGL drawing driver.
void StartDrawLayer() {
    static bool started = false;
    if (started) return;
    started = true;
    StartFontModule();
    TEmbeddedFile font = EmbeddedFile("gldrawtextfont.bin");
    if (font.data) IncbinAdd("gldrawtextfont.bin", font.data, font.length);
    SetGraphicsDriver(GLPlaneDriver(), GFX_DOUBLEBUFFER);
    StartPixmapLoaders();
}
