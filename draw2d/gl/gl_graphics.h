// The OpenGL window level: windows and their GL contexts, with the off-screen surface every
// frame is drawn into, so the picture survives from one frame to the next.
#pragma once

#include "draw2d/graphics.h"

struct TGLWindow;

// The drawing surface of one window: a framebuffer object of the window's size (0 when the
// context has none, and frames are then drawn straight into the back buffer).
struct TFrameSurface {
    unsigned framebuffer = 0;
    unsigned colour = 0;         // the texture it draws into
    int width = 0, height = 0;   // the size it was made at
};

// One open graphics: kind 1 draws into the caller's window (attached), 2 is an own window,
// 3 full screen.
struct GLContextRec {
    int kind = 0;
    int width = 0, height = 0, depth = 0, hz = 0, flags = 0;
    int sync = -1;              // the swap interval last sent, -1 before the first flip
    TGLWindow* window = nullptr;
    TFrameSurface surface;
    bool smooth = false;        // presented with linear filtering when scaled
};

// A window (or the full screen) with its GL context.
struct TGLGraphics : TGraphics {
    GLContextRec* rec = nullptr;
    ~TGLGraphics() override;
    TGraphicsDriver* Driver() override;
    void GetSettings(int* width, int* height, int* depth, int* hz, int* flags) override;
    bool FinishFrame() override;
    void Swap(int sync) override;
    void Close() override;
};

struct TGLGraphicsDriver : TGraphicsDriver {
    std::vector<TGraphicsMode> GraphicsModes() override;
    TGraphicsPtr CreateGraphics(int width, int height, int depth, int hz, int flags) override;
    TGraphicsPtr AttachGraphics(TGLWindow* view, int flags) override;
    void SetGraphics(const TGraphicsPtr& g) override;
    void MoveMouse(int x, int y) override;
    std::string GraphicsError() override;
    bool ReadFramePixels(int x, int y, int width, int height, uint8_t* rgba) override;
    // For the tests: from now on each flip keeps a copy of the picture it sends to the window
    // (the whole drawable, read back just before the swap), for ReadWindowPixels.
    void KeepPresentedPictures(bool keep);
    // A rectangle of the picture the last flip sent to the window (pixels from the drawable's
    // top-left, FitFrame's coordinates) as 8-bit RGBA rows, top row first. False when no
    // picture was kept or the rectangle leaves it.
    bool ReadWindowPixels(int x, int y, int width, int height, uint8_t* rgba);
    // The current window's drawable size in pixels now; false when there is none.
    bool DrawableSize(int* width, int* height);
    // Called in pairs: runs the enclosed texture work in the hidden context that shares
    // textures with every window.
    void SwapSharedContext();
    // Whether the current context holds the shared texture names (the hidden context, or
    // the full-screen one that owns the display).
    bool TexturesReachable();
};

// The one OpenGL window level.
TGLGraphicsDriver* GLGraphicsDriver();
