// The SDL system driver: translates SDL's events into application events and reads the clock.
#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <time.h>

#include <string>

#include "platform/input.h"
#include "platform/precise_wait.h"
#include "platform/sdl/sdl_gamepad.h"

namespace {

// Physical key positions to key codes, so Z and M stay put on any layout.
struct TScancodeKey {
    SDL_Scancode scancode;
    int code;
};

constexpr TScancodeKey kKeyTable[] = {
    {SDL_SCANCODE_RETURN, 13}, {SDL_SCANCODE_ESCAPE, 27}, {SDL_SCANCODE_BACKSPACE, 8},
    {SDL_SCANCODE_TAB, 9}, {SDL_SCANCODE_SPACE, 32},
    {SDL_SCANCODE_MINUS, 189}, {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_LEFTBRACKET, 219}, {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_BACKSLASH, 220}, {SDL_SCANCODE_SEMICOLON, 186},
    {SDL_SCANCODE_APOSTROPHE, 222}, {SDL_SCANCODE_GRAVE, 192}, {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_PERIOD, 190}, {SDL_SCANCODE_SLASH, 191}, {SDL_SCANCODE_NONUSBACKSLASH, 226},
    {SDL_SCANCODE_CAPSLOCK, 20}, {SDL_SCANCODE_PRINTSCREEN, 44}, {SDL_SCANCODE_SCROLLLOCK, 145},
    {SDL_SCANCODE_PAUSE, 19}, {SDL_SCANCODE_INSERT, 45}, {SDL_SCANCODE_HOME, 36},
    {SDL_SCANCODE_PAGEUP, 33}, {SDL_SCANCODE_DELETE, 46}, {SDL_SCANCODE_END, 35},
    {SDL_SCANCODE_PAGEDOWN, 34}, {SDL_SCANCODE_RIGHT, 39}, {SDL_SCANCODE_LEFT, 37},
    {SDL_SCANCODE_DOWN, 40}, {SDL_SCANCODE_UP, 38}, {SDL_SCANCODE_APPLICATION, 93},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144}, {SDL_SCANCODE_KP_DIVIDE, 111},
    {SDL_SCANCODE_KP_MULTIPLY, 106}, {SDL_SCANCODE_KP_MINUS, 109}, {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_ENTER, 13}, {SDL_SCANCODE_KP_PERIOD, 110}, {SDL_SCANCODE_KP_0, 96},
    {SDL_SCANCODE_LSHIFT, 160}, {SDL_SCANCODE_RSHIFT, 161}, {SDL_SCANCODE_LCTRL, 162},
    {SDL_SCANCODE_RCTRL, 163}, {SDL_SCANCODE_LALT, 164}, {SDL_SCANCODE_RALT, 165},
    {SDL_SCANCODE_LGUI, 91}, {SDL_SCANCODE_RGUI, 92},
};

// The modifier bits of an event: 1 shift, 2 control, 4 alt, 8 command.
int Mods(Uint16 sdlMods) {
    int mods = 0;
    if (sdlMods & KMOD_SHIFT) mods |= 1;
    if (sdlMods & KMOD_CTRL) mods |= 2;
    if (sdlMods & KMOD_ALT) mods |= 4;
    if (sdlMods & KMOD_GUI) mods |= 8;
    return mods;
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

void Emit(int id, int data = 0, int mods = 0, int x = 0, int y = 0) {
    TEvent ev;
    ev.id = id;
    ev.data = data;
    ev.mods = mods;
    ev.x = x;
    ev.y = y;
    EmitEvent(ev);
}

// Keys the platform keeps for itself (F11 and Alt+Enter switch full screen): their presses and
// releases never reach the game. Alt itself still does, as any key.
bool keptKeys[SDL_NUM_SCANCODES] = {};

bool TogglesFullscreen(const SDL_Keysym& key) {
    if (key.scancode == SDL_SCANCODE_F11) return true;
    return (key.scancode == SDL_SCANCODE_RETURN || key.scancode == SDL_SCANCODE_KP_ENTER) && (key.mod & KMOD_ALT);
}

// Turns one SDL event into application events.
void Translate(const SDL_Event& e) {
    if (TranslateGamepadEvent(e)) return;
    switch (e.type) {
    case SDL_KEYDOWN:
        if (e.key.keysym.scancode < SDL_NUM_SCANCODES && TogglesFullscreen(e.key.keysym)) {
            keptKeys[e.key.keysym.scancode] = true;
            if (!e.key.repeat) ToggleFullscreen(e.key.windowID);
            break;
        }
        if (!e.key.repeat) {
            if (int code = KeyCodeForScancode(e.key.keysym.scancode)) EmitKeyboardKey(true, code, Mods(e.key.keysym.mod));
        }
        break;
    case SDL_KEYUP:
        if (e.key.keysym.scancode < SDL_NUM_SCANCODES && keptKeys[e.key.keysym.scancode]) {
            keptKeys[e.key.keysym.scancode] = false;
            break;
        }
        if (int code = KeyCodeForScancode(e.key.keysym.scancode)) EmitKeyboardKey(false, code, Mods(e.key.keysym.mod));
        break;
    case SDL_TEXTINPUT: {
        int c = SingleCodePoint(e.text.text);
        if (c == 127) c = 8;
        if (c > 0) Emit(EVENT_KEYCHAR, c, Mods(SDL_GetModState()));
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
        Emit(EVENT_MOUSEDOWN, MouseButton(e.button.button), Mods(SDL_GetModState()), e.button.x, e.button.y);
        break;
    case SDL_MOUSEBUTTONUP:
        Emit(EVENT_MOUSEUP, MouseButton(e.button.button), Mods(SDL_GetModState()), e.button.x, e.button.y);
        break;
    case SDL_MOUSEMOTION:
        Emit(EVENT_MOUSEMOVE, 0, Mods(SDL_GetModState()), e.motion.x, e.motion.y);
        break;
    case SDL_MOUSEWHEEL:
        if (e.wheel.y) Emit(EVENT_MOUSEWHEEL, e.wheel.y, Mods(SDL_GetModState()));
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) Emit(EVENT_APPSUSPEND);
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) Emit(EVENT_APPRESUME);
        // The close box only asks: the window stays open until the game decides to end.
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) Emit(EVENT_APPTERMINATE);
        break;
    case SDL_QUIT:
        Emit(EVENT_APPTERMINATE);
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
    // Every pending SDL event, translated; nothing before SDL's event system is up.
    void PollEvents() override {
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
    // read on the boot clock itself.
    void DelayUntil(int target) override {
        const uint64_t now = BootNanoSecs();
        const uint64_t counter = SDL_GetPerformanceCounter();
        const uint64_t ms = now / 1000000u;
        const int left = MilliSecsSince(WrapMilliSecs(ms), target);
        if (left <= 0) return;
        const double nanos = static_cast<double>((ms + static_cast<uint64_t>(left)) * 1000000u - now);
        TSDLWaitClock clock;
        WaitPrecisely(clock, counter + static_cast<uint64_t>(nanos * static_cast<double>(clock.Frequency()) / 1e9));
        while (MilliSecsSince(MilliSecs(), target) > 0) {
        }
    }
};

}  // namespace

// The key code for an SDL scancode, 0 when the key has none.
int KeyCodeForScancode(int scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0) return '0';
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return 112 + (scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) return 124 + (scancode - SDL_SCANCODE_F13);
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) return 97 + (scancode - SDL_SCANCODE_KP_1);
    for (const TScancodeKey& k : kKeyTable) {
        if (k.scancode == scancode) return k.code;
    }
    return 0;
}

// The one SDL system driver of the process (never freed: exit handlers may still poll).
TSystemDriver* SDLSystemDriver() {
    static TSDLSystemDriver* driver = new TSDLSystemDriver;
    return driver;
}
