// The audio output over SDL: the default device at 44100 Hz, 16-bit, stereo; SDL converts if the
// device wants another format. The device's callback thread pulls mixed blocks from the feed.
//
// Open may run on a thread of its own while the main thread starts SDL's video and game
// controllers. SDL_InitSubSystem keeps reference counts that are not safe across threads (and
// audio counts the event subsystem too), so the opening starts SDL's audio with SDL_AudioInit,
// which touches only the audio subsystem's own state, and ends it with SDL_AudioQuit.
#include <algorithm>
#include <cstdio>
#include <string>

#include <SDL.h>
#ifdef KESTRAVA_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

#include "platform/error.h"
#include "platform/sdl/sdl_platform.h"

namespace {

// The feed is asked for at most this many frames at a time, the mixer's largest block.
constexpr int kMaxFeedFrames = 4096;
// Device buffer: about 12 ms, well inside the mixer's 20 ms start latency.
constexpr int kDeviceFrames = 512;

// SDL's audio device behind the audio part of a platform, and the device's state.
struct TSDLAudioOutputDriver : TAudioOutputDriver {
    SDL_AudioDeviceID device = 0;
    bool startedAudio = false;   // SDL's audio was started here (not by someone else before)
    TAudioFeed feed = nullptr;
    void* context = nullptr;

    bool Open(TAudioFeed feed, void* context) override;
    void Close() override;
};

// The device's callback, on its own thread: fills the buffer from the feed, block by block.
void Callback(void* driver, Uint8* stream, int len) {
    auto* output = static_cast<TSDLAudioOutputDriver*>(driver);
    int16_t* out = reinterpret_cast<int16_t*>(stream);
    for (int frames = len / 4; frames > 0;) {
        int count = std::min(frames, kMaxFeedFrames);
        output->feed(output->context, out, count);
        out += 2 * count;
        frames -= count;
    }
}

#ifdef KESTRAVA_HAVE_ALSA
void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
#endif

// The sound library SDL loads reports each step of its search for a device on stderr (eight
// lines on a machine without one); SDL loads the library this program links, so its reports
// go here, unsaid.
void SilenceSoundLibrary() {
#ifdef KESTRAVA_HAVE_ALSA
    snd_lib_error_set_handler(IgnoreAlsaMessage);
#endif
}

// One line of the program's own instead: the game goes on without sound.
bool NoDevice(const char* why) {
    std::fprintf(stderr, "%s: no audio device (%s); playing silently\n", ProgramName(),
                 why && *why ? why : "none found");
    return false;
}

// SDL's audio is started here unless someone started it already (then it has a current driver).
bool TSDLAudioOutputDriver::Open(TAudioFeed newFeed, void* newContext) {
    if (device || !newFeed) return false;
    SilenceSoundLibrary();
    if (!SDL_GetCurrentAudioDriver()) {
        if (SDL_AudioInit(nullptr) != 0) return NoDevice(SDL_GetError());
        startedAudio = true;
    }
    // Set before the device exists: its thread reads them from the first callback on.
    feed = newFeed;
    context = newContext;
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kDeviceFrames;
    want.callback = Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!device) {
        const std::string why = SDL_GetError();
        Close();
        return NoDevice(why.c_str());
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void TSDLAudioOutputDriver::Close() {
    if (device) SDL_CloseAudioDevice(device);   // waits for a running callback
    device = 0;
    if (startedAudio) SDL_AudioQuit();
    startedAudio = false;
    feed = nullptr;
    context = nullptr;
}

}  // namespace

// Never freed: exit handlers may still close it.
TAudioOutputDriver* SDLAudioOutputDriver() {
    static TSDLAudioOutputDriver* driver = new TSDLAudioOutputDriver;
    return driver;
}
