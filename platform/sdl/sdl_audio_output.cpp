// The audio output over SDL: the default device at 44100 Hz, 16-bit, stereo; SDL converts if the
// device wants another format. The device's callback thread pulls mixed blocks from the feed.
//
// Open may run on a thread of its own while the main thread starts SDL's video and game
// controllers. SDL_InitSubSystem keeps reference counts that are not safe across threads (and
// audio counts the event subsystem too), so the opening starts SDL's audio with SDL_AudioInit,
// which touches only the audio subsystem's own state, and ends it with SDL_AudioQuit.
#include <algorithm>

#include <SDL.h>

#include "platform/sdl/sdl_platform.h"

namespace {

constexpr int MaxFeedFrames = 4096;
// Device buffer: about 12 ms, well inside the mixer's 20 ms start latency.
constexpr int DeviceFrames = 512;

SDL_AudioDeviceID g_device = 0;
bool g_startedaudio = false;   // SDL's audio was started here (not by someone else before)
TAudioFeed g_feed = nullptr;
void* g_context = nullptr;

// Fills the device's buffer, asking the feed for at most 4096 frames at a time.
void callback(void*, Uint8* stream, int len) {
    int16_t* out = reinterpret_cast<int16_t*>(stream);
    int frames = len / 4;
    while (frames > 0) {
        int count = std::min(frames, MaxFeedFrames);
        g_feed(g_context, out, count);
        out += 2 * count;
        frames -= count;
    }
}

// Closes the device (waiting for a running callback) and SDL's audio when we started it.
void CloseDevice() {
    if (g_device) SDL_CloseAudioDevice(g_device);   // waits for a running callback
    g_device = 0;
    if (g_startedaudio) SDL_AudioQuit();
    g_startedaudio = false;
    g_feed = nullptr;
    g_context = nullptr;
}

// Opens SDL's default device at 44100 Hz, 16-bit stereo, and starts its callback. SDL's audio
// is started here unless someone started it already (then it has a current driver).
bool OpenDevice(TAudioFeed feed, void* context) {
    if (g_device || !feed) return false;
    if (!SDL_GetCurrentAudioDriver()) {
        if (SDL_AudioInit(nullptr) != 0) return false;
        g_startedaudio = true;
    }
    g_feed = feed;
    g_context = context;
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = DeviceFrames;
    want.callback = callback;
    SDL_AudioSpec have{};
    g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!g_device) {
        CloseDevice();
        return false;
    }
    SDL_PauseAudioDevice(g_device, 0);
    return true;
}

// SDL's audio device behind the audio part of a platform.
struct TSDLAudioOutputDriver : TAudioOutputDriver {
    bool Open(TAudioFeed feed, void* context) override { return OpenDevice(feed, context); }
    void Close() override { CloseDevice(); }
};

}  // namespace

// The one SDL audio driver of the process (never freed: exit handlers may still close it).
TAudioOutputDriver* SDLAudioOutputDriver() {
    static TSDLAudioOutputDriver* driver = new TSDLAudioOutputDriver;
    return driver;
}
