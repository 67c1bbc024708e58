// The OpenGL window level: creates windows, makes their contexts current (creating them on
// first use), presents frames and runs texture work in the shared context.
#include "draw2d/gl/gl_graphics.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>
#include <vector>

#include "platform/error.h"
#include "platform/glwindow.h"

namespace {

// The framebuffer-object entry points (OpenGL 3.0), looked up once.
struct TFramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;
    bool loaded = false, available = false;
};

// The OpenGL window level's state, in one record.
struct TGLWindowLevel {
    GLContextRec* currentContext = nullptr;   // the record made current last
    GLContextRec* displayContext = nullptr;   // the full-screen record that owns the display
    std::string graphicsError;                // why the last window could not be opened
    TFramebufferCalls fbo;
};
TGLWindowLevel level;

template <class F>
bool LoadCall(F& call, const char* name) {
    call = reinterpret_cast<F>(GLProcAddress(name));
    return call != nullptr;
}

bool FramebuffersAvailable() {
    if (!level.fbo.loaded) {
        level.fbo.loaded = true;
        level.fbo.available = LoadCall(level.fbo.genFramebuffers, "glGenFramebuffers") &&
                              LoadCall(level.fbo.deleteFramebuffers, "glDeleteFramebuffers") &&
                              LoadCall(level.fbo.bindFramebuffer, "glBindFramebuffer") &&
                              LoadCall(level.fbo.genRenderbuffers, "glGenRenderbuffers") &&
                              LoadCall(level.fbo.deleteRenderbuffers, "glDeleteRenderbuffers") &&
                              LoadCall(level.fbo.bindRenderbuffer, "glBindRenderbuffer") &&
                              LoadCall(level.fbo.renderbufferStorage, "glRenderbufferStorage") &&
                              LoadCall(level.fbo.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
                              LoadCall(level.fbo.checkFramebufferStatus, "glCheckFramebufferStatus") &&
                              LoadCall(level.fbo.blitFramebuffer, "glBlitFramebuffer");
    }
    return level.fbo.available;
}

// Makes the off-screen surface every frame is drawn into and binds it. Without framebuffer
// objects the frames go straight to the back buffer, which most drivers keep across a swap.
void CreateSurface(GLContextRec* rec) {
    if (!FramebuffersAvailable()) return;
    TFrameSurface& s = rec->surface;
    level.fbo.genRenderbuffers(1, &s.colour);
    level.fbo.bindRenderbuffer(GL_RENDERBUFFER, s.colour);
    level.fbo.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, rec->width, rec->height);
    level.fbo.genFramebuffers(1, &s.framebuffer);
    level.fbo.bindFramebuffer(GL_FRAMEBUFFER, s.framebuffer);
    level.fbo.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, s.colour);
    s.width = rec->width;
    s.height = rec->height;
    if (level.fbo.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        level.fbo.bindFramebuffer(GL_FRAMEBUFFER, 0);
        level.fbo.deleteFramebuffers(1, &s.framebuffer);
        level.fbo.deleteRenderbuffers(1, &s.colour);
        s = TFrameSurface{};
    }
}

// Frees the surface; the record's context must be current.
void DeleteSurface(GLContextRec* rec) {
    TFrameSurface& s = rec->surface;
    if (!s.framebuffer) return;
    level.fbo.bindFramebuffer(GL_FRAMEBUFFER, 0);
    level.fbo.deleteFramebuffers(1, &s.framebuffer);
    level.fbo.deleteRenderbuffers(1, &s.colour);
    s = TFrameSurface{};
}

// An attached window may have been resized by its owner: the record takes its size now.
void FollowViewSize(GLContextRec* rec) {
    int width = 0, height = 0;
    if (rec->kind != 1 || !GLWindowSize(rec->window, &width, &height)) return;
    rec->width = width;
    rec->height = height;
}

// Copies the surface to the back buffer (scissoring would clip the copy) and swaps.
void Present(GLContextRec* rec) {
    const TFrameSurface& s = rec->surface;
    if (s.framebuffer) {
        GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
        glDisable(GL_SCISSOR_TEST);
        level.fbo.bindFramebuffer(GL_READ_FRAMEBUFFER, s.framebuffer);
        level.fbo.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        level.fbo.blitFramebuffer(0, 0, rec->width, rec->height, 0, 0, rec->width, rec->height,
                            GL_COLOR_BUFFER_BIT, GL_NEAREST);
        SwapWindow(rec->window);
        level.fbo.bindFramebuffer(GL_FRAMEBUFFER, s.framebuffer);
        if (scissor) glEnable(GL_SCISSOR_TEST);
    } else {
        SwapWindow(rec->window);
    }
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

// Unsets the record if current, frees its surface and context, closes its window.
void TGLGraphics::Close() {
    if (!rec) return;
    if (rec == level.currentContext) GLGraphicsDriver()->SetGraphics(nullptr);
    if (rec->surface.framebuffer) {
        MakeWindowContextCurrent(rec->window);
        DeleteSurface(rec);
        MakeWindowContextCurrent(nullptr);
    }
    if (rec == level.displayContext) level.displayContext = nullptr;
    if (rec->kind == 1)
        ReleaseGLContext(rec->window);   // the window is its owner's
    else
        CloseGLWindow(rec->window);
    delete rec;
    rec = nullptr;
}

// The display's modes, from the platform's window part.
std::vector<TGraphicsMode> TGLGraphicsDriver::GraphicsModes() {
    std::vector<TGraphicsMode> modes;
    for (const TDisplayMode& m : DisplayModes()) modes.push_back({m.width, m.height, m.depth, m.hz});
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
    const char* why = nullptr;
    TGLWindow* window = OpenGLWindow(width, height, AppTitle.c_str(), format, fullscreen, hz, &why);
    if (!window) {
        level.graphicsError = why && *why ? why : "the window could not be opened";
        if (fullscreen) throw TRuntimeError("Unable to set display mode");
        return nullptr;
    }
    level.graphicsError.clear();
    auto g = std::make_shared<TGLGraphics>();
    g->rec = new GLContextRec{fullscreen ? 3 : 2, width, height, depth, hz, flags, -1, window, {}};
    if (fullscreen) level.displayContext = g->rec;
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
    if (rec && !HasGLContext(rec->window)) {
        if (!MakeSharedContextCurrent()) throw TRuntimeError("Unable to create shared GL context");
        if (!CreateGLContext(rec->window)) throw TRuntimeError("Unable to create GL Context");
        CreateSurface(rec);
    } else if (rec && rec->kind == 1) {
        FollowViewSize(rec);
        if (rec->surface.framebuffer &&
            (rec->surface.width != rec->width || rec->surface.height != rec->height)) {
            MakeWindowContextCurrent(rec->window);
            DeleteSurface(rec);
            CreateSurface(rec);
        }
    }
    MakeWindowContextCurrent(rec ? rec->window : nullptr);
    level.currentContext = rec;
}

// Sends the swap interval when it changes, then presents the frame.
void TGLGraphicsDriver::Flip(int sync) {
    if (!level.currentContext) return;
    int interval = sync ? 1 : 0;
    if (interval != level.currentContext->sync) {
        level.currentContext->sync = interval;
        SetSwapInterval(level.currentContext->window, interval);
    }
    Present(level.currentContext);
}

// Called in pairs: the first enters the shared context, the second returns to the window's.
void TGLGraphicsDriver::SwapSharedContext() {
    if (level.displayContext) return;
    if (!SharedContextIsCurrent())
        MakeSharedContextCurrent();
    else
        MakeWindowContextCurrent(level.currentContext ? level.currentContext->window : nullptr);
}

bool TGLGraphicsDriver::TexturesReachable() {
    if (level.displayContext) return level.currentContext == level.displayContext;
    return SharedContextIsCurrent();
}

TGLGraphicsDriver* GLGraphicsDriver() {
    static TGLGraphicsDriver* driver = new TGLGraphicsDriver;   // never destroyed: see GLPlaneDriver
    return driver;
}

void TGLGraphicsDriver::MoveMouse(int x, int y) {
    if (level.currentContext) MoveMousePointer(level.currentContext->window, x, y);
}

std::string TGLGraphicsDriver::GraphicsError() { return level.graphicsError; }

// Reads the drawing surface bottom-up as OpenGL keeps it, then turns the rows top-down.
bool TGLGraphicsDriver::ReadFramePixels(int x, int y, int width, int height, uint8_t* rgba) {
    GLContextRec* rec = level.currentContext;
    if (!rec || !rgba || width <= 0 || height <= 0 || x < 0 || y < 0 ||
        width > rec->width - x || height > rec->height - y)
        return false;
    if (rec->surface.framebuffer)
        level.fbo.bindFramebuffer(GL_READ_FRAMEBUFFER, rec->surface.framebuffer);
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
