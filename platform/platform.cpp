// The installed platform, the window icon every window opens with, and the audio front.
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

TAudioOutputDriver& Audio() { return *Installed().audio; }

}  // namespace

void InstallPlatform(const TPlatform& platform) {
    const TPlatform headless = HeadlessPlatform();
    TPlatform& installed = Installed();
    installed.system = platform.system ? platform.system : headless.system;
    installed.window = platform.window ? platform.window : headless.window;
    installed.audio = platform.audio ? platform.audio : headless.audio;
}

TPlatform InstalledPlatform() { return Installed(); }

void SetSystemDriver(TSystemDriver* driver) { systemOverride = driver; }

TSystemDriver* GetSystemDriver() { return systemOverride ? systemOverride : Installed().system; }

TWindowDriver& WindowDriver() { return *Installed().window; }

TGLWindow* TWindowDriver::Open(int width, int height, const char* title, const TGLWindowFormat& format,
                               bool fullscreen, int hz, const char** why) {
    TGLWindow* window = OpenWindow(width, height, title, format, fullscreen, hz, why);
    if (window && Icon().make) std::exchange(Icon().make, nullptr)();
    const TWindowIcon& icon = Icon();
    if (window && !icon.rgba.empty()) SetIcon(window, icon.rgba.data(), icon.width, icon.height);
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

bool OpenAudioOutput(TAudioFeed feed, void* context) { return Audio().Open(feed, context); }
void CloseAudioOutput() { Audio().Close(); }
