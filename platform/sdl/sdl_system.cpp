// The SDL system driver: translates SDL's events into application events and reads the clock.
#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <time.h>

#include <csignal>
#include <string>

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/precise_wait.h"
#include "platform/sdl/sdl_keys.h"

namespace {

// A SIGHUP not yet turned into a quit request.
volatile std::sig_atomic_t hangUp = 0;

void NoteHangUp(int) { hangUp = 1; }

// SIGHUP (the terminal closed) ends the game as SIGTERM and SIGINT do, which SDL turns into a
// quit request; a program started ignoring it (nohup) keeps ignoring it.
void CatchHangUp() {
    struct sigaction action {}, before {};
    action.sa_handler = NoteHangUp;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    if (sigaction(SIGHUP, &action, &before) == 0 && before.sa_handler == SIG_IGN) sigaction(SIGHUP, &before, nullptr);
}

// SDL's button numbers to ours: 1 left, 2 right, 3 any other.
int MouseButton(Uint8 button) {
    if (button == SDL_BUTTON_LEFT) return 1;
    if (button == SDL_BUTTON_RIGHT) return 2;
    return 3;
}

// The single code point of a UTF-8 text, or -1 when it holds none or more than one.
int SingleCodePoint(const char* text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    if (s[0] == 0) return -1;
    int length = s[0] < 0x80 ? 1 : s[0] >= 0xf0 ? 4 : s[0] >= 0xe0 ? 3 : s[0] >= 0xc0 ? 2 : 0;
    if (length == 0) return -1;
    int c = length == 1 ? s[0] : s[0] & (0x7f >> length);
    for (int i = 1; i < length; ++i) {
        if ((s[i] & 0xc0) != 0x80) return -1;
        c = (c << 6) | (s[i] & 0x3f);
    }
    return s[length] == 0 ? c : -1;
}

// Turns one SDL event into application events.
void Translate(const SDL_Event& e) {
    if (TranslateKeyEvent(e)) return;
    switch (e.type) {
    case SDL_TEXTINPUT: {
        int c = SingleCodePoint(e.text.text);
        if (c == 127) c = 8;
        if (c > 0) EmitEvent(EVENT_KEYCHAR, c, KeyMods(SDL_GetModState()));
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
        EmitEvent(EVENT_MOUSEDOWN, MouseButton(e.button.button), KeyMods(SDL_GetModState()), e.button.x, e.button.y);
        break;
    case SDL_MOUSEBUTTONUP:
        EmitEvent(EVENT_MOUSEUP, MouseButton(e.button.button), KeyMods(SDL_GetModState()), e.button.x, e.button.y);
        break;
    case SDL_MOUSEMOTION:
        EmitEvent(EVENT_MOUSEMOVE, 0, KeyMods(SDL_GetModState()), e.motion.x, e.motion.y);
        break;
    case SDL_MOUSEWHEEL:
        if (e.wheel.y) EmitEvent(EVENT_MOUSEWHEEL, e.wheel.y, KeyMods(SDL_GetModState()));
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) EmitEvent(EVENT_APPSUSPEND);
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) EmitEvent(EVENT_APPRESUME);
        if (e.window.event == SDL_WINDOWEVENT_MINIMIZED) EmitEvent(EVENT_APPHIDDEN);
        // The close box only asks: the window stays open until the game decides to end.
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) EmitEvent(EVENT_APPTERMINATE);
        break;
    case SDL_QUIT:
        EmitEvent(EVENT_APPTERMINATE);
        break;
    }
}

// The boot clock in nanoseconds (the monotonic clock where there is none).
uint64_t BootNanoSecs() {
    timespec ts{};
    if (clock_gettime(CLOCK_BOOTTIME, &ts) != 0) clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000000u + static_cast<uint64_t>(ts.tv_nsec);
}

// SDL's performance counter and its millisecond sleep, for precise waits.
struct TSDLWaitClock : TWaitClock {
    uint64_t Counter() override { return SDL_GetPerformanceCounter(); }
    uint64_t Frequency() override { return SDL_GetPerformanceFrequency(); }
    void Sleep(int ms) override { SDL_Delay(static_cast<Uint32>(ms)); }
};

struct TSDLSystemDriver : TSystemDriver {
    TSDLSystemDriver() { CatchHangUp(); }

    // A SIGHUP's quit request, then every pending SDL event, translated (none before SDL's
    // event system is up).
    void PollEvents() override {
        if (hangUp) {
            hangUp = 0;
            EmitEvent(EVENT_APPTERMINATE);
        }
        if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
        SDL_Event e;
        while (SDL_PollEvent(&e)) Translate(e);
    }

    // Milliseconds since the machine started, wrapping modulo 2^32.
    int MilliSecs() override { return WrapMilliSecs(BootNanoSecs() / 1000000u); }

    // Sleeps through SDL.
    void Delay(int ms) override {
        if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
    }

    // Microseconds since the machine started.
    int64_t MicroSecs() override { return static_cast<int64_t>(BootNanoSecs() / 1000u); }

    // Finds how far off the millisecond `target` begins on the boot clock, then waits that
    // long on SDL's performance counter: sleeping first, watching the counter at the end.
    // The two clocks need not run at quite the same rate, so the last few microseconds are
    // read on the boot clock itself; if that clock is set back meanwhile, the watch ends
    // rather than wait for it to come round again.
    void DelayUntil(int target, int longest) override {
        const uint64_t now = BootNanoSecs();
        const uint64_t counter = SDL_GetPerformanceCounter();
        const uint64_t ms = now / 1000000u;
        int left = MilliSecsSince(WrapMilliSecs(ms), target);
        if (left <= 0) return;
        if (left > longest) {
            left = longest;
            target = WrapMilliSecs(ms + static_cast<uint64_t>(left));
        }
        const double nanos = static_cast<double>((ms + static_cast<uint64_t>(left)) * 1000000u - now);
        TSDLWaitClock clock;
        WaitPrecisely(clock, counter + static_cast<uint64_t>(nanos * static_cast<double>(clock.Frequency()) / 1e9));
        for (int rest = MilliSecsSince(MilliSecs(), target); rest > 0 && rest <= left;)
            rest = MilliSecsSince(MilliSecs(), target);
    }
};

}  // namespace

// The one SDL system driver of the process (never freed: exit handlers may still poll).
TSystemDriver* SDLSystemDriver() {
    static TSDLSystemDriver* driver = new TSDLSystemDriver;
    return driver;
}

TPlatform DesktopPlatform() { return SDLPlatform(); }
