// Polled keyboard state and application events. Events come from the installed platform
// (platform.h, system.h); a key goes one way: the platform emits it, the polled-input hook
// takes it into the arrays KeyDown reads.
#pragma once

#include <cstdint>
#include <string>

enum : int {
    EVENT_APPSUSPEND = 0x101,
    EVENT_APPRESUME = 0x102,
    EVENT_APPTERMINATE = 0x103,
    EVENT_APPHIDDEN = 0x104,   // the window was minimised (the polled state takes no notice)
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
    KEY_BACKSPACE = 8, KEY_TAB = 9, KEY_RETURN = 13, KEY_PAUSE = 19, KEY_ESCAPE = 27, KEY_SPACE = 32,
    KEY_LEFT = 37, KEY_UP = 38, KEY_RIGHT = 39, KEY_DOWN = 40, KEY_DELETE = 46,
    KEY_0 = 48, KEY_A = 65, KEY_M = 77, KEY_P = 80, KEY_Z = 90,
    KEY_LSYS = 91, KEY_RSYS = 92, KEY_F1 = 112, KEY_F8 = 119, KEY_F9 = 120, KEY_F10 = 121,
    KEY_LSHIFT = 160, KEY_RSHIFT = 161, KEY_LCONTROL = 162, KEY_RCONTROL = 163,
    KEY_LALT = 164, KEY_RALT = 165,
};

// An application event: what happened, where, with which key or button.
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
// Adds a hook after the others.
void AddEventHook(TEventHook hook, void* context);
// Removes the hook added with this function and context.
void RemoveEventHook(TEventHook hook, void* context);

// Runs the emitted-event hooks (the polled-input hook among them).
void EmitEvent(const TEvent& event);
// The same for an event of these fields, the others empty.
void EmitEvent(int id, int data = 0, int mods = 0, int x = 0, int y = 0);

// Attaches the polled state to the event stream (only events from source, when given).
void EnablePolledInput(const void* source = nullptr);
// Detaches the polled state and clears it.
void DisablePolledInput();

// 1 while the key is down; 0 for codes outside 0..255.
int KeyDown(int key);
// Presses of the key since it was last asked, then 0; 0 for codes outside 0..255.
int KeyHit(int key);
// 1 once after the user asked to quit (close box or quit command), then 0.
int AppTerminate();
// 1 while the application is not the active one.
int AppSuspended();
// Forgets held keys, stored hits and typed characters.
void FlushKeys();
// Forgets held buttons and stored clicks.
void FlushMouse();
// 1 while the mouse button (1..3) is down; 0 for other numbers.
int MouseDown(int button);
// Clicks of the button since it was last asked, then 0.
int MouseHit(int button);
// The next typed character, 0 when none waits.
int GetChar();
// Takes in every pending system event; nothing when already polling further up the call chain.
void PollSystem();
