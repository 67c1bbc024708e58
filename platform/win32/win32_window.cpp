// The OpenGL window on Win32 and WGL: the game's window with its context, and one hidden
// context (on a hidden window of its own) that every window's context shares textures with.
#include "platform/win32/win32_events.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"

// Where a window was, and how it was framed, before it went to desktop full screen.
struct TGLWindow {
    HWND window = nullptr;
    HDC dc = nullptr;
    HGLRC context = nullptr;
    TGLWindowFormat format;
    bool modeFullscreen = false;   // in the full screen of a display mode
    bool desktopFullscreen = false;
    LONG windowedStyle = 0;
    WINDOWPLACEMENT windowed{};
    HICON icons[2] = {};   // made from pixels: big, small
};

namespace {

HWND sharedWindow = nullptr;
HDC sharedDC = nullptr;
HGLRC sharedContext = nullptr;
HMODULE openGL = nullptr;              // opengl32.dll, for the OpenGL 1.1 entry points
bool resourceIcon = false;             // the program has an icon of its own
std::vector<TGLWindow*> openWindows;   // in the order they were opened

using TSwapInterval = BOOL(WINAPI*)(int);
using TDpiForWindow = UINT(WINAPI*)(HWND);

template <typename TFunction>
TFunction Lookup(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    return module ? reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Pixels are pixels on every monitor; the window is sized by each monitor's density instead.
// The newest way is asked for first, by name, so the program still starts on older systems.
void BecomeDpiAware() {
    using TAwareContext = BOOL(WINAPI*)(HANDLE);
    using TAware = BOOL(WINAPI*)();
    if (auto aware = Lookup<TAwareContext>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
        if (aware(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)))) return;   // per monitor, v2
    }
    if (auto aware = Lookup<TAware>(L"user32.dll", "SetProcessDPIAware")) aware();
}

// The window style: a fixed frame unless resizable, or none at all over the whole monitor
// (with the system menu still, which Alt+F4 goes through).
DWORD WindowStyle(const TGLWindowFormat& format, bool borderless) {
    if (borderless) return WS_POPUP | WS_SYSMENU | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (format.resizable) style |= WS_THICKFRAME | WS_MAXIMIZEBOX;
    return style;
}

// The main monitor's work area (less the task bar) or whole area, in pixels.
RECT MainMonitor(bool work) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return work ? info.rcWork : info.rcMonitor;
}

// The main monitor's density, which a window opening on it takes.
int MainDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// The outer rectangle of a window whose client area is width x height 96-dpi units, centred
// on the work area (or over the monitor, borderless).
RECT Place(int width, int height, DWORD style, bool borderless) {
    if (borderless) return MainMonitor(false);
    const int dpi = MainDpi();
    RECT r{0, 0, MulDiv(width, dpi, 96), MulDiv(height, dpi, 96)};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    const RECT work = MainMonitor(true);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = work.left + (work.right - work.left - w) / 2, y = work.top + (work.bottom - work.top - h) / 2;
    return {x, y, x + w, y + h};
}

// Sets the pixel format a format asks for on the device context; once per window.
bool SetFormat(HDC dc, const TGLWindowFormat& format) {
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | (format.doubleBuffer ? PFD_DOUBLEBUFFER : 0);
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cAlphaBits = format.alpha ? 8 : 0;
    pfd.cDepthBits = format.depth ? 24 : 0;
    pfd.cStencilBits = format.stencil ? 8 : 0;
    pfd.cAccumBits = format.accum ? 48 : 0;
    pfd.iLayerType = PFD_MAIN_PLANE;
    const int chosen = ChoosePixelFormat(dc, &pfd);
    return chosen && SetPixelFormat(dc, chosen, &pfd);
}

// The windows' class, registered once, with the program's icon from its resources.
bool RegisterWindowClass() {
    static bool registered = false;
    if (registered) return true;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    c.lpfnWndProc = GameWindowProc;
    c.hInstance = instance;
    c.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                            GetSystemMetrics(SM_CYICON), LR_SHARED));
    c.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    resourceIcon = c.hIcon != nullptr;
    c.lpszClassName = kWindowClass;
    registered = RegisterClassExW(&c) != 0;
    return registered;
}

// The closest mode the main display offers to width x height at hz (any rate for 0), set for
// the full screen; false when none can be.
bool SetDisplayMode(int width, int height, int hz) {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    if (hz > 0) {
        mode.dmDisplayFrequency = static_cast<DWORD>(hz);
        mode.dmFields |= DM_DISPLAYFREQUENCY;
    }
    if (ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL) return true;
    mode.dmFields &= ~DM_DISPLAYFREQUENCY;
    return ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

// Frames are measured at the system's density, not the monitor's: the window grows or shrinks
// by what its client area misses.
void FitClient(HWND window, int width, int height) {
    RECT client{}, outer{};
    if (!GetClientRect(window, &client) || !GetWindowRect(window, &outer)) return;
    const int dx = width - client.right, dy = height - client.bottom;
    if (dx == 0 && dy == 0) return;
    SetWindowPos(window, nullptr, outer.left - dx / 2, outer.top - dy / 2, outer.right - outer.left + dx,
                 outer.bottom - outer.top + dy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A window of the class with its device context and pixel format; nullptr on failure.
HWND MakeWindow(const wchar_t* title, DWORD style, const RECT& r, const TGLWindowFormat& format, HDC* dc) {
    HWND window = CreateWindowExW(0, kWindowClass, title, style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) return nullptr;
    *dc = GetDC(window);
    if (*dc && SetFormat(*dc, format)) return window;
    DestroyWindow(window);
    return nullptr;
}

std::wstring Wide(const char* text) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), n);
    return wide;
}

// Windows' windows and WGL contexts behind the window part of a platform.
struct TWin32WindowDriver : TWindowDriver {
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
    bool SharedIsCurrent() override { return sharedContext && wglGetCurrentContext() == sharedContext; }
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

bool TWin32WindowDriver::StartVideo(const char** why) {
    static bool aware = (BecomeDpiAware(), true);
    (void)aware;
    if (!openGL) openGL = LoadLibraryW(L"opengl32.dll");
    if (openGL && RegisterWindowClass()) return true;
    if (why) *why = openGL ? "the window class could not be registered" : "no OpenGL (opengl32.dll) on this system";
    return false;
}

// The modes the system lists for the main display.
std::vector<TDisplayMode> TWin32WindowDriver::DisplayModes() {
    std::vector<TDisplayMode> modes;
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    for (DWORD i = 0; EnumDisplaySettingsW(nullptr, i, &mode); ++i) {
        const int hz = mode.dmDisplayFrequency > 1 ? static_cast<int>(mode.dmDisplayFrequency) : 0;
        modes.push_back({static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight),
                         static_cast<int>(mode.dmBitsPerPel), hz});
    }
    return modes;
}

// The work area, in the 96-dpi units windows are asked for in.
bool TWin32WindowDriver::UsableDesktop(int* width, int* height) {
    RECT work{};
    if (!StartVideo(nullptr) || !SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return false;
    const int dpi = MainDpi();
    *width = MulDiv(work.right - work.left, 96, dpi);
    *height = MulDiv(work.bottom - work.top, 96, dpi);
    return true;
}

// Desktop full screen opens borderless over the monitor; the given size is the one it returns to.
TGLWindow* TWin32WindowDriver::OpenWindow(int width, int height, const char* title, const TGLWindowFormat& format,
                                          bool fullscreen, int hz, const char** why) {
    if (!StartVideo(why)) return nullptr;
    if (format.es2) {
        if (why) *why = "OpenGL ES 2 is not offered on Windows";
        return nullptr;
    }
    if (fullscreen && !SetDisplayMode(width, height, hz)) {
        if (why) *why = "the display cannot take that mode";
        return nullptr;
    }
    const bool borderless = fullscreen || format.desktopFullscreen;
    auto* opened = new TGLWindow;
    opened->format = format;
    opened->modeFullscreen = fullscreen;
    opened->windowedStyle = static_cast<LONG>(WindowStyle(format, false));
    const DWORD style = WindowStyle(format, borderless);
    const RECT place = Place(width, height, opened->windowedStyle, false);
    opened->window = MakeWindow(Wide(title).c_str(), style, borderless ? Place(width, height, style, true) : place,
                                format, &opened->dc);
    if (!opened->window) {
        if (fullscreen) ChangeDisplaySettingsW(nullptr, 0);
        delete opened;
        if (why) *why = "the window or its OpenGL pixel format could not be made";
        return nullptr;
    }
    opened->windowed.length = sizeof opened->windowed;
    opened->windowed.showCmd = SW_SHOWNORMAL;
    const RECT work = MainMonitor(true);   // a placement counts from the work area's corner
    opened->windowed.rcNormalPosition = {place.left - work.left, place.top - work.top, place.right - work.left,
                                         place.bottom - work.top};
    opened->desktopFullscreen = format.desktopFullscreen && !fullscreen;
    const int dpi = WindowDpi(opened->window);
    if (!borderless) FitClient(opened->window, MulDiv(width, dpi, 96), MulDiv(height, dpi, 96));
    ShowWindow(opened->window, SW_SHOW);
    SetForegroundWindow(opened->window);
    SetFocus(opened->window);
    openWindows.push_back(opened);
    return opened;
}

// Shares the hidden context's textures with the new one, before it holds any of its own.
bool TWin32WindowDriver::CreateContext(TGLWindow* window) {
    if (!window) return false;
    if (window->context) return true;
    if (!MakeSharedCurrent()) return false;
    window->context = wglCreateContext(window->dc);
    if (!window->context) return false;
    if (!wglShareLists(sharedContext, window->context)) {
        wglDeleteContext(window->context);
        window->context = nullptr;
        return false;
    }
    wglMakeCurrent(window->dc, window->context);
    return true;
}

void TWin32WindowDriver::Close(TGLWindow* window) {
    if (!window) return;
    ReleaseContext(window);
    ReleaseDC(window->window, window->dc);
    DestroyWindow(window->window);
    for (HICON icon : window->icons)
        if (icon) DestroyIcon(icon);
    if (window->modeFullscreen) ChangeDisplaySettingsW(nullptr, 0);
    openWindows.erase(std::remove(openWindows.begin(), openWindows.end(), window), openWindows.end());
    delete window;
}

void TWin32WindowDriver::ReleaseContext(TGLWindow* window) {
    if (!window || !window->context) return;
    if (wglGetCurrentContext() == window->context) wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(window->context);
    window->context = nullptr;
}

bool TWin32WindowDriver::Size(TGLWindow* window, int* width, int* height) {
    RECT r{};
    if (!window || !GetClientRect(window->window, &r)) return false;
    const int dpi = WindowDpi(window->window);
    *width = MulDiv(r.right, 96, dpi);
    *height = MulDiv(r.bottom, 96, dpi);
    return true;
}

// A minimised window's client area is 0 by 0 already.
bool TWin32WindowDriver::DrawableSize(TGLWindow* window, int* width, int* height) {
    RECT r{};
    if (!window || !GetClientRect(window->window, &r)) return false;
    *width = IsIconic(window->window) ? 0 : r.right;
    *height = IsIconic(window->window) ? 0 : r.bottom;
    return true;
}

void TWin32WindowDriver::MakeCurrent(TGLWindow* window) {
    if (window && window->context)
        wglMakeCurrent(window->dc, window->context);
    else
        wglMakeCurrent(nullptr, nullptr);
}

// The hidden window takes the game's plain pixel format, so the contexts can share.
bool TWin32WindowDriver::MakeSharedCurrent() {
    if (!sharedContext) {
        if (!StartVideo(nullptr)) return false;
        if (!sharedWindow) sharedWindow = MakeWindow(L"", WS_POPUP, {0, 0, 1, 1}, TGLWindowFormat{}, &sharedDC);
        if (!sharedWindow) return false;
        sharedContext = wglCreateContext(sharedDC);
        if (!sharedContext) return false;
    }
    return wglMakeCurrent(sharedDC, sharedContext) != FALSE;
}

// WGL_EXT_swap_control belongs to the current context; without it the driver keeps its own.
void TWin32WindowDriver::SetSwapInterval(TGLWindow*, int interval) {
    auto swapInterval = reinterpret_cast<TSwapInterval>(reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
    if (swapInterval) swapInterval(interval);
}

void TWin32WindowDriver::Swap(TGLWindow* window) {
    if (window) SwapBuffers(window->dc);
}

void TWin32WindowDriver::MovePointer(TGLWindow* window, int x, int y) {
    if (!window) return;
    const int dpi = WindowDpi(window->window);
    POINT p{MulDiv(x, dpi, 96), MulDiv(y, dpi, 96)};
    ClientToScreen(window->window, &p);
    SetCursorPos(p.x, p.y);
}

// wglGetProcAddress knows only what lies beyond OpenGL 1.1 (and says so with small numbers as
// well as nullptr); opengl32.dll exports the rest.
void* TWin32WindowDriver::ProcAddress(const char* name) {
    void* p = reinterpret_cast<void*>(wglGetProcAddress(name));
    const auto n = reinterpret_cast<intptr_t>(p);
    if (n >= -1 && n <= 3) p = openGL ? reinterpret_cast<void*>(GetProcAddress(openGL, name)) : nullptr;
    return p;
}

// The program's own icon (the same picture, drawn at each size the system shows) is kept when
// there is one. Otherwise the icon is built from a 32-bit top-down DIB of the pixels (BGRA)
// with an empty mask, and scaled to the system's two sizes (wine shows none of 256 pixels).
void TWin32WindowDriver::SetIcon(TGLWindow* window, const uint8_t* rgba, int width, int height) {
    if (!window || !rgba || resourceIcon) return;
    BITMAPV5HEADER h{};
    h.bV5Size = sizeof h;
    h.bV5Width = width;
    h.bV5Height = -height;
    h.bV5Planes = 1;
    h.bV5BitCount = 32;
    h.bV5Compression = BI_BITFIELDS;
    h.bV5RedMask = 0x00ff0000;
    h.bV5GreenMask = 0x0000ff00;
    h.bV5BlueMask = 0x000000ff;
    h.bV5AlphaMask = 0xff000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP color = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!color) return;
    auto* out = static_cast<uint8_t*>(bits);
    for (int i = 0; i < width * height; ++i) {
        out[4 * i] = rgba[4 * i + 2];
        out[4 * i + 1] = rgba[4 * i + 1];
        out[4 * i + 2] = rgba[4 * i];
        out[4 * i + 3] = rgba[4 * i + 3];
    }
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(color);
    if (!icon) return;
    const int sizes[2][2] = {{SM_CXICON, SM_CYICON}, {SM_CXSMICON, SM_CYSMICON}};
    for (int i = 0; i < 2; ++i) {
        HANDLE sized = CopyImage(icon, IMAGE_ICON, GetSystemMetrics(sizes[i][0]), GetSystemMetrics(sizes[i][1]), 0);
        SendMessageW(window->window, WM_SETICON, i == 0 ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(sized));
        if (window->icons[i]) DestroyIcon(window->icons[i]);
        window->icons[i] = static_cast<HICON>(sized);
    }
    DestroyIcon(icon);
}

// Going there remembers the window's frame and placement; coming back restores both. Windows
// in the full screen of a display mode are left alone.
void ToggleFullscreen(HWND handle) {
    auto it = std::find_if(openWindows.begin(), openWindows.end(), [handle](TGLWindow* w) { return w->window == handle; });
    if (it == openWindows.end() || (*it)->modeFullscreen) return;
    TGLWindow* w = *it;
    if (w->desktopFullscreen) {
        SetWindowLongW(w->window, GWL_STYLE, w->windowedStyle | WS_VISIBLE);
        SetWindowPlacement(w->window, &w->windowed);
        SetWindowPos(w->window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
    } else {
        w->windowed.length = sizeof w->windowed;
        GetWindowPlacement(w->window, &w->windowed);
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoW(MonitorFromWindow(w->window, MONITOR_DEFAULTTONEAREST), &info);
        const RECT& m = info.rcMonitor;
        SetWindowLongW(w->window, GWL_STYLE, static_cast<LONG>(WindowStyle(w->format, true) | WS_VISIBLE));
        SetWindowPos(w->window, HWND_TOP, m.left, m.top, m.right - m.left, m.bottom - m.top, SWP_FRAMECHANGED);
    }
    w->desktopFullscreen = !w->desktopFullscreen;
}

bool InFullscreen(HWND handle) {
    for (TGLWindow* w : openWindows)
        if (w->window == handle) return w->desktopFullscreen || w->modeFullscreen;
    return false;
}

int WindowDpi(HWND window) {
    static const auto dpiForWindow = Lookup<TDpiForWindow>(L"user32.dll", "GetDpiForWindow");
    const int dpi = dpiForWindow && window ? static_cast<int>(dpiForWindow(window)) : 0;
    return dpi > 0 ? dpi : 96;
}

// The one Win32 window driver of the process (never freed: exit handlers may still close windows).
TWindowDriver* Win32WindowDriver() {
    static TWin32WindowDriver* driver = new TWin32WindowDriver;
    return driver;
}

// A window's display is the machine's own: it cannot be lost.
void OnDisplayLost(void (*)()) {}
