// The OpenGL ES 2 window level: windows with one ES 2 context each (WebGL has no shared
// contexts, so textures live in the window's own), the off-screen surface every frame is
// drawn into, and its present.
#pragma once

#include <memory>

#include "draw2d/es2/es2_renderer.h"
#include "draw2d/graphics.h"

struct TGLWindow;

// One open graphics: kind 1 draws into the caller's window (attached), 2 is an own window,
// 3 full screen.
struct TES2WindowRec {
    int kind = 0;
    int width = 0, height = 0, depth = 0, hz = 0, flags = 0;
    int sync = -1;                  // the swap interval last sent, -1 before the first flip
    TGLWindow* window = nullptr;
    bool smooth = false;            // presented with linear filtering when scaled
    unsigned framebuffer = 0;       // the surface frames are drawn into, and its texture
    unsigned colour = 0;
    int context = 0;                // which context the window's textures belong to, 0 before one is made
    std::unique_ptr<TES2Renderer> renderer;
};

struct TES2Graphics : TGraphics {
    TES2WindowRec* rec = nullptr;
    ~TES2Graphics() override;
    TGraphicsDriver* Driver() override;
    void GetSettings(int* width, int* height, int* depth, int* hz, int* flags) override;
    bool FinishFrame() override;
    void Swap(int sync) override;
    void Close() override;
};

struct TES2GraphicsDriver : TGraphicsDriver {
    std::vector<TGraphicsMode> GraphicsModes() override;
    TGraphicsPtr CreateGraphics(int width, int height, int depth, int hz, int flags) override;
    TGraphicsPtr AttachGraphics(TGLWindow* view, int flags) override;
    void SetGraphics(const TGraphicsPtr& g) override;
    void MoveMouse(int x, int y) override;
    std::string GraphicsError() override;
    bool ReadFramePixels(int x, int y, int width, int height, uint8_t* rgba) override;
};

// The one ES 2 window level.
TES2GraphicsDriver* ES2GraphicsDriver();
// The context current now (its number, as TES2WindowRec::context), 0 when none is.
int CurrentES2Context();
