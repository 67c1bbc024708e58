// The shapes become vertices queued for the renderer, placed as the OpenGL driver places its
// immediate-mode vertices; state changes the OpenGL driver's caches would skip are skipped too.
#include "draw2d/es2/es2_plane_driver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "draw2d/draw.h"
#include "draw2d/es2/es2_calls.h"
#include "draw2d/es2/es2_graphics.h"
#include "draw2d/es2/es2_image_frame.h"
#include "draw2d/es2/es2_line.h"
#include "draw2d/es2/es2_renderer.h"
#include "draw2d/es2/es2_state.h"
#include "draw2d/poly.h"
#include "draw2d/visible_cells.h"
#include "platform/numeric.h"

namespace {

// The unit circle an oval of `segments` vertices is drawn through, as the OpenGL driver's.
const std::vector<std::pair<double, double>>& UnitCircle(int segments, std::vector<std::pair<double, double>>& scratch) {
    static std::vector<std::pair<double, double>> tables[64 + 1];
    const bool tabled = segments <= 256;
    auto& points = tabled ? tables[segments / 4] : scratch;
    if (tabled && static_cast<int>(points.size()) == segments) return points;
    points.resize(segments);
    for (int i = 0; i < segments; ++i) {
        double radians = i * 360.0 / segments * (M_PI / 180.0);
        points[i] = {std::cos(radians), std::sin(radians)};
    }
    return points;
}

// A local point through the drawing matrix, plus the translation.
TES2Vertex TransformedVertex(double x, double y, double tx, double ty, double shift = 0) {
    const TES2State& s = ES2State();
    return ES2Vertex(static_cast<float>(x * s.ix + y * s.iy + tx + shift),
                     static_cast<float>(x * s.jx + y * s.jy + ty + shift));
}

// Where a point of the picture lands in window coordinates (rows counted upwards), worked out
// in float as Mesa works out the OpenGL driver's vertices (the projection in two roundings, the
// viewport in one fused step): the rasteriser decides a line's end pixels on these values,
// rounding and all, and a different last bit lights a different end pixel.
TES2Point WindowPoint(float x, float y) {
    const float width = static_cast<float>(GraphicsWidth()), height = static_cast<float>(GraphicsHeight());
    const float ndcX = x * (2.0f / width) + -1.0f, ndcY = y * (2.0f / (0.0f - height)) + 1.0f;
    return {std::fma(ndcX, (width * 0.5f), width * 0.5f), std::fma(ndcY, (height * 0.5f), height * 0.5f)};
}

// The line's quad, placed as the rasteriser places a line, in the colour and at the texture
// coordinate of its first end.
void QueueLine(const TES2Vertex& a, const TES2Vertex& b, float width) {
    const float height = static_cast<float>(GraphicsHeight());
    TES2Point corners[4];
    if (!ES2LineCorners(WindowPoint(a.x, a.y), WindowPoint(b.x, b.y), width, corners)) return;
    TES2Vertex quad[4] = {a, a, a, a};
    for (int i = 0; i < 4; ++i) {
        quad[i].x = corners[i].x;
        quad[i].y = height - corners[i].y;
    }
    ES2QueueQuad(quad);
}

// The pixel a point lights, found as the rasteriser finds it (the point's square edge in
// 1/256 pixel steps; a position on a pixel's left or bottom edge belongs to that pixel),
// filled as a pixel-sized quad: no rounding of point sizes or sprites comes into it.
void QueuePoint(const TES2Vertex& point) {
    const TES2Point at = WindowPoint(point.x, point.y);
    const long left = std::lround((at.x - 0.5f) * 256.0f) - 128, bottom = std::lround((at.y - 0.5f) * 256.0f) - 128;
    const float column = static_cast<float>((left + 256) >> 8);
    const float row = static_cast<float>(GraphicsHeight() - 1 - ((bottom + 256) >> 8));
    TES2Vertex quad[4] = {point, point, point, point};
    const float corners[4][2] = {{column, row}, {column + 1, row}, {column + 1, row + 1}, {column, row + 1}};
    for (int i = 0; i < 4; ++i) {
        quad[i].x = corners[i][0];
        quad[i].y = corners[i][1];
    }
    ES2QueueQuad(quad);
}

// TPoly's primitives gather their vertices until closed, then go to the renderer.
struct TES2TexturedBatch : TTexturedBatch {
    bool open = false;
    int mode = POLY_POLYGON;
    std::vector<TES2Vertex> vertices;

    void Initialise() override {}
    void Begin(TImageFrame& frame, int newMode) override {
        ES2SelectTextureDirectly(static_cast<TES2ImageFrame&>(frame).name);
        Open(newMode);
    }
    void Open(int newMode) override {
        Close();
        mode = newMode;
        open = true;
    }
    void Close() override {
        if (open && mode == POLY_POLYGON) ES2QueuePolygon(vertices.data(), static_cast<int>(vertices.size()));
        if (open && mode != POLY_POLYGON) ES2QueueStrip(vertices.data(), static_cast<int>(vertices.size()));
        vertices.clear();
        open = false;
    }
    bool IsOpen() const override { return open; }
    // A colour element's 32 bits are 0xAARRGGBB.
    void Vertices(const float* floats, int count) override {
        for (int i = 0; i < count; ++i) {
            const float* f = floats + i * 9;
            uint32_t argb;
            std::memcpy(&argb, &f[6], sizeof argb);
            TES2Vertex v{f[0], f[1], {uint8_t(argb >> 16), uint8_t(argb >> 8), uint8_t(argb), uint8_t(argb >> 24)},
                         f[7], f[8]};
            vertices.push_back(v);
        }
    }
};

struct TES2PlaneDriver : TPlaneDriver {
    TES2TexturedBatch batch;

    TGraphicsPtr Wrap(TGraphicsPtr inner) {
        if (!inner) return nullptr;
        auto g = std::make_shared<TPlaneGraphics>();
        g->glGraphics = std::move(inner);
        g->driver = this;
        return g;
    }

    TGraphicsPtr CreateGraphics(int width, int height, int depth, int hz, int flags) override {
        return Wrap(ES2GraphicsDriver()->CreateGraphics(width, height, depth, hz, flags));
    }
    TGraphicsPtr AttachGraphics(TGLWindow* view, int flags) override {
        return Wrap(ES2GraphicsDriver()->AttachGraphics(view, flags));
    }
    void SetGraphics(const TGraphicsPtr& g) override;
    std::vector<TGraphicsMode> GraphicsModes() override { return ES2GraphicsDriver()->GraphicsModes(); }
    void MoveMouse(int x, int y) override { ES2GraphicsDriver()->MoveMouse(x, y); }
    std::string GraphicsError() override { return ES2GraphicsDriver()->GraphicsError(); }
    bool ReadFramePixels(int x, int y, int width, int height, uint8_t* rgba) override {
        return ES2GraphicsDriver()->ReadFramePixels(x, y, width, height, rgba);
    }
    TImageFramePtr CreateFrameFromPixmap(const TPixmap& pixmap, int flags) override {
        return TES2ImageFrame::CreateFromPixmap(pixmap, flags);
    }

    void SetBlend(int mode) override {
        TES2State& s = ES2State();
        if (mode == s.blendMode) return;
        s.blendMode = mode;
        if (TES2Renderer* renderer = CurrentES2Renderer()) renderer->SetBlend(mode);
    }
    // Alpha 0..1 becomes a byte by truncation, so 0.5 gives 127.
    void SetAlpha(float alpha) override {
        float a = std::max(std::min(alpha, 1.0f), 0.0f);   // NaN stays NaN and becomes 0
        ES2State().colour[3] = static_cast<uint8_t>(TruncInt(static_cast<double>(a) * 255));
    }
    void SetColor(int red, int green, int blue) override {
        uint8_t* colour = ES2State().colour;
        colour[0] = static_cast<uint8_t>(std::min(std::max(red, 0), 255));
        colour[1] = static_cast<uint8_t>(std::min(std::max(green, 0), 255));
        colour[2] = static_cast<uint8_t>(std::min(std::max(blue, 0), 255));
    }
    void SetClsColor(int red, int green, int blue) override {
        if (TES2Renderer* renderer = CurrentES2Renderer())
            renderer->SetClearColour(std::min(std::max(red, 0), 255) / 255.0f,
                                     std::min(std::max(green, 0), 255) / 255.0f,
                                     std::min(std::max(blue, 0), 255) / 255.0f);
    }
    void SetViewport(int x, int y, int width, int height) override;
    void SetTransform(float ix, float iy, float jx, float jy) override {
        TES2State& s = ES2State();
        s.ix = ix;
        s.iy = iy;
        s.jx = jx;
        s.jy = jy;
    }
    // OpenGL refuses a width that is not positive and keeps the old one.
    void SetLineWidth(float width) override {
        if (width > 0) ES2State().lineWidth = width;
    }
    void Cls() override {
        if (TES2Renderer* renderer = CurrentES2Renderer()) renderer->Clear();
    }
    // Through the pixel's centre, so that the point lights that pixel and no neighbour.
    void Plot(float x, float y) override {
        ES2EnableTexture(false);
        QueuePoint(ES2Vertex(static_cast<float>(x + 0.5), static_cast<float>(y + 0.5)));
    }
    void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override {
        ES2EnableTexture(false);
        const TES2Vertex ends[2] = {TransformedVertex(x0, y0, tx, ty, 0.5), TransformedVertex(x1, y1, tx, ty, 0.5)};
        QueueLine(ends[0], ends[1], ES2State().lineWidth);
    }
    void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) override {
        ES2EnableTexture(false);
        const TES2Vertex corners[4] = {TransformedVertex(x0, y0, tx, ty), TransformedVertex(x1, y0, tx, ty),
                                       TransformedVertex(x1, y1, tx, ty), TransformedVertex(x0, y1, tx, ty)};
        ES2QueueQuad(corners);
    }
    void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawPoly(const std::vector<float>& xy, float handleX, float handleY, float originX, float originY) override;
    void DrawPixmap(const TPixmap& pixmap, int x, int y) override;
    TPixmapPtr GrabPixmap(int x, int y, int width, int height) override;
    void DrawFrameRegion(TImageFrame& frame, float x0, float y0, float x1, float y1, float tx, float ty, int sx,
                         int sy, int sw, int sh, int frameWidth, int frameHeight) override;
    bool DrawVisibleFrame(TImageFrame& frame, const TAlphaCoverage& visible, float x0, float y0, float x1, float y1,
                          float tx, float ty) override {
        return DrawVisibleCells(*this, frame, visible, x0, y0, x1, y1, tx, ty);
    }
    TTexturedBatch& TexturedBatch() override { return batch; }
    void Finish() override {
        if (TES2Renderer* renderer = CurrentES2Renderer()) {
            renderer->Flush();
            ES2().finish();
        }
    }
};

// Makes g current; its drawing state is sent again, the caches forgotten.
void TES2PlaneDriver::SetGraphics(const TGraphicsPtr& g) {
    batch.Close();
    if (!g) {
        SetPlaneGraphics(nullptr);
        ES2GraphicsDriver()->SetGraphics(nullptr);
        return;
    }
    auto* plane = static_cast<TPlaneGraphics*>(g.get());
    ES2GraphicsDriver()->SetGraphics(plane->glGraphics);
    TES2State& s = ES2State();
    s.blendMode = 0;
    s.boundTexture = 0;
    s.textureEnabled = s.texturing = false;
    CurrentES2Renderer()->SetTarget(GraphicsWidth(), GraphicsHeight());
    SetPlaneGraphics(plane);
    const TDrawState& d = plane->state;
    SetViewport(d.viewport_x, d.viewport_y, d.viewport_w, d.viewport_h);
    SetTransform(d.tform_ix, d.tform_iy, d.tform_jx, d.tform_jy);
    SetColor(d.color_red, d.color_green, d.color_blue);
    SetAlpha(d.color_alpha);
}

// The whole window means no scissoring; anything else scissors (rows counted from the
// bottom). A negative size clips everything.
void TES2PlaneDriver::SetViewport(int x, int y, int width, int height) {
    TES2Renderer* renderer = CurrentES2Renderer();
    if (!renderer) return;
    if (x == 0 && y == 0 && width == GraphicsWidth() && height == GraphicsHeight()) {
        renderer->SetScissor(false, 0, 0, 0, 0);
        return;
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
    renderer->SetScissor(true, x, GraphicsHeight() - y - height, width, height);
}

// Starts at the rightmost point and runs anticlockwise on the screen.
void TES2PlaneDriver::DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) {
    double rx = (static_cast<double>(x1) - x0) * 0.5;
    double ry = (static_cast<double>(y1) - y0) * 0.5;
    double cx = x0 + rx, cy = y0 + ry;
    std::vector<std::pair<double, double>> scratch;
    const auto& circle = UnitCircle(OvalSegments(x1 - x0, y1 - y0), scratch);
    ES2EnableTexture(false);
    std::vector<TES2Vertex> outline;
    outline.reserve(circle.size());
    for (const auto& [cos, sin] : circle) outline.push_back(TransformedVertex(cx + cos * rx, cy - sin * ry, tx, ty));
    ES2QueuePolygon(outline.data(), static_cast<int>(outline.size()));
}

// Fewer than three points, or an unpaired coordinate, draws nothing.
void TES2PlaneDriver::DrawPoly(const std::vector<float>& xy, float handleX, float handleY, float originX,
                               float originY) {
    if (xy.size() < 6 || (xy.size() & 1)) return;
    ES2EnableTexture(false);
    std::vector<TES2Vertex> outline;
    for (size_t i = 0; i < xy.size(); i += 2)
        outline.push_back(TransformedVertex(static_cast<double>(xy[i]) + handleX,
                                            static_cast<double>(xy[i + 1]) + handleY, originX, originY));
    ES2QueuePolygon(outline.data(), static_cast<int>(outline.size()));
}

// The pixels go up as a texture and are drawn as one quad, texel for pixel, past the drawing
// matrix and the colour, leaving the texture state as it was (as glDrawPixels does).
void TES2PlaneDriver::DrawPixmap(const TPixmap& pixmap, int x, int y) {
    TES2Renderer* renderer = CurrentES2Renderer();
    TPixmapPtr rgba = pixmap.Convert(PIXEL_RGBA8888);
    if (!rgba || !renderer) return;
    ES2EnableTexture(false);
    std::shared_ptr<TES2ImageFrame> frame = TES2ImageFrame::CreateFromPixmap(*rgba, 0);
    const float x1 = static_cast<float>(x + rgba->width), y1 = static_cast<float>(y + rgba->height);
    const TES2Vertex corners[6] = {
        {float(x), float(y), {255, 255, 255, 255}, 0, 0},          {x1, float(y), {255, 255, 255, 255}, frame->tex_u1, 0},
        {x1, y1, {255, 255, 255, 255}, frame->tex_u1, frame->tex_v1}, {float(x), float(y), {255, 255, 255, 255}, 0, 0},
        {x1, y1, {255, 255, 255, 255}, frame->tex_u1, frame->tex_v1}, {float(x), y1, {255, 255, 255, 255}, 0, frame->tex_v1}};
    renderer->Queue(frame->name, corners, 6);
    renderer->Flush();
}

TPixmapPtr TES2PlaneDriver::GrabPixmap(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    std::vector<uint8_t> rows(static_cast<size_t>(width) * height * 4);
    if (!ReadFramePixels(x, y, width, height, rows.data())) return nullptr;
    TPixmapPtr pixmap = TPixmap::Create(width, height, PIXEL_RGBA8888);
    for (int row = 0; row < height; ++row)
        std::memcpy(pixmap->PixelPtr(0, row), rows.data() + static_cast<size_t>(row) * width * 4,
                    static_cast<size_t>(width) * 4);
    return pixmap;
}

// The cell's texture coordinates: the pixel columns and rows over the frame's share of the
// texture, which is larger than the frame when padded to powers of two.
void TES2PlaneDriver::DrawFrameRegion(TImageFrame& frame, float x0, float y0, float x1, float y1, float tx,
                                      float ty, int sx, int sy, int sw, int sh, int frameWidth, int frameHeight) {
    auto& texture = static_cast<TES2ImageFrame&>(frame);
    const double perColumn = (texture.tex_u1 - texture.tex_u0) / frameWidth;
    const double perRow = (texture.tex_v1 - texture.tex_v0) / frameHeight;
    texture.DrawRegion(x0, y0, x1, y1, tx, ty, static_cast<float>(texture.tex_u0 + perColumn * sx),
                       static_cast<float>(texture.tex_v0 + perRow * sy),
                       static_cast<float>(texture.tex_u0 + perColumn * (sx + sw)),
                       static_cast<float>(texture.tex_v0 + perRow * (sy + sh)));
}

}  // namespace

TPlaneDriver* ES2PlaneDriver() {
    static TES2PlaneDriver* driver = new TES2PlaneDriver;   // never destroyed: see GLPlaneDriver
    return driver;
}
