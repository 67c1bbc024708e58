// The platform a program runs on: where events and time come from, how a window with an
// OpenGL context is made, and where sound goes. Each program installs one at its entry point
// (platform/sdl/ for a real desktop, platform/headless/ for none); the generic services
// (input.h, glwindow.h, audio_output.h) forward to whatever is installed.
#pragma once

#include "platform/audio_output.h"
#include "platform/glwindow.h"
#include "platform/system.h"

// Windows with an OpenGL context, and the hidden context that shares textures with them;
// each call is what the glwindow.h function of the same idea does.
struct TWindowDriver {
    virtual ~TWindowDriver() = default;
    // Starts the video system; false with the reason in *why when there is no display.
    virtual bool StartVideo(const char** why) = 0;
    // The main display's modes; none when there is no display.
    virtual std::vector<TDisplayMode> DisplayModes() { return {}; }
    // Opens a titled window (no context yet); nullptr with the reason in *why.
    virtual TGLWindow* Open(int width, int height, const char* title, const TGLWindowFormat& format,
                            bool fullscreen, int hz, const char** why) = 0;
    // Creates the window's context sharing the hidden context's textures, and makes it current.
    virtual bool CreateContext(TGLWindow* window) = 0;
    // Whether the window's context has been made.
    virtual bool HasContext(const TGLWindow* window) = 0;
    // Deletes the window's context and closes the window.
    virtual void Close(TGLWindow* window) = 0;
    // Deletes the window's context (if made), leaving the window open.
    virtual void ReleaseContext(TGLWindow* /*window*/) {}
    // The window's client size now; false when it cannot tell.
    virtual bool Size(TGLWindow* /*window*/, int* /*width*/, int* /*height*/) { return false; }
    // The window's drawable size in pixels now; false when it cannot tell.
    virtual bool DrawableSize(TGLWindow* window, int* width, int* height) { return Size(window, width, height); }
    // Makes the window's context current (nullptr: none).
    virtual void MakeCurrent(TGLWindow* window) = 0;
    // Makes the hidden shared context current, creating it on first need.
    virtual bool MakeSharedCurrent() = 0;
    // Whether the hidden shared context is the current one.
    virtual bool SharedIsCurrent() = 0;
    // Sets the swap interval of the current context.
    virtual void SetSwapInterval(TGLWindow* window, int interval) = 0;
    // Shows the window's back buffer.
    virtual void Swap(TGLWindow* window) = 0;
    // Moves the mouse pointer to a point of the window.
    virtual void MovePointer(TGLWindow* window, int x, int y) = 0;
    // Address of an OpenGL entry point, nullptr when there is none.
    virtual void* ProcAddress(const char* name) = 0;
    // Shows width * height RGBA pixels (rows top first) as the window's icon; none by default.
    virtual void SetIcon(TGLWindow* /*window*/, const uint8_t* /*rgba*/, int /*width*/, int /*height*/) {}
};

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
// The headless platform: a steady clock, sleeping delays, no events, no window and no sound
// (platform/headless/). It is built into the core services as their default.
TPlatform HeadlessPlatform();
