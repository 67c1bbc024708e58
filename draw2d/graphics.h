// The graphics window and the frame flip, at the generic level: the current driver and
// graphics, whatever kind of driver draws them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum : int {
    GFX_DOUBLEBUFFER = 2, GFX_ALPHABUFFER = 4, GFX_DEPTHBUFFER = 8,
    GFX_STENCILBUFFER = 16, GFX_ACCUMBUFFER = 32,
};

// A display mode full-screen graphics can be opened in: size, colour depth in bits and
// refresh rate in hertz (0 when the display does not say).
struct TGraphicsMode {
    int width = 0, height = 0, depth = 0, hz = 0;
};

struct TGraphicsDriver;
struct TGLWindow;   // a platform window (platform/platform.h) that graphics can be attached to
// One open graphics (a window, or a null window that only remembers its settings).
struct TGraphics {
    virtual ~TGraphics() = default;
    // The driver that made these graphics.
    virtual TGraphicsDriver* Driver() = 0;
    // The width, height, depth, hz and flags the graphics were created with.
    virtual void GetSettings(int* width, int* height, int* depth, int* hz, int* flags) = 0;
    // Closes the window and frees what it holds.
    virtual void Close() = 0;
    // The graphics that own the window and present its frames: these, or the window-level
    // graphics they wrap.
    virtual TGraphics& Window() { return *this; }
    // Draws all the frame still owes into the window and waits until it is drawn, so that the
    // Swap after it only hands the picture over (a paced Flip calls it before its wait, and
    // presents on time however long drawing took). False when there is nothing to show: no
    // window, or a minimised one.
    virtual bool FinishFrame() { return false; }
    // Shows the finished frame; sync 0 at once, anything else on the display's retrace.
    virtual void Swap(int /*sync*/) {}
};
using TGraphicsPtr = std::shared_ptr<TGraphics>;

struct TGraphicsDriver {
    virtual ~TGraphicsDriver() = default;
    // The display modes full-screen graphics can use (none for a driver without a display).
    virtual std::vector<TGraphicsMode> GraphicsModes() { return {}; }
    // Graphics that draw into a window the caller opened and keeps (none when they cannot).
    virtual TGraphicsPtr AttachGraphics(TGLWindow* /*view*/, int /*flags*/) { return nullptr; }
    // New graphics of this size and kind (none when they cannot be made).
    virtual TGraphicsPtr CreateGraphics(int width, int height, int depth, int hz, int flags) = 0;
    // Makes g the graphics drawn into (none: no graphics).
    virtual void SetGraphics(const TGraphicsPtr& g) = 0;
    // Moves the mouse pointer within the current graphics window (nothing without one).
    virtual void MoveMouse(int /*x*/, int /*y*/) {}
    // Why the last window could not be opened, "" when it could.
    virtual std::string GraphicsError() { return ""; }
    // The current graphics' pixels as in ReadFramePixels below; false when there are none.
    virtual bool ReadFramePixels(int /*x*/, int /*y*/, int /*width*/, int /*height*/, uint8_t* /*rgba*/) {
        return false;
    }
};

// The window title: its value when a window is created becomes that window's title.
extern std::string AppTitle;

// How a window shows its frame: the frame keeps its own size (what is drawn and read back), and
// each flip presents it scaled to fit the window with its aspect ratio kept, by a whole factor
// whenever the window holds one, with black bars round it. The defaults are a window exactly the
// frame's size that the player cannot resize.
struct TPresentation {
    int scale = 1;              // the window opens at this many times the frame's size
    bool resizable = false;     // the player may resize and maximise the window
    bool smooth = false;        // linear filtering when scaled, instead of crisp pixels
    bool fullscreen = false;    // the window starts in desktop full screen
};
// Sets how windows created from now on present their frames (an entry point chooses it once,
// before opening the graphics).
void SetPresentation(const TPresentation& presentation);
// How windows present their frames now.
TPresentation GetPresentation();

// A rectangle of a window's drawable, in pixels from its top-left corner.
struct TPresentRect {
    int x = 0, y = 0, width = 0, height = 0;
};
// Where a frame of frameWidth by frameHeight lands in a drawable of the given size: the largest
// whole multiple that fits, or, in a drawable smaller than the frame, the largest fit with the
// frame's aspect ratio kept; centred. Empty when either size is empty (a minimised window).
TPresentRect FitFrame(int frameWidth, int frameHeight, int drawableWidth, int drawableHeight);
// The size a window showing such a frame at `scale` opens at on a desktop of the given usable
// size: the largest whole multiple up to scale that fits (1 at least, when the frame fits), or
// the frame scaled down to fit with its aspect ratio kept when even the frame does not. An
// empty desktop (unknown) takes the scale as asked.
TPresentRect FitWindow(int frameWidth, int frameHeight, int scale, int desktopWidth, int desktopHeight);

// Registers the driver whose graphics Graphics opens; defaultFlags are or-ed into every creation.
void SetGraphicsDriver(TGraphicsDriver* driver, int defaultFlags);
// The registered (or current graphics') driver, or none.
TGraphicsDriver* GetGraphicsDriver();
// The display modes of the registered driver, as the system lists them.
std::vector<TGraphicsMode> GraphicsModes();
// Whether the registered driver lists a mode of this size and depth (and hz, unless 0).
bool GraphicsModeExists(int width, int height, int depth = 0, int hz = 0);
// Graphics drawing into the caller's own window `view`, sized as the window is and not made
// current; closing them leaves the window open. None when they cannot be made.
TGraphicsPtr AttachGraphics(TGLWindow* view, int flags = 0);
// New graphics from the driver, not made current; none when they cannot be made.
TGraphicsPtr CreateGraphics(int width, int height, int depth, int hz, int flags);
// Makes g the graphics drawn into, taking its settings; none unsets the graphics.
void SetGraphics(const TGraphicsPtr& g);
// Closes g, unsetting it first when it is current.
void CloseGraphics(const TGraphicsPtr& g);
// Opens the main graphics (closing any open ones) and makes them current; none on failure.
TGraphicsPtr Graphics(int width, int height, int depth = 0, int hz = 60, int flags = 0);
// Closes the main graphics, if open.
void EndGraphics();
// Presents the frame: -1 paces to the hz given to Graphics, 0 at once, else on the retrace.
void Flip(int sync = -1);
// The current graphics' width, height, depth, hz and flags (0 while none are current).
int GraphicsWidth();
int GraphicsHeight();
int GraphicsDepth();
int GraphicsHertz();
int GraphicsFlags();
// The graphics generation: it moves on whenever Graphics opens or EndGraphics closes graphics.
int GraphicsSeq();
// The graphics made current last by SetGraphics (none when no graphics are current).
TGraphicsPtr CurrentGraphics();
// Adds a function run at the start of every Flip.
void AddFlipHook(std::function<void()> hook);
// Adds a function run as every Flip hands its frame to the window: once the frame is drawn and
// the pacer's wait is over, right before the swap.
void AddPresentHook(std::function<void()> hook);
// Moves the mouse pointer within the current graphics window.
void MoveMouse(int x, int y);
// Why the last window could not be opened (the windowing system's reason), "" when it could.
std::string GraphicsError();

// The software frame pacing of Flip(-1), kept apart so it can run on a fake clock.
// All times are MilliSecs readings; the accumulator is 64-bit so it never overflows.
struct TFramePacer {
    int frameStart = 0;
    int frameHertz = 0;
    int64_t frameTicks = 0;
    // Starts pacing at `now` for hz frames a second (0: no pacing).
    void Start(int now, int hz);
    // Returns how long to wait before presenting, never more than FrameMs: 0 when the frame is
    // late and was resynchronised, or when the clock was set back and the pacing starts again
    // at `now`. The target is the reading now + that wait, which Flip waits for precisely.
    int Wait(int now);
    // The longest wait of one frame: 1000 / hz rounded up (0 without pacing).
    int FrameMs() const { return frameHertz > 0 ? (1000 + frameHertz - 1) / frameHertz : 0; }
};

// Reads back a rectangle of the drawing surface as 8-bit RGBA rows, top row first
// (width * height * 4 bytes). The surface keeps its pixels across Flip, so right after a
// Flip this is the picture just presented. Used by tests and the scripted runner.
bool ReadFramePixels(int x, int y, int width, int height, uint8_t* rgba);
