// The graphics window and the frame flip: generic level, OpenGL window level, drawing level.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

enum : int {
    GFX_DOUBLEBUFFER = 2, GFX_ALPHABUFFER = 4, GFX_DEPTHBUFFER = 8,
    GFX_STENCILBUFFER = 16, GFX_ACCUMBUFFER = 32,
};

struct TGraphicsDriver;
struct TGraphics {
    virtual ~TGraphics() = default;
    virtual TGraphicsDriver* Driver() = 0;
    virtual void GetSettings(int* width, int* height, int* depth, int* hz, int* flags) = 0;
    virtual void Close() = 0;
};
using TGraphicsPtr = std::shared_ptr<TGraphics>;

struct TGraphicsDriver {
    virtual ~TGraphicsDriver() = default;
    virtual TGraphicsPtr CreateGraphics(int width, int height, int depth, int hz, int flags) = 0;
    virtual void SetGraphics(const TGraphicsPtr& g) = 0;
    virtual void Flip(int sync) = 0;
};

extern std::string AppTitle;

void SetGraphicsDriver(TGraphicsDriver* driver, int defaultFlags);
TGraphicsDriver* GetGraphicsDriver();
TGraphicsPtr CreateGraphics(int width, int height, int depth, int hz, int flags);
void SetGraphics(const TGraphicsPtr& g);
void CloseGraphics(const TGraphicsPtr& g);
TGraphicsPtr Graphics(int width, int height, int depth = 0, int hz = 60, int flags = 0);
void EndGraphics();
void Flip(int sync = -1);
int GraphicsWidth();
int GraphicsHeight();
int GraphicsDepth();
int GraphicsHertz();
int GraphicsFlags();
int GraphicsSeq();
// The graphics made current last by SetGraphics (none when no graphics are current).
TGraphicsPtr CurrentGraphics();
// Adds a function run at the start of every Flip.
void AddFlipHook(std::function<void()> hook);
// Moves the mouse pointer within the current graphics window.
void MoveMouse(int x, int y);
// Why the last window could not be opened (the windowing system's reason), "" when it could.
std::string GraphicsError();

// Starts the drawing layer: registers its embedded font files and the OpenGL drawing driver.
void StartDrawLayer();

// The software frame pacing of Flip(-1), kept apart so it can run on a fake clock.
// All times are MilliSecs readings; the accumulator is 64-bit so it never overflows.
struct TFramePacer {
    int frameStart = 0;
    int frameHertz = 0;
    int64_t frameTicks = 0;
    void Start(int now, int hz);
    // Returns how long to sleep before presenting (0 when the frame is late and was resynchronised).
    int Wait(int now);
};

// Reads back a rectangle of the drawing surface as 8-bit RGBA rows, top row first
// (width * height * 4 bytes). The surface keeps its pixels across Flip, so right after a
// Flip this is the picture just presented. Used by tests and the scripted runner.
bool ReadFramePixels(int x, int y, int width, int height, uint8_t* rgba);
