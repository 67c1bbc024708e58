// Each window gets a context of its own, sharing nothing: textures are made in the context
// of the graphics current when they are needed, which is how the drawing layer makes them.
#include "draw2d/es2/es2_graphics.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "draw2d/es2/es2_calls.h"
#include "platform/error.h"
#include "platform/platform.h"

namespace {

struct TES2Windows {
    TES2WindowRec* current = nullptr;
    std::string graphicsError;
    int contexts = 0;   // contexts made so far
};
TES2Windows es2Windows;

// The surface every frame is drawn into, bound; false when the context cannot draw into one.
bool CreateSurface(TES2WindowRec* rec) {
    TES2Calls& gl = ES2();
    gl.genTextures(1, &rec->colour);
    gl.bindTexture(GL_TEXTURE_2D, rec->colour);
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl.texImage2D(GL_TEXTURE_2D, 0, GL_RGBA, rec->width, rec->height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    gl.genFramebuffers(1, &rec->framebuffer);
    gl.bindFramebuffer(GL_FRAMEBUFFER, rec->framebuffer);
    gl.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, rec->colour, 0);
    return gl.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void DeleteSurface(TES2WindowRec* rec) {
    TES2Calls& gl = ES2();
    if (!rec->framebuffer) return;
    gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    gl.deleteFramebuffers(1, &rec->framebuffer);
    gl.deleteTextures(1, &rec->colour);
    rec->framebuffer = rec->colour = 0;
}

// The window's context (unless the platform made it with the window, as a browser's canvas
// has one) with its entry points, programs and surface; the reason when any fails.
std::string CreateContext(TES2WindowRec* rec) {
    if (!WindowDriver().HasContext(rec->window) && !WindowDriver().CreateContext(rec->window))
        return "no OpenGL ES 2 context could be made";
    WindowDriver().MakeCurrent(rec->window);
    const char* missing = nullptr;
    if (!LoadES2Calls(&missing)) return std::string("the context lacks ") + missing;
    rec->renderer = std::make_unique<TES2Renderer>();
    std::string why;
    if (!rec->renderer->Create(&why)) return why;
    if (!CreateSurface(rec)) return "the context cannot draw off screen";
    rec->context = ++es2Windows.contexts;
    return "";
}

void DrawableSize(const TES2WindowRec* rec, int* width, int* height) {
    if (!WindowDriver().DrawableSize(rec->window, width, height)) {
        *width = rec->width;
        *height = rec->height;
    }
}

void FollowViewSize(TES2WindowRec* rec) {
    int width = 0, height = 0;
    if (rec->kind != 1 || !WindowDriver().Size(rec->window, &width, &height)) return;
    rec->width = width;
    rec->height = height;
}

}  // namespace

TES2Graphics::~TES2Graphics() { Close(); }

TGraphicsDriver* TES2Graphics::Driver() { return ES2GraphicsDriver(); }

void TES2Graphics::GetSettings(int* width, int* height, int* depth, int* hz, int* flags) {
    TES2WindowRec blank;
    const TES2WindowRec& r = rec ? *rec : blank;
    *width = r.width;
    *height = r.height;
    *depth = r.depth;
    *hz = r.hz;
    *flags = r.flags;
}

// A minimised window has no pixels to show: nothing is drawn or swapped.
bool TES2Graphics::FinishFrame() {
    if (!rec || !rec->renderer) return false;
    int drawableWidth = 0, drawableHeight = 0;
    DrawableSize(rec, &drawableWidth, &drawableHeight);
    if (drawableWidth <= 0 || drawableHeight <= 0) return false;
    const TPresentRect to = FitFrame(rec->width, rec->height, drawableWidth, drawableHeight);
    const bool scaled = to.width != rec->width || to.height != rec->height;
    rec->renderer->Present(rec->colour, rec->framebuffer, to, drawableWidth, drawableHeight, rec->smooth && scaled);
    ES2().finish();
    return true;
}

void TES2Graphics::Swap(int sync) {
    if (!rec) return;
    const int interval = sync ? 1 : 0;
    if (interval != rec->sync) {
        rec->sync = interval;
        WindowDriver().SetSwapInterval(rec->window, interval);
    }
    WindowDriver().Swap(rec->window);
}

void TES2Graphics::Close() {
    if (!rec) return;
    if (rec == es2Windows.current) ES2GraphicsDriver()->SetGraphics(nullptr);
    if (rec->renderer && WindowDriver().HasContext(rec->window)) {
        WindowDriver().MakeCurrent(rec->window);
        rec->renderer->Delete();
        DeleteSurface(rec);
        WindowDriver().MakeCurrent(nullptr);
    }
    if (rec->kind == 1)
        WindowDriver().ReleaseContext(rec->window);
    else
        WindowDriver().Close(rec->window);
    delete rec;
    rec = nullptr;
}

std::vector<TGraphicsMode> TES2GraphicsDriver::GraphicsModes() {
    std::vector<TGraphicsMode> modes;
    for (const TDisplayMode& m : WindowDriver().DisplayModes()) modes.push_back({m.width, m.height, m.depth, m.hz});
    return modes;
}

// Opens a window of the frame's size times the presentation's scale, or the full screen.
TGraphicsPtr TES2GraphicsDriver::CreateGraphics(int width, int height, int depth, int hz, int flags) {
    TGLWindowFormat format;
    format.es2 = true;
    format.doubleBuffer = (flags & GFX_DOUBLEBUFFER) != 0;
    format.alpha = (flags & GFX_ALPHABUFFER) != 0;
    const bool fullscreen = depth != 0;
    const TPresentation presentation = GetPresentation();
    TPresentRect window{0, 0, width, height};
    if (!fullscreen) {
        format.resizable = presentation.resizable;
        format.desktopFullscreen = presentation.fullscreen;
        int desktopWidth = 0, desktopHeight = 0;
        if (!WindowDriver().UsableDesktop(&desktopWidth, &desktopHeight)) desktopWidth = desktopHeight = 0;
        window = FitWindow(width, height, presentation.scale, desktopWidth, desktopHeight);
    }
    const char* why = nullptr;
    TGLWindow* opened =
        WindowDriver().Open(window.width, window.height, AppTitle.c_str(), format, fullscreen, hz, &why);
    if (!opened) {
        es2Windows.graphicsError = why && *why ? why : "the window could not be opened";
        if (fullscreen) throw TRuntimeError("Unable to set display mode");
        return nullptr;
    }
    es2Windows.graphicsError.clear();
    auto g = std::make_shared<TES2Graphics>();
    g->rec = new TES2WindowRec;
    *g->rec = {fullscreen ? 3 : 2, width, height, depth, hz, flags, -1, opened, !fullscreen && presentation.smooth,
               0, 0, 0, nullptr};
    return g;
}

TGraphicsPtr TES2GraphicsDriver::AttachGraphics(TGLWindow* view, int flags) {
    if (!view) return nullptr;
    auto g = std::make_shared<TES2Graphics>();
    g->rec = new TES2WindowRec;
    *g->rec = {1, 0, 0, 0, 0, flags, -1, view, false, 0, 0, 0, nullptr};
    FollowViewSize(g->rec);
    return g;
}

// Makes the window's context current, creating it on first use.
void TES2GraphicsDriver::SetGraphics(const TGraphicsPtr& g) {
    TES2WindowRec* rec = g ? static_cast<TES2Graphics*>(g.get())->rec : nullptr;
    if (es2Windows.current && es2Windows.current->renderer) es2Windows.current->renderer->Flush();
    if (rec && !rec->renderer) {
        const std::string why = CreateContext(rec);
        if (!why.empty()) throw TRuntimeError("Unable to create GL Context: " + why);
    }
    WindowDriver().MakeCurrent(rec ? rec->window : nullptr);
    es2Windows.current = rec;
    SetCurrentES2Renderer(rec ? rec->renderer.get() : nullptr);
}

void TES2GraphicsDriver::MoveMouse(int x, int y) {
    TES2WindowRec* rec = es2Windows.current;
    if (!rec) return;
    int drawableWidth = 0, drawableHeight = 0, windowWidth = 0, windowHeight = 0;
    DrawableSize(rec, &drawableWidth, &drawableHeight);
    const TPresentRect to = FitFrame(rec->width, rec->height, drawableWidth, drawableHeight);
    if (to.width > 0 && to.height > 0 && WindowDriver().Size(rec->window, &windowWidth, &windowHeight)) {
        int64_t px = to.x + int64_t(x) * to.width / rec->width;
        int64_t py = to.y + int64_t(y) * to.height / rec->height;
        x = static_cast<int>(px * windowWidth / drawableWidth);
        y = static_cast<int>(py * windowHeight / drawableHeight);
    }
    WindowDriver().MovePointer(rec->window, x, y);
}

std::string TES2GraphicsDriver::GraphicsError() { return es2Windows.graphicsError; }

// Reads the surface bottom-up, as OpenGL keeps it, and turns the rows top-down.
bool TES2GraphicsDriver::ReadFramePixels(int x, int y, int width, int height, uint8_t* rgba) {
    TES2WindowRec* rec = es2Windows.current;
    if (!rec || !rec->renderer || !rgba || width <= 0 || height <= 0 || x < 0 || y < 0 ||
        width > rec->width - x || height > rec->height - y)
        return false;
    rec->renderer->Flush();
    std::vector<uint8_t> rows(static_cast<size_t>(width) * height * 4);
    ES2().readPixels(x, rec->height - y - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    const size_t pitch = static_cast<size_t>(width) * 4;
    for (int row = 0; row < height; ++row)
        std::memcpy(rgba + row * pitch, rows.data() + (height - 1 - row) * pitch, pitch);
    return true;
}

TES2GraphicsDriver* ES2GraphicsDriver() {
    static TES2GraphicsDriver* driver = new TES2GraphicsDriver;   // never destroyed: exit handlers close graphics
    return driver;
}

int CurrentES2Context() { return es2Windows.current ? es2Windows.current->context : 0; }
