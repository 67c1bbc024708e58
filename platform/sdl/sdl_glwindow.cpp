// The OpenGL window on SDL2: the game's window with its context, and one hidden context
// (on a hidden 1x1 window of its own) that every window context shares textures with.
#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <unistd.h>
#ifdef KESTRAVA_WITH_X11
#include <X11/Xlib.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/error.h"

// Where a window was before it went to desktop full screen, so leaving full screen puts it back.
struct TWindowPlace {
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
    int width = 0, height = 0;
    bool maximised = false;
};

struct TGLWindow {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    TGLWindowFormat format;
    TWindowPlace windowed;
};

namespace {

SDL_Window* sharedWindow = nullptr;
SDL_GLContext sharedContext = nullptr;
std::vector<TGLWindow*> openWindows;   // in the order they were opened
void (*displayLost)() = nullptr;       // the program's last words when the display is gone

// Whether the window shows in desktop full screen (not the full screen of a display mode).
bool InDesktopFullscreen(SDL_Window* window) {
    return (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
}

// The pointer shows unless some window is in desktop full screen.
void ShowPointerUnlessFullscreen() {
    bool full = std::any_of(openWindows.begin(), openWindows.end(),
                            [](TGLWindow* w) { return InDesktopFullscreen(w->window); });
    SDL_ShowCursor(full ? SDL_DISABLE : SDL_ENABLE);
}

// Asks for a compatibility-profile (or ES 2.0) context with 8-bit RGBA and the format's extras.
void SetContextAttributes(const TGLWindowFormat& format) {
    SDL_GL_ResetAttributes();
    if (format.es2) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    } else {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    }
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, format.alpha ? 8 : 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, format.doubleBuffer ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format.depth ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, format.stencil ? 1 : 0);
    int accum = format.accum ? 1 : 0;
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, accum);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, accum);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, accum);
}

bool VideoStarted() { return SDL_WasInit(SDL_INIT_VIDEO) != 0; }

#ifdef KESTRAVA_WITH_X11
// Xlib ends the process with exit() when this returns, and the exit handlers would then close
// SDL's window over the broken connection and never return: so the process ends here.
int DisplayLost(Display* display) {
    if (displayLost) displayLost();
    std::fprintf(stderr, "%s: lost the connection to the display %s\n", ProgramName(), XDisplayString(display));
    _exit(1);
}
#endif

// Puts DisplayLost in place when SDL's video runs on X11, for every program that opens a window.
void WatchDisplay() {
#ifdef KESTRAVA_WITH_X11
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && std::strcmp(driver, "x11") == 0) XSetIOErrorHandler(DisplayLost);
#endif
}

// SDL falls back to drivers that show nothing when there is no display; the game would then
// run unseen. Those count only when asked for by name.
bool ShowsNothing(const char* driver) {
    if (!driver || (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0))
        return false;
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    return !asked || !std::strstr(asked, driver);
}

// SDL's windows and contexts behind the window part of a platform.
struct TSDLWindowDriver : TWindowDriver {
    bool StartVideo(const char** why) override;
    std::vector<TDisplayMode> DisplayModes() override;
    bool UsableDesktop(int* width, int* height) override;
    bool CreateContext(TGLWindow* window) override;
    bool HasContext(const TGLWindow* window) override { return window && window->context; }
    void Close(TGLWindow* window) override;
    void ReleaseContext(TGLWindow* window) override;
    bool Size(TGLWindow* window, int* width, int* height) override;
    bool DrawableSize(TGLWindow* window, int* width, int* height) override;
    void MakeCurrent(TGLWindow* window) override;
    bool MakeSharedCurrent() override;
    bool SharedIsCurrent() override;
    void SetSwapInterval(TGLWindow* window, int interval) override;
    void Swap(TGLWindow* window) override;
    void MovePointer(TGLWindow* window, int x, int y) override;
    void* ProcAddress(const char* name) override;

protected:
    TGLWindow* OpenWindow(int width, int height, const char* title, const TGLWindowFormat& format,
                          bool fullscreen, int hz, const char** why) override;
    void SetIcon(TGLWindow* window, const uint8_t* rgba, int width, int height) override;
};

}  // namespace

// Without a Wayland session (no WAYLAND_DISPLAY, nor XDG_RUNTIME_DIR where its socket would
// be) SDL's Wayland driver only fails, after the Wayland library has printed a complaint about
// XDG_RUNTIME_DIR: SDL is asked for its other drivers, in its own order. A driver the user
// names in SDL_VIDEODRIVER is left as asked.
void SkipWaylandWithoutASession() {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if ((wayland && *wayland) || (runtime && *runtime) || SDL_GetHint(SDL_HINT_VIDEODRIVER)) return;
    std::string drivers;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const std::string driver = SDL_GetVideoDriver(i);
        if (driver != "wayland") drivers += (drivers.empty() ? "" : ",") + driver;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
}

// Why no driver could show a window, in the player's terms: which X display was not there.
// A Wayland session, or a driver other than X11 asked for by name, keeps SDL's own reason.
std::string NoDisplayReason(const std::string& sdlReason) {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if ((wayland && *wayland) || (asked && *asked && std::string(asked) != "x11")) return sdlReason;
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return "DISPLAY is not set";
    return std::string("no X display ") + display + " (is an X server running there?)";
}

// Starts SDL's video subsystem on a driver that can show a window.
bool TSDLWindowDriver::StartVideo(const char** why) {
    static std::string reason;
    if (VideoStarted()) return true;
    SkipWaylandWithoutASession();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        reason = NoDisplayReason(SDL_GetError());
    } else if (ShowsNothing(SDL_GetCurrentVideoDriver())) {
        reason = NoDisplayReason(std::string("no display available (only SDL's ") + SDL_GetCurrentVideoDriver() +
                                 " video driver could start)");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    } else {
        WatchDisplay();
        return true;
    }
    if (why) *why = reason.c_str();
    return false;
}

// The modes SDL lists for the first display (starting video if needed).
std::vector<TDisplayMode> TSDLWindowDriver::DisplayModes() {
    std::vector<TDisplayMode> modes;
    if (!StartVideo(nullptr)) return modes;
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
        modes.push_back({mode.w, mode.h, static_cast<int>(SDL_BITSPERPIXEL(mode.format)), mode.refresh_rate});
    }
    return modes;
}

// The first display's usable bounds (starting video if needed): where centred windows open.
bool TSDLWindowDriver::UsableDesktop(int* width, int* height) {
    SDL_Rect usable;
    if (!StartVideo(nullptr) || SDL_GetDisplayUsableBounds(0, &usable) != 0) return false;
    *width = usable.w;
    *height = usable.h;
    return true;
}

TGLWindow* TSDLWindowDriver::OpenWindow(int width, int height, const char* title, const TGLWindowFormat& format,
                                        bool fullscreen, int hz, const char** why) {
    if (!StartVideo(why)) return nullptr;
    SetContextAttributes(format);
    // Desktop full screen opens at the display's own size and place: without a window manager
    // to enlarge it, a window of the given size would stay so (off centre, or past the screen's
    // edges) while SDL, and the drawing after it, take it for the display's size.
    SDL_Rect place{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height};
    if (!fullscreen && format.desktopFullscreen && SDL_GetDisplayBounds(0, &place) != 0)
        place = {SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height};
    // The drawable may be denser than the window (a 2x screen gets 1280x960 pixels for a
    // 640x480 window); the drawing layer presents the frame at the drawable's size.
    Uint32 windowFlags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
    if (fullscreen)
        windowFlags |= SDL_WINDOW_FULLSCREEN;
    else if (format.desktopFullscreen)
        windowFlags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (format.resizable && !fullscreen) windowFlags |= SDL_WINDOW_RESIZABLE;
    SDL_Window* window = SDL_CreateWindow(title, place.x, place.y, place.w, place.h, windowFlags);
    if (!window) {
        if (why) *why = SDL_GetError();
        return nullptr;
    }
    if (fullscreen) {
        SDL_DisplayMode wanted{0, width, height, hz, nullptr};
        SDL_DisplayMode closest;
        if (!SDL_GetClosestDisplayMode(0, &wanted, &closest) ||
            SDL_SetWindowDisplayMode(window, &closest) != 0) {
            if (why) *why = SDL_GetError();
            SDL_DestroyWindow(window);
            return nullptr;
        }
    }
    SDL_RaiseWindow(window);
    auto* opened = new TGLWindow{window, nullptr, format, {}};
    opened->windowed.width = width;
    opened->windowed.height = height;
    openWindows.push_back(opened);
    if (format.desktopFullscreen) ShowPointerUnlessFullscreen();
    return opened;
}

// Creates the window's context as a sharer of the hidden context's textures; an ES 2 context
// shares nothing (the hidden context is of the other kind).
bool TSDLWindowDriver::CreateContext(TGLWindow* window) {
    if (!window) return false;
    if (window->context) return true;
    if (!window->format.es2 && !MakeSharedCurrent()) return false;
    // The context's pixel format must match the window's, so ask for it again.
    SetContextAttributes(window->format);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, window->format.es2 ? 0 : 1);
    window->context = SDL_GL_CreateContext(window->window);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
    if (!window->context) return false;
    SDL_GL_MakeCurrent(window->window, window->context);
    return true;
}

// Deletes the context and the window; after SDL has shut video down there is nothing left to free.
void TSDLWindowDriver::Close(TGLWindow* window) {
    if (!window) return;
    if (VideoStarted()) {
        if (window->context) {
            if (SDL_GL_GetCurrentContext() == window->context) SDL_GL_MakeCurrent(nullptr, nullptr);
            SDL_GL_DeleteContext(window->context);
        }
        bool wasFullscreen = InDesktopFullscreen(window->window);
        SDL_DestroyWindow(window->window);
        openWindows.erase(std::remove(openWindows.begin(), openWindows.end(), window), openWindows.end());
        if (wasFullscreen) ShowPointerUnlessFullscreen();
    } else {
        openWindows.erase(std::remove(openWindows.begin(), openWindows.end(), window), openWindows.end());
    }
    delete window;
}

// Deletes the context only; the window stays as it is.
void TSDLWindowDriver::ReleaseContext(TGLWindow* window) {
    if (!window || !window->context || !VideoStarted()) return;
    if (SDL_GL_GetCurrentContext() == window->context) SDL_GL_MakeCurrent(nullptr, nullptr);
    SDL_GL_DeleteContext(window->context);
    window->context = nullptr;
}

// The window's size as SDL last learnt it.
bool TSDLWindowDriver::Size(TGLWindow* window, int* width, int* height) {
    if (!window || !VideoStarted()) return false;
    SDL_GetWindowSize(window->window, width, height);
    return true;
}

// The drawable's pixels as SDL reports them; none while the window is minimised.
bool TSDLWindowDriver::DrawableSize(TGLWindow* window, int* width, int* height) {
    if (!window || !VideoStarted()) return false;
    if (SDL_GetWindowFlags(window->window) & SDL_WINDOW_MINIMIZED) {
        *width = *height = 0;
        return true;
    }
    SDL_GL_GetDrawableSize(window->window, width, height);
    return true;
}

// Makes the window's context current, or none.
void TSDLWindowDriver::MakeCurrent(TGLWindow* window) {
    if (!VideoStarted()) return;
    if (window && window->context)
        SDL_GL_MakeCurrent(window->window, window->context);
    else
        SDL_GL_MakeCurrent(nullptr, nullptr);
}

// Makes the hidden context current, creating it (and its hidden window) the first time.
bool TSDLWindowDriver::MakeSharedCurrent() {
    if (!VideoStarted()) return false;
    if (!sharedContext) {
        TGLWindowFormat plain;
        plain.doubleBuffer = false;
        SetContextAttributes(plain);
        if (!sharedWindow)
            sharedWindow = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!sharedWindow) return false;
        sharedContext = SDL_GL_CreateContext(sharedWindow);
        if (!sharedContext) return false;
    }
    return SDL_GL_MakeCurrent(sharedWindow, sharedContext) == 0;
}

// Whether SDL's current context is the hidden one.
bool TSDLWindowDriver::SharedIsCurrent() {
    return sharedContext && VideoStarted() && SDL_GL_GetCurrentContext() == sharedContext;
}

// Sets the swap interval; a driver that refuses it simply keeps its own.
void TSDLWindowDriver::SetSwapInterval(TGLWindow*, int interval) {
    if (VideoStarted()) SDL_GL_SetSwapInterval(interval);
}

// Shows the back buffer.
void TSDLWindowDriver::Swap(TGLWindow* window) {
    if (window && VideoStarted()) SDL_GL_SwapWindow(window->window);
}

// Warps the pointer inside the window.
void TSDLWindowDriver::MovePointer(TGLWindow* window, int x, int y) {
    if (window && VideoStarted()) SDL_WarpMouseInWindow(window->window, x, y);
}

// SDL's lookup of an OpenGL entry point; nullptr before video is up.
void* TSDLWindowDriver::ProcAddress(const char* name) {
    return VideoStarted() ? SDL_GL_GetProcAddress(name) : nullptr;
}

// Hands SDL the icon as a surface over the caller's pixels; SDL keeps a copy of its own.
void TSDLWindowDriver::SetIcon(TGLWindow* window, const uint8_t* rgba, int width, int height) {
    if (!window || !rgba || !VideoStarted()) return;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(rgba), width, height, 32,
                                                           width * 4, SDL_PIXELFORMAT_RGBA32);
    if (!icon) return;
    SDL_SetWindowIcon(window->window, icon);
    SDL_FreeSurface(icon);
}

// Desktop full screen on or off for the window with this SDL id (0 or an unknown id: the window
// opened last). Going there remembers the window's size and place; coming back restores them,
// unless it was maximised, which the window manager restores itself. Windows in the full screen
// of a display mode are left alone.
void ToggleFullscreen(unsigned windowId) {
    if (!VideoStarted() || openWindows.empty()) return;
    TGLWindow* target = openWindows.back();
    for (TGLWindow* w : openWindows)
        if (SDL_GetWindowID(w->window) == windowId) target = w;
    SDL_Window* window = target->window;
    Uint32 flags = SDL_GetWindowFlags(window);
    if ((flags & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN) return;
    if (InDesktopFullscreen(window)) {
        SDL_SetWindowFullscreen(window, 0);
        const TWindowPlace& place = target->windowed;
        if (!place.maximised && place.width > 0 && place.height > 0) {
            SDL_SetWindowSize(window, place.width, place.height);
            SDL_SetWindowPosition(window, place.x, place.y);
        }
    } else {
        TWindowPlace& place = target->windowed;
        place.maximised = (flags & SDL_WINDOW_MAXIMIZED) != 0;
        SDL_GetWindowPosition(window, &place.x, &place.y);
        SDL_GetWindowSize(window, &place.width, &place.height);
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    ShowPointerUnlessFullscreen();
}

// The one SDL window driver of the process (never freed: exit handlers may still close windows).
TWindowDriver* SDLWindowDriver() {
    static TSDLWindowDriver* driver = new TSDLWindowDriver;
    return driver;
}

void OnDisplayLost(void (*finish)()) { displayLost = finish; }
