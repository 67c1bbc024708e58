// The installed platform, and the generic window, audio and clock fronts that forward to it.
#include "platform/platform.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace {

// The installed parts; headless until a program installs another platform.
TPlatform& Installed() {
    static TPlatform platform = HeadlessPlatform();
    return platform;
}

TSystemDriver* systemOverride = nullptr;

// The icon windows are given when they open (none while empty), or what makes it.
struct TWindowIcon {
    std::vector<uint8_t> rgba;
    int width = 0, height = 0;
    std::function<void()> make;
};
TWindowIcon& Icon() {
    static TWindowIcon icon;
    return icon;
}

TWindowDriver& Window() { return *Installed().window; }
TAudioOutputDriver& Audio() { return *Installed().audio; }

}  // namespace

// Installs platform; missing parts are the headless ones.
void InstallPlatform(const TPlatform& platform) {
    const TPlatform headless = HeadlessPlatform();
    TPlatform& installed = Installed();
    installed.system = platform.system ? platform.system : headless.system;
    installed.window = platform.window ? platform.window : headless.window;
    installed.audio = platform.audio ? platform.audio : headless.audio;
}

// The installed parts.
TPlatform InstalledPlatform() { return Installed(); }

// Puts driver in front of the platform's events and clock; nullptr removes it.
void SetSystemDriver(TSystemDriver* driver) { systemOverride = driver; }

// The driver in front, or the installed platform's.
TSystemDriver* GetSystemDriver() { return systemOverride ? systemOverride : Installed().system; }

bool StartVideo(const char** why) { return Window().StartVideo(why); }

std::vector<TDisplayMode> DisplayModes() { return Window().DisplayModes(); }

TGLWindow* OpenGLWindow(int width, int height, const char* title, const TGLWindowFormat& format,
                        bool fullscreen, int hz, const char** why) {
    TGLWindow* window = Window().Open(width, height, title, format, fullscreen, hz, why);
    if (window && Icon().make) std::exchange(Icon().make, nullptr)();
    const TWindowIcon& icon = Icon();
    if (window && !icon.rgba.empty()) Window().SetIcon(window, icon.rgba.data(), icon.width, icon.height);
    return window;
}

void SetWindowIcon(const uint8_t* rgba, int width, int height) {
    TWindowIcon& icon = Icon();
    icon.make = nullptr;
    if (!rgba || width <= 0 || height <= 0) {
        icon = TWindowIcon{};
        return;
    }
    icon.rgba.assign(rgba, rgba + static_cast<size_t>(width) * height * 4);
    icon.width = width;
    icon.height = height;
}

void SetWindowIconMaker(std::function<void()> make) {
    SetWindowIcon(nullptr, 0, 0);
    Icon().make = std::move(make);
}

bool CreateGLContext(TGLWindow* window) { return Window().CreateContext(window); }
bool HasGLContext(const TGLWindow* window) { return Window().HasContext(window); }
void CloseGLWindow(TGLWindow* window) { Window().Close(window); }
void ReleaseGLContext(TGLWindow* window) { Window().ReleaseContext(window); }
bool GLWindowSize(TGLWindow* window, int* width, int* height) { return Window().Size(window, width, height); }
bool GLDrawableSize(TGLWindow* window, int* width, int* height) { return Window().DrawableSize(window, width, height); }
void MakeWindowContextCurrent(TGLWindow* window) { Window().MakeCurrent(window); }
bool MakeSharedContextCurrent() { return Window().MakeSharedCurrent(); }
bool SharedContextIsCurrent() { return Window().SharedIsCurrent(); }
void SetSwapInterval(TGLWindow* window, int interval) { Window().SetSwapInterval(window, interval); }
void SwapWindow(TGLWindow* window) { Window().Swap(window); }
void MoveMousePointer(TGLWindow* window, int x, int y) { Window().MovePointer(window, x, y); }
void* GLProcAddress(const char* name) { return Window().ProcAddress(name); }

bool OpenAudioOutput(TAudioFeed feed, void* context) { return Audio().Open(feed, context); }
void CloseAudioOutput() { Audio().Close(); }
