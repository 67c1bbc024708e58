// The OpenGL drawing driver: turns the drawing state and the untextured primitives into
// immediate-mode OpenGL, skipping state changes its caches say are already in effect.
#include "draw2d/gl/gl_plane_driver.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "draw2d/draw.h"
#include "draw2d/gl/gl_cache.h"
#include "draw2d/gl/gl_graphics.h"
#include "draw2d/gl/gl_image_frame.h"
#include "draw2d/gl/gl_textured_batch.h"
#include "draw2d/visible_cells.h"
#include "draw2d/plane.h"
#include "platform/numeric.h"

namespace {

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
    const TGLCache& cache = GLCache();
    glVertex2f(static_cast<float>(x * cache.ix + y * cache.iy + tx + shift),
               static_cast<float>(x * cache.jx + y * cache.jy + ty + shift));
}

struct TGLPlaneDriver : TPlaneDriver {
    const char* ToString() const { return "OpenGL"; }

    // Window-level graphics wrapped as drawing-level graphics; none for none.
    TGraphicsPtr Wrap(TGraphicsPtr inner) {
        if (!inner) return nullptr;
        auto g = std::make_shared<TPlaneGraphics>();
        g->glGraphics = std::move(inner);
        g->driver = this;
        return g;
    }

    TGraphicsPtr CreateGraphics(int width, int height, int depth, int hz, int flags) override {
        return Wrap(GLGraphicsDriver()->CreateGraphics(width, height, depth, hz, flags));
    }

    TGraphicsPtr AttachGraphics(TGLWindow* view, int flags) override {
        return Wrap(GLGraphicsDriver()->AttachGraphics(view, flags));
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
        TGLCache& cache = GLCache();
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

    std::vector<TGraphicsMode> GraphicsModes() override { return GLGraphicsDriver()->GraphicsModes(); }
    void MoveMouse(int x, int y) override { GLGraphicsDriver()->MoveMouse(x, y); }
    std::string GraphicsError() override { return GLGraphicsDriver()->GraphicsError(); }
    bool ReadFramePixels(int x, int y, int width, int height, uint8_t* rgba) override {
        return GLGraphicsDriver()->ReadFramePixels(x, y, width, height, rgba);
    }

    TImageFramePtr CreateFrameFromPixmap(const TPixmap& pixmap, int flags) override {
        return TGLImageFrame::CreateFromPixmap(pixmap, flags);
    }

    void SetBlend(int mode) override {
        TGLCache& cache = GLCache();
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
        TGLCache& cache = GLCache();
        cache.colour[3] = static_cast<GLubyte>(TruncInt(static_cast<double>(a) * 255));
        glColor4ubv(cache.colour);
    }

    void SetColor(int red, int green, int blue) override {
        TGLCache& cache = GLCache();
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
        TGLCache& cache = GLCache();
        cache.ix = ix;
        cache.iy = iy;
        cache.jx = jx;
        cache.jy = jy;
    }

    // Skipped when OpenGL already has this width. OpenGL refuses a width that is not
    // positive and keeps the old one, so such a width is sent but not remembered.
    void SetLineWidth(float width) override {
        TGLCache& cache = GLCache();
        if (width > 0 && width == cache.lineWidth) return;
        glLineWidth(width);
        if (width > 0) cache.lineWidth = width;
    }

    void Cls() override { glClear(GL_COLOR_BUFFER_BIT); }

    // Through the pixel's centre, so that the point lights that pixel and no neighbour.
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

    TPixmapPtr GrabPixmap(int x, int y, int width, int height) override {
        if (width <= 0 || height <= 0) return nullptr;
        std::vector<uint8_t> rows(static_cast<size_t>(width) * height * 4);
        if (!GLGraphicsDriver()->ReadFramePixels(x, y, width, height, rows.data())) return nullptr;
        TPixmapPtr pixmap = TPixmap::Create(width, height, PIXEL_RGBA8888);
        for (int row = 0; row < height; ++row)
            std::memcpy(pixmap->PixelPtr(0, row), rows.data() + static_cast<size_t>(row) * width * 4,
                        static_cast<size_t>(width) * 4);
        return pixmap;
    }

    // The cell's texture coordinates: the pixel columns and rows over the frame's share of
    // the texture, which is larger than the frame when padded to powers of two.
    void DrawFrameRegion(TImageFrame& frame, float x0, float y0, float x1, float y1, float tx, float ty,
                         int sx, int sy, int sw, int sh, int frameWidth, int frameHeight) override {
        auto& texture = static_cast<TGLImageFrame&>(frame);
        const double perColumn = (texture.tex_u1 - texture.tex_u0) / frameWidth;
        const double perRow = (texture.tex_v1 - texture.tex_v0) / frameHeight;
        texture.DrawRegion(x0, y0, x1, y1, tx, ty, static_cast<float>(texture.tex_u0 + perColumn * sx),
                           static_cast<float>(texture.tex_v0 + perRow * sy),
                           static_cast<float>(texture.tex_u0 + perColumn * (sx + sw)),
                           static_cast<float>(texture.tex_v0 + perRow * (sy + sh)));
    }

    bool DrawVisibleFrame(TImageFrame& frame, const TAlphaCoverage& visible, float x0, float y0, float x1, float y1,
                          float tx, float ty) override {
        return DrawVisibleCells(*this, frame, visible, x0, y0, x1, y1, tx, ty);
    }

    TTexturedBatch& TexturedBatch() override { return GLTexturedBatch(); }

    void Finish() override { glFinish(); }
};

}  // namespace

TPlaneDriver* GLPlaneDriver() {
    // Never destroyed: the graphics still open at exit are closed by a handler that may have
    // been registered before this driver was first asked for, and so would run after a
    // static driver's destructor.
    static TGLPlaneDriver* driver = new TGLPlaneDriver;
    return driver;
}

