// The null plane driver: graphics without a window, and drawing operations that draw nothing.
#include "draw2d/null_plane_driver.h"

#include <memory>

#include "draw2d/draw.h"

namespace {

// A window that is never opened: it remembers the settings it was created with.
struct TNullWindow : TGraphics {
    int width = 0, height = 0, depth = 0, hz = 0, flags = 0;

    TGraphicsDriver* Driver() override { return NullPlaneDriver(); }
    void GetSettings(int* w, int* h, int* d, int* r, int* f) override {
        *w = width;
        *h = height;
        *d = depth;
        *r = hz;
        *f = flags;
    }
    void Close() override {}
};

// An image frame without a texture.
struct TNullImageFrame : TImageFrame {
    void Draw(float, float, float, float, float, float) override {}
};

struct TNullTexturedBatch : TTexturedBatch {
    bool open = false;
    void Initialise() override {}
    void Begin(TImageFrame&, int) override { open = true; }
    void Open(int) override { open = true; }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    void Vertices(const float*, int) override {}
};

struct TNullPlaneDriver : TPlaneDriver {
    TNullTexturedBatch batch;

    TGraphicsPtr CreateGraphics(int width, int height, int depth, int hz, int flags) override {
        auto window = std::make_shared<TNullWindow>();
        window->width = width;
        window->height = height;
        window->depth = depth;
        window->hz = hz;
        window->flags = flags;
        auto g = std::make_shared<TPlaneGraphics>();
        g->glGraphics = window;
        g->driver = this;
        return g;
    }

    void SetGraphics(const TGraphicsPtr& g) override {
        SetPlaneGraphics(g ? static_cast<TPlaneGraphics*>(g.get()) : nullptr);
    }

    TImageFramePtr CreateFrameFromPixmap(const TPixmap&, int) override {
        return std::make_shared<TNullImageFrame>();
    }
    void SetBlend(int) override {}
    void SetAlpha(float) override {}
    void SetColor(int, int, int) override {}
    void SetClsColor(int, int, int) override {}
    void SetViewport(int, int, int, int) override {}
    void SetTransform(float, float, float, float) override {}
    void SetLineWidth(float) override {}
    void Cls() override {}
    void Plot(float, float) override {}
    void DrawLine(float, float, float, float, float, float) override {}
    void DrawRect(float, float, float, float, float, float) override {}
    void DrawOval(float, float, float, float, float, float) override {}
    void DrawPoly(const std::vector<float>&, float, float, float, float) override {}
    void DrawPixmap(const TPixmap&, int, int) override {}
    TPixmapPtr GrabPixmap(int, int, int, int) override { return nullptr; }
    void DrawFrameRegion(TImageFrame&, float, float, float, float, float, float, int, int, int, int, int,
                         int) override {}
    TTexturedBatch& TexturedBatch() override { return batch; }
};

}  // namespace

TPlaneDriver* NullPlaneDriver() {
    // Never destroyed, like the OpenGL driver: graphics still open at exit are closed through it.
    static TNullPlaneDriver* driver = new TNullPlaneDriver;
    return driver;
}
