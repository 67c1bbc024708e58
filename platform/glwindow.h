// The windowing system as the drawing layer sees it: one titled window with an OpenGL
// compatibility context, and a hidden context that shares textures with it. These forward to
// the window part of the installed platform (platform.h); on the headless platform no window
// can be opened.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

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
};

// Starts the video system; false (with the reason in *why) when there is no display.
bool StartVideo(const char** why);

// The modes of the main display, as the system lists them; empty when there is no display.
std::vector<TDisplayMode> DisplayModes();

// Opens a centred, titled window of the given client size, non-resizable unless the format
// says so (full screen when asked, at the closest display mode; or desktop full screen with
// the format's desktopFullscreen, the given size then being the one it returns to); nullptr
// with the reason in *why when it cannot be made. Its drawable may hold more pixels than its
// size on a high-density screen. The window's GL context is made later, by CreateGLContext.
TGLWindow* OpenGLWindow(int width, int height, const char* title, const TGLWindowFormat& format,
                        bool fullscreen, int hz, const char** why);
// Creates the window's compatibility-profile context, sharing textures with the hidden
// context (which must already exist), and makes it current. False when it cannot be made.
bool CreateGLContext(TGLWindow* window);
// Whether the window's context has been made.
bool HasGLContext(const TGLWindow* window);
// Deletes the window's context and closes the window.
void CloseGLWindow(TGLWindow* window);
// Deletes the window's context (if made) and leaves the window open.
void ReleaseGLContext(TGLWindow* window);
// The window's client size in pixels now; false when the platform cannot tell.
bool GLWindowSize(TGLWindow* window, int* width, int* height);
// The window's drawable size in pixels now (more than its size on a high-density screen, 0 by 0
// while it is minimised); false when the platform cannot tell.
bool GLDrawableSize(TGLWindow* window, int* width, int* height);

// Makes the window's own context current (nullptr: no context current).
void MakeWindowContextCurrent(TGLWindow* window);
// Makes the shared hidden context current; created on first need. False when it cannot be made.
bool MakeSharedContextCurrent();
// Whether the shared hidden context is the current one.
bool SharedContextIsCurrent();

// Sets the swap interval of the current context (failure tolerated).
void SetSwapInterval(TGLWindow* window, int interval);
// Shows the window's back buffer.
void SwapWindow(TGLWindow* window);
// Moves the mouse pointer to a point of the window's client area.
void MoveMousePointer(TGLWindow* window, int x, int y);

// Gives every window opened from now on this icon: width * height 8-bit RGBA pixels, rows top
// first, copied here (nullptr: no icon). It changes nothing drawn; a platform without window
// icons ignores it.
void SetWindowIcon(const uint8_t* rgba, int width, int height);
// The same, made when the next window opens: `make` (run once, then dropped) calls
// SetWindowIcon, so the pixels may still be in the making until then. A SetWindowIcon before
// that window drops it.
void SetWindowIconMaker(std::function<void()> make);

// Address of an OpenGL entry point, for functions beyond OpenGL 1.1.
void* GLProcAddress(const char* name);
