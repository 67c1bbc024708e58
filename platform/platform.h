// The platform a program runs on: where events and time come from, how a window with an
// OpenGL context is made, and where sound goes. Each program installs one at its entry point
// (platform/sdl/ for a real desktop, platform/headless/ for none); input.h, clock.h and
// audio_output.h serve from whatever is installed, and the drawing layer opens its windows
// through the installed window driver.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/audio_output.h"
#include "platform/system.h"

struct TGLWindow;   // opaque; one per open window, defined by the platform that made it

// One mode the main display can be switched to: its size, bits per pixel and refresh rate
// (0 when the system does not say).
struct TDisplayMode {
    int width = 0, height = 0, depth = 0, hz = 0;
};

// What the window's pixel format asks for beyond 8-bit RGBA, and how a window (not the full
// screen) may change: resized and maximised by the player, opened in desktop full screen.
struct TGLWindowFormat {
    bool doubleBuffer = true;
    bool alpha = false, depth = false, stencil = false, accum = false;
    bool resizable = false;
    bool desktopFullscreen = false;
    bool es2 = false;   // an OpenGL ES 2.0 context of the window's own, sharing nothing
};

// The windowing system as the drawing layer sees it: titled windows with an OpenGL
// compatibility context, and a hidden context that shares textures with them. The drawing
// layer calls the installed platform's driver (WindowDriver()); on the headless platform no
// window can be opened.
struct TWindowDriver {
    virtual ~TWindowDriver() = default;
    // Starts the video system; false (with the reason in *why) when there is no display.
    virtual bool StartVideo(const char** why) = 0;
    // The modes of the main display, as the system lists them; empty when there is no display.
    virtual std::vector<TDisplayMode> DisplayModes() { return {}; }
    // The size of the main display's area that windows may take (less panels and docks), where
    // windows open; false when there is no display or the system cannot tell.
    virtual bool UsableDesktop(int* /*width*/, int* /*height*/) { return false; }
    // Opens a centred, titled window of the given client size, non-resizable unless the format
    // says so (full screen when asked, at the closest display mode; or desktop full screen with
    // the format's desktopFullscreen, covering the display, the given size then being the one
    // it returns to), showing the window icon (SetWindowIcon); nullptr with the reason in *why
    // when it cannot be made.
    // Its drawable may hold more pixels than its size on a high-density screen. Its GL context
    // is made later, by CreateContext.
    TGLWindow* Open(int width, int height, const char* title, const TGLWindowFormat& format, bool fullscreen,
                    int hz, const char** why);
    // Creates the window's compatibility-profile context, sharing textures with the hidden
    // context (which must already exist), or its ES 2 context when its format asks, and makes
    // it current. False when it cannot be made.
    virtual bool CreateContext(TGLWindow* window) = 0;
    // Whether the window's context has been made.
    virtual bool HasContext(const TGLWindow* window) = 0;
    // Deletes the window's context and closes the window.
    virtual void Close(TGLWindow* window) = 0;
    // Deletes the window's context (if made) and leaves the window open.
    virtual void ReleaseContext(TGLWindow* /*window*/) {}
    // The window's client size in pixels now; false when the platform cannot tell.
    virtual bool Size(TGLWindow* /*window*/, int* /*width*/, int* /*height*/) { return false; }
    // The window's drawable size in pixels now (more than its size on a high-density screen,
    // 0 by 0 while it is minimised); false when the platform cannot tell.
    virtual bool DrawableSize(TGLWindow* window, int* width, int* height) { return Size(window, width, height); }
    // Makes the window's own context current (nullptr: no context current).
    virtual void MakeCurrent(TGLWindow* window) = 0;
    // Makes the shared hidden context current; created on first need. False when it cannot be made.
    virtual bool MakeSharedCurrent() = 0;
    // Whether the shared hidden context is the current one.
    virtual bool SharedIsCurrent() = 0;
    // Sets the swap interval of the current context (failure tolerated).
    virtual void SetSwapInterval(TGLWindow* window, int interval) = 0;
    // Shows the window's back buffer.
    virtual void Swap(TGLWindow* window) = 0;
    // Moves the mouse pointer to a point of the window's client area.
    virtual void MovePointer(TGLWindow* window, int x, int y) = 0;
    // Address of an OpenGL entry point (beyond OpenGL 1.1), nullptr when there is none.
    virtual void* ProcAddress(const char* name) = 0;

protected:
    // What Open does, less the icon.
    virtual TGLWindow* OpenWindow(int width, int height, const char* title, const TGLWindowFormat& format,
                                  bool fullscreen, int hz, const char** why) = 0;
    // Shows width * height RGBA pixels (rows top first) as the window's icon; none by default.
    virtual void SetIcon(TGLWindow* /*window*/, const uint8_t* /*rgba*/, int /*width*/, int /*height*/) {}
};

// Gives every window opened from now on this icon: width * height 8-bit RGBA pixels, rows top
// first, copied here (nullptr: no icon). It changes nothing drawn; a platform without window
// icons ignores it.
void SetWindowIcon(const uint8_t* rgba, int width, int height);
// The same, made when the next window opens: `make` (run once, then dropped) calls
// SetWindowIcon, so the pixels may still be in the making until then. A SetWindowIcon before
// that window drops it.
void SetWindowIconMaker(std::function<void()> make);

// The system's audio output (44100 Hz, 16-bit, stereo), pulling from a feed on its own thread.
struct TAudioOutputDriver {
    virtual ~TAudioOutputDriver() = default;
    // Opens the default output and starts pulling from feed; false when there is no device.
    virtual bool Open(TAudioFeed feed, void* context) = 0;
    // Stops pulling and closes the output; nothing when none is open.
    virtual void Close() = 0;
};

// A platform as a record of parts, so a program can combine parts of two backends (the
// scripted runner's clock and keyboard with a real window). None of them is owned.
struct TPlatform {
    TSystemDriver* system = nullptr;        // events and the millisecond clock
    TWindowDriver* window = nullptr;        // windows and OpenGL contexts
    TAudioOutputDriver* audio = nullptr;    // audio output
};

// Installs the platform the generic services forward to; a part left nullptr is the headless
// one (headless_platform.h), which is also what a program gets that installs nothing.
// Change it only while no window or audio output is open.
void InstallPlatform(const TPlatform& platform);
// The installed platform, every part filled in.
TPlatform InstalledPlatform();
// The installed platform's window part.
TWindowDriver& WindowDriver();
// The headless platform: a steady clock, sleeping delays, no events, no window and no sound
// (platform/headless/). It is built into the core services as their default.
TPlatform HeadlessPlatform();
