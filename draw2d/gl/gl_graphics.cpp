// The OpenGL window level: creates windows, makes their contexts current (creating them on
// first use), presents frames and runs texture work in the shared context.
#include "draw2d/gl/gl_graphics.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/error.h"
#include "platform/platform.h"

namespace {

// The framebuffer-object entry points (OpenGL 3.0), looked up once.
struct TFramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    bool loaded = false, available = false;
};

// The OpenGL window level's state: the windows' records in use, and what every window shares.
struct TGLWindows {
    GLContextRec* currentContext = nullptr;   // the record made current last
    GLContextRec* displayContext = nullptr;   // the full-screen record that owns the display
    std::string graphicsError;                // why the last window could not be opened
    TFramebufferCalls fbo;
    bool keepPresented = false;               // the tests' copy of each presented picture:
    std::vector<uint8_t> presented;           // bottom row first, as OpenGL reads it
    int presentedWidth = 0, presentedHeight = 0;
};
TGLWindows glWindows;

template <class F>
bool LoadCall(F& call, const char* name) {
    call = reinterpret_cast<F>(WindowDriver().ProcAddress(name));
    return call != nullptr;
}

bool FramebuffersAvailable() {
    auto& fbo = glWindows.fbo;
    if (!fbo.loaded) {
        fbo.loaded = true;
        fbo.available = LoadCall(fbo.genFramebuffers, "glGenFramebuffers") &&
                        LoadCall(fbo.deleteFramebuffers, "glDeleteFramebuffers") &&
                        LoadCall(fbo.bindFramebuffer, "glBindFramebuffer") &&
                        LoadCall(fbo.framebufferTexture2D, "glFramebufferTexture2D") &&
                        LoadCall(fbo.checkFramebufferStatus, "glCheckFramebufferStatus");
    }
    return fbo.available;
}

// Makes the off-screen surface every frame is drawn into and binds it. Without framebuffer
// objects the frames go straight to the back buffer, which most drivers keep across a swap.
void CreateSurface(GLContextRec* rec) {
    if (!FramebuffersAvailable()) return;
    TFrameSurface& s = rec->surface;
    GLint bound = 0;   // the drawing layer's binding, put back after
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGenTextures(1, &s.colour);
    glBindTexture(GL_TEXTURE_2D, s.colour);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, rec->width, rec->height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    glWindows.fbo.genFramebuffers(1, &s.framebuffer);
    glWindows.fbo.bindFramebuffer(GL_FRAMEBUFFER, s.framebuffer);
    glWindows.fbo.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, s.colour, 0);
    s.width = rec->width;
    s.height = rec->height;
    if (glWindows.fbo.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        glWindows.fbo.bindFramebuffer(GL_FRAMEBUFFER, 0);
        glWindows.fbo.deleteFramebuffers(1, &s.framebuffer);
        glDeleteTextures(1, &s.colour);
        s = TFrameSurface{};
    }
}

// Frees the surface; the record's context must be current.
void DeleteSurface(GLContextRec* rec) {
    TFrameSurface& s = rec->surface;
    if (!s.framebuffer) return;
    glWindows.fbo.bindFramebuffer(GL_FRAMEBUFFER, 0);
    glWindows.fbo.deleteFramebuffers(1, &s.framebuffer);
    glDeleteTextures(1, &s.colour);
    s = TFrameSurface{};
}

// An attached window may have been resized by its owner: the record takes its size now.
void FollowViewSize(GLContextRec* rec) {
    int width = 0, height = 0;
    if (rec->kind != 1 || !WindowDriver().Size(rec->window, &width, &height)) return;
    rec->width = width;
    rec->height = height;
}

// The drawable's size now; the record's own size when the platform cannot tell.
void DrawableSize(const GLContextRec* rec, int* width, int* height) {
    if (!WindowDriver().DrawableSize(rec->window, width, height)) {
        *width = rec->width;
        *height = rec->height;
    }
}

// Draws the surface's picture into the rectangle of the back buffer as one textured quad,
// after clearing the rest to black when the picture does not fill it, and leaves the drawing
// state the frames use (blending, scissor, matrices, viewport, colour) as it found it. A
// plain quad costs the software renderer less to set up the first time than a framebuffer
// blit, and as little after.
void DrawSurface(const TFrameSurface& s, const TPresentRect& to, int drawableWidth, int drawableHeight,
                 bool smooth) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_SCISSOR_TEST);
    if (to.width != drawableWidth || to.height != drawableHeight) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    const int bottom = drawableHeight - to.y - to.height;   // OpenGL counts rows from the bottom
    glViewport(to.x, bottom, to.width, to.height);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glDisable(GL_COLOR_LOGIC_OP);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, s.colour);
    const GLint filter = smooth ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

// The window for a width x height frame at the scale asked, fitted to the usable desktop. A
// scale asked for that does not fit is said once, with what is used instead.
TPresentRect WindowOnDesktop(int width, int height, int scale) {
    int desktopWidth = 0, desktopHeight = 0;
    if (!WindowDriver().UsableDesktop(&desktopWidth, &desktopHeight)) desktopWidth = desktopHeight = 0;
    const TPresentRect window = FitWindow(width, height, scale, desktopWidth, desktopHeight);
    if (scale > 1 && window.width < width * scale) {
        std::fprintf(stderr, "%s: --scale %d does not fit the %dx%d desktop; ", ProgramName(), scale,
                     desktopWidth, desktopHeight);
        if (window.width >= width)
            std::fprintf(stderr, "using %d\n", window.width / width);
        else
            std::fprintf(stderr, "showing the picture at %dx%d\n", window.width, window.height);
    }
    return window;
}

}  // namespace

TGLGraphics::~TGLGraphics() { Close(); }

TGraphicsDriver* TGLGraphics::Driver() { return GLGraphicsDriver(); }

void TGLGraphics::GetSettings(int* width, int* height, int* depth, int* hz, int* flags) {
    if (rec) FollowViewSize(rec);
    GLContextRec blank;
    const GLContextRec& r = rec ? *rec : blank;
    *width = r.width;
    *height = r.height;
    *depth = r.depth;
    *hz = r.hz;
    *flags = r.flags;
}

// The surface goes into the back buffer scaled to fit the drawable, black bars round it when it
// does not fill it. A minimised window has no pixels to show: nothing is drawn or swapped, and
// the game goes on.
bool TGLGraphics::FinishFrame() {
    if (!rec) return false;
    const TFrameSurface& s = rec->surface;
    if (s.framebuffer) {
        int drawableWidth = 0, drawableHeight = 0;
        DrawableSize(rec, &drawableWidth, &drawableHeight);
        if (drawableWidth <= 0 || drawableHeight <= 0) return false;
        const TPresentRect to = FitFrame(s.width, s.height, drawableWidth, drawableHeight);
        const bool scaled = to.width != s.width || to.height != s.height;
        glWindows.fbo.bindFramebuffer(GL_FRAMEBUFFER, 0);
        DrawSurface(s, to, drawableWidth, drawableHeight, rec->smooth && scaled);
        if (glWindows.keepPresented) {
            glPixelStorei(GL_PACK_ALIGNMENT, 4);
            glWindows.presented.resize(static_cast<size_t>(drawableWidth) * drawableHeight * 4);
            glReadPixels(0, 0, drawableWidth, drawableHeight, GL_RGBA, GL_UNSIGNED_BYTE, glWindows.presented.data());
            glWindows.presentedWidth = drawableWidth;
            glWindows.presentedHeight = drawableHeight;
        }
        glWindows.fbo.bindFramebuffer(GL_FRAMEBUFFER, s.framebuffer);
    }
    glFinish();
    return true;
}

// The swap interval goes to the platform only when it changes.
void TGLGraphics::Swap(int sync) {
    if (!rec) return;
    const int interval = sync ? 1 : 0;
    if (interval != rec->sync) {
        rec->sync = interval;
        WindowDriver().SetSwapInterval(rec->window, interval);
    }
    WindowDriver().Swap(rec->window);
}

// Unsets the record if current, frees its surface and context, closes its window.
void TGLGraphics::Close() {
    if (!rec) return;
    if (rec == glWindows.currentContext) GLGraphicsDriver()->SetGraphics(nullptr);
    if (rec->surface.framebuffer) {
        WindowDriver().MakeCurrent(rec->window);
        DeleteSurface(rec);
        WindowDriver().MakeCurrent(nullptr);
    }
    if (rec == glWindows.displayContext) glWindows.displayContext = nullptr;
    if (rec->kind == 1)
        WindowDriver().ReleaseContext(rec->window);   // the window is its owner's
    else
        WindowDriver().Close(rec->window);
    delete rec;
    rec = nullptr;
}

// The display's modes, from the platform's window part.
std::vector<TGraphicsMode> TGLGraphicsDriver::GraphicsModes() {
    std::vector<TGraphicsMode> modes;
    for (const TDisplayMode& m : WindowDriver().DisplayModes()) modes.push_back({m.width, m.height, m.depth, m.hz});
    return modes;
}

// Opens a window (or the full screen); the GL context is made when first set current.
TGraphicsPtr TGLGraphicsDriver::CreateGraphics(int width, int height, int depth, int hz, int flags) {
    TGLWindowFormat format;
    format.doubleBuffer = (flags & GFX_DOUBLEBUFFER) != 0;
    format.alpha = (flags & GFX_ALPHABUFFER) != 0;
    format.depth = (flags & GFX_DEPTHBUFFER) != 0;
    format.stencil = (flags & GFX_STENCILBUFFER) != 0;
    format.accum = (flags & GFX_ACCUMBUFFER) != 0;
    bool fullscreen = depth != 0;
    // A window opens at the presentation's multiple of the frame, or what of it fits the
    // desktop, and shows the frame scaled.
    const TPresentation presentation = GetPresentation();
    int windowWidth = width, windowHeight = height;
    if (!fullscreen) {
        format.resizable = presentation.resizable;
        format.desktopFullscreen = presentation.fullscreen;
        const TPresentRect window = WindowOnDesktop(width, height, presentation.scale);
        windowWidth = window.width;
        windowHeight = window.height;
    }
    const char* why = nullptr;
    TGLWindow* window = WindowDriver().Open(windowWidth, windowHeight, AppTitle.c_str(), format, fullscreen, hz, &why);
    if (!window) {
        glWindows.graphicsError = why && *why ? why : "the window could not be opened";
        if (fullscreen) throw TRuntimeError("Unable to set display mode");
        return nullptr;
    }
    glWindows.graphicsError.clear();
    auto g = std::make_shared<TGLGraphics>();
    g->rec = new GLContextRec{fullscreen ? 3 : 2, width, height, depth, hz, flags, -1, window, {},
                              !fullscreen && presentation.smooth};
    if (fullscreen) glWindows.displayContext = g->rec;
    return g;
}

// Graphics in the caller's window, at the window's size; the context is made when first set
// current and released on closing, and the window is left open.
TGraphicsPtr TGLGraphicsDriver::AttachGraphics(TGLWindow* view, int flags) {
    if (!view) return nullptr;
    auto g = std::make_shared<TGLGraphics>();
    g->rec = new GLContextRec{1, 0, 0, 0, 0, flags, -1, view, {}};
    FollowViewSize(g->rec);
    return g;
}

// Makes the record's context current, creating it (and the shared one) on first use. An
// attached window's new size gets a drawing surface of that size.
void TGLGraphicsDriver::SetGraphics(const TGraphicsPtr& g) {
    GLContextRec* rec = g ? static_cast<TGLGraphics*>(g.get())->rec : nullptr;
    if (rec && !WindowDriver().HasContext(rec->window)) {
        if (!WindowDriver().MakeSharedCurrent()) throw TRuntimeError("Unable to create shared GL context");
        if (!WindowDriver().CreateContext(rec->window)) throw TRuntimeError("Unable to create GL Context");
        CreateSurface(rec);
    } else if (rec && rec->kind == 1) {
        FollowViewSize(rec);
        if (rec->surface.framebuffer &&
            (rec->surface.width != rec->width || rec->surface.height != rec->height)) {
            WindowDriver().MakeCurrent(rec->window);
            DeleteSurface(rec);
            CreateSurface(rec);
        }
    }
    WindowDriver().MakeCurrent(rec ? rec->window : nullptr);
    glWindows.currentContext = rec;
}

// Called in pairs: the first enters the shared context, the second returns to the window's.
void TGLGraphicsDriver::SwapSharedContext() {
    if (glWindows.displayContext) return;
    if (!WindowDriver().SharedIsCurrent())
        WindowDriver().MakeSharedCurrent();
    else
        WindowDriver().MakeCurrent(glWindows.currentContext ? glWindows.currentContext->window : nullptr);
}

bool TGLGraphicsDriver::TexturesReachable() {
    if (glWindows.displayContext) return glWindows.currentContext == glWindows.displayContext;
    return WindowDriver().SharedIsCurrent();
}

TGLGraphicsDriver* GLGraphicsDriver() {
    static TGLGraphicsDriver* driver = new TGLGraphicsDriver;   // never destroyed: see GLPlaneDriver
    return driver;
}

// The point of the frame goes where the frame is shown: through the frame's place in the
// drawable, then from drawable pixels to the window's own units.
void TGLGraphicsDriver::MoveMouse(int x, int y) {
    GLContextRec* rec = glWindows.currentContext;
    if (!rec) return;
    int drawableWidth = 0, drawableHeight = 0, windowWidth = 0, windowHeight = 0;
    ::DrawableSize(rec, &drawableWidth, &drawableHeight);
    const TPresentRect to = FitFrame(rec->width, rec->height, drawableWidth, drawableHeight);
    if (to.width > 0 && to.height > 0 && WindowDriver().Size(rec->window, &windowWidth, &windowHeight)) {
        int64_t px = to.x + int64_t(x) * to.width / rec->width;
        int64_t py = to.y + int64_t(y) * to.height / rec->height;
        x = static_cast<int>(px * windowWidth / drawableWidth);
        y = static_cast<int>(py * windowHeight / drawableHeight);
    }
    WindowDriver().MovePointer(rec->window, x, y);
}

std::string TGLGraphicsDriver::GraphicsError() { return glWindows.graphicsError; }

bool TGLGraphicsDriver::DrawableSize(int* width, int* height) {
    if (!glWindows.currentContext) return false;
    ::DrawableSize(glWindows.currentContext, width, height);
    return true;
}

void TGLGraphicsDriver::KeepPresentedPictures(bool keep) {
    glWindows.keepPresented = keep;
    if (!keep) {
        glWindows.presented.clear();
        glWindows.presentedWidth = glWindows.presentedHeight = 0;
    }
}

bool TGLGraphicsDriver::ReadWindowPixels(int x, int y, int width, int height, uint8_t* rgba) {
    const int w = glWindows.presentedWidth, h = glWindows.presentedHeight;
    if (!rgba || glWindows.presented.empty() || width <= 0 || height <= 0 || x < 0 || y < 0 || width > w - x ||
        height > h - y)
        return false;
    size_t pitch = static_cast<size_t>(width) * 4;
    for (int row = 0; row < height; ++row) {
        size_t from = (static_cast<size_t>(h - 1 - y - row) * w + x) * 4;
        std::memcpy(rgba + row * pitch, glWindows.presented.data() + from, pitch);
    }
    return true;
}

// Reads the drawing surface bottom-up as OpenGL keeps it, then turns the rows top-down.
bool TGLGraphicsDriver::ReadFramePixels(int x, int y, int width, int height, uint8_t* rgba) {
    GLContextRec* rec = glWindows.currentContext;
    if (!rec || !rgba || width <= 0 || height <= 0 || x < 0 || y < 0 ||
        width > rec->width - x || height > rec->height - y)
        return false;
    if (rec->surface.framebuffer)
        glWindows.fbo.bindFramebuffer(GL_READ_FRAMEBUFFER, rec->surface.framebuffer);
    else
        glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    std::vector<uint8_t> rows(static_cast<size_t>(width) * height * 4);
    glReadPixels(x, rec->height - y - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    size_t pitch = static_cast<size_t>(width) * 4;
    for (int row = 0; row < height; ++row)
        std::memcpy(rgba + row * pitch, rows.data() + (height - 1 - row) * pitch, pitch);
    return true;
}
