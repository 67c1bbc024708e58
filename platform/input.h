// Polled keyboard state, application events, the millisecond clock.
#pragma once

#include <cstdint>
#include <string>

enum : int {
    EVENT_APPSUSPEND = 0x101,
    EVENT_APPRESUME = 0x102,
    EVENT_APPTERMINATE = 0x103,
    EVENT_KEYDOWN = 0x201,
    EVENT_KEYUP = 0x202,
    EVENT_KEYCHAR = 0x203,
    EVENT_MOUSEDOWN = 0x401,
    EVENT_MOUSEUP = 0x402,
    EVENT_MOUSEMOVE = 0x403,
    EVENT_MOUSEWHEEL = 0x404,
};

// Key codes (the Windows virtual-key set).
enum : int {
    KEY_BACKSPACE = 8, KEY_TAB = 9, KEY_RETURN = 13, KEY_ESCAPE = 27, KEY_SPACE = 32,
    KEY_LEFT = 37, KEY_UP = 38, KEY_RIGHT = 39, KEY_DOWN = 40, KEY_DELETE = 46,
    KEY_0 = 48, KEY_A = 65, KEY_M = 77, KEY_Z = 90,
    KEY_LSYS = 91, KEY_RSYS = 92, KEY_F1 = 112,
    KEY_LSHIFT = 160, KEY_RSHIFT = 161, KEY_LCONTROL = 162, KEY_RCONTROL = 163,
    KEY_LALT = 164, KEY_RALT = 165,
};

struct TEvent {
    int id = 0;
    const void* source = nullptr;
    int data = 0;
    int mods = 0;
    int x = 0;
    int y = 0;
    const void* extra = nullptr;
};

// What an event calls itself: "KeyDown", "AppTerminate", ... or "Unknown Event, id=N".
std::string EventName(int id);

// A hook run for every emitted event, in the order the hooks were added.
using TEventHook = void (*)(const TEvent& event, void* context);
void AddEventHook(TEventHook hook, void* context);
void RemoveEventHook(TEventHook hook, void* context);

// Runs the emitted-event hooks (the polled-input hook among them).
void EmitEvent(const TEvent& event);

void EnablePolledInput(const void* source = nullptr);
void DisablePolledInput();

int KeyDown(int key);   // 0 for codes outside 0..255
int KeyHit(int key);    // 0 for codes outside 0..255
int AppTerminate();
int AppSuspended();
void FlushKeys();
void FlushMouse();
int MouseDown(int button);  // buttons 1..3; 0 for others
int MouseHit(int button);
int MouseX();
int MouseY();
int MouseZ();               // wheel total
int GetChar();              // next typed character, 0 when none waits
void PollSystem();      // re-entry guarded

int MilliSecs();
void Delay(int ms);     // nothing for ms <= 0

// Difference of two MilliSecs readings, right across the 32-bit wrap.
inline int MilliSecsSince(int earlier, int later) {
    return static_cast<int>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}
