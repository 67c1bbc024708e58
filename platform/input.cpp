// The polled input state: key and mouse arrays fed by the emitted-event hook, queried by the game.
#include "platform/input.h"

#include <algorithm>
#include <vector>

#include "platform/system.h"

namespace {

struct THookEntry {
    TEventHook hook;
    void* context;
};

std::vector<THookEntry>& Hooks() {
    static std::vector<THookEntry> hooks;
    return hooks;
}

struct TPolledInput {
    int keyStates[256] = {};
    int keyHits[256] = {};
    int charQueue[256] = {};
    unsigned charGet = 0;
    unsigned charPut = 0;
    int mouseStates[4] = {};
    int mouseHits[4] = {};
    int mouseX = 0, mouseY = 0, mouseZ = 0;
    int suspended = 0;
    int terminateRequest = 0;
    const void* sourceFilter = nullptr;
    bool enabled = false;
};

TPolledInput input;
bool polling = false;

bool IsKey(int key) { return key >= 0 && key < 256; }
bool IsButton(int button) { return button >= 0 && button < 4; }

// The polled-input hook: takes every application event into the arrays above.
void PolledInputHook(const TEvent& ev, void*) {
    if (input.sourceFilter && ev.source != input.sourceFilter) return;
    switch (ev.id) {
    case EVENT_KEYDOWN:
        // A key already down (say after a missed release) adds no hit.
        if (IsKey(ev.data) && !input.keyStates[ev.data]) {
            input.keyStates[ev.data] = 1;
            ++input.keyHits[ev.data];
        }
        break;
    case EVENT_KEYUP:
        if (IsKey(ev.data)) input.keyStates[ev.data] = 0;
        break;
    case EVENT_KEYCHAR:
        if (input.charPut - input.charGet < 256) input.charQueue[input.charPut++ % 256] = ev.data;
        break;
    case EVENT_MOUSEDOWN:
        if (IsButton(ev.data) && !input.mouseStates[ev.data]) {
            input.mouseStates[ev.data] = 1;
            ++input.mouseHits[ev.data];
        }
        break;
    case EVENT_MOUSEUP:
        if (IsButton(ev.data)) input.mouseStates[ev.data] = 0;
        break;
    case EVENT_MOUSEMOVE:
        input.mouseX = ev.x;
        input.mouseY = ev.y;
        break;
    case EVENT_MOUSEWHEEL:
        input.mouseZ += ev.data;
        break;
    case EVENT_APPSUSPEND:
        FlushKeys();
        FlushMouse();
        input.suspended = 1;
        break;
    case EVENT_APPRESUME:
        FlushKeys();
        FlushMouse();
        input.suspended = 0;
        break;
    case EVENT_APPTERMINATE:
        input.terminateRequest = 1;
        break;
    }
}

}  // namespace

// What an event calls itself.
std::string EventName(int id) {
    switch (id) {
    case EVENT_APPSUSPEND: return "AppSuspend";
    case EVENT_APPRESUME: return "AppResume";
    case EVENT_APPTERMINATE: return "AppTerminate";
    case EVENT_KEYDOWN: return "KeyDown";
    case EVENT_KEYUP: return "KeyUp";
    case EVENT_KEYCHAR: return "KeyChar";
    case EVENT_MOUSEDOWN: return "MouseDown";
    case EVENT_MOUSEUP: return "MouseUp";
    case EVENT_MOUSEMOVE: return "MouseMove";
    case EVENT_MOUSEWHEEL: return "MouseWheel";
    }
    return "Unknown Event, id=" + std::to_string(id);
}

// Adds a hook to the end of the emitted-event hooks.
void AddEventHook(TEventHook hook, void* context) { Hooks().push_back({hook, context}); }

// Removes a hook added with the same function and context.
void RemoveEventHook(TEventHook hook, void* context) {
    auto& hooks = Hooks();
    hooks.erase(std::remove_if(hooks.begin(), hooks.end(),
                               [&](const THookEntry& e) { return e.hook == hook && e.context == context; }),
                hooks.end());
}

// Runs every hook; a copy is walked so a hook may add or remove hooks. A quit request that
// comes while the polled state is detached (the window still opening, say) is kept for it,
// so the game's first AppTerminate sees it rather than the game running on regardless.
void EmitEvent(const TEvent& event) {
    if (event.id == EVENT_APPTERMINATE && !input.enabled) input.terminateRequest = 1;
    std::vector<THookEntry> hooks = Hooks();
    for (const THookEntry& e : hooks) e.hook(event, e.context);
}

// Attaches the polled state to the event stream; later calls do nothing until disabled.
void EnablePolledInput(const void* source) {
    if (input.enabled) return;
    input.sourceFilter = source;
    FlushKeys();
    FlushMouse();
    AddEventHook(PolledInputHook, nullptr);
    input.enabled = true;
}

// Detaches the polled state and clears it.
void DisablePolledInput() {
    if (!input.enabled) return;
    RemoveEventHook(PolledInputHook, nullptr);
    FlushKeys();
    FlushMouse();
    input.sourceFilter = nullptr;
    input.enabled = false;
}

// 1 while the key is down.
int KeyDown(int key) {
    PollSystem();
    return IsKey(key) ? input.keyStates[key] : 0;
}

// Presses of the key since it was last asked; clears the count.
int KeyHit(int key) {
    PollSystem();
    if (!IsKey(key)) return 0;
    int hits = input.keyHits[key];
    input.keyHits[key] = 0;
    return hits;
}

// The quit request, cleared by reading it.
int AppTerminate() {
    PollSystem();
    int request = input.terminateRequest;
    input.terminateRequest = 0;
    return request;
}

// 1 while the application is not the active one.
int AppSuspended() {
    PollSystem();
    return input.suspended;
}

// Forgets every held key, stored hit and waiting character.
void FlushKeys() {
    PollSystem();
    std::fill(std::begin(input.keyStates), std::end(input.keyStates), 0);
    std::fill(std::begin(input.keyHits), std::end(input.keyHits), 0);
    input.charGet = input.charPut = 0;
}

// Forgets every held button and stored click.
void FlushMouse() {
    PollSystem();
    std::fill(std::begin(input.mouseStates), std::end(input.mouseStates), 0);
    std::fill(std::begin(input.mouseHits), std::end(input.mouseHits), 0);
    input.mouseZ = 0;
}

// 1 while the mouse button is down.
int MouseDown(int button) {
    PollSystem();
    return IsButton(button) ? input.mouseStates[button] : 0;
}

// Clicks of the button since it was last asked; clears the count.
int MouseHit(int button) {
    PollSystem();
    if (!IsButton(button)) return 0;
    int hits = input.mouseHits[button];
    input.mouseHits[button] = 0;
    return hits;
}

// Last pointer position and wheel total.
int MouseX() { PollSystem(); return input.mouseX; }
int MouseY() { PollSystem(); return input.mouseY; }
int MouseZ() { PollSystem(); return input.mouseZ; }

// Next character from the typed-character queue, 0 when it is empty.
int GetChar() {
    PollSystem();
    if (input.charGet == input.charPut) return 0;
    return input.charQueue[input.charGet++ % 256];
}

// Takes in every pending system event; does nothing when already polling further up the
// call chain (a flush from inside the hook must not poll again).
void PollSystem() {
    if (polling) return;
    polling = true;
    struct TGuard { ~TGuard() { polling = false; } } guard;
    GetSystemDriver()->PollEvents();
}

// The millisecond clock of the installed driver.
int MilliSecs() { return GetSystemDriver()->MilliSecs(); }

// Sleeps for ms milliseconds; nothing for ms <= 0.
void Delay(int ms) {
    if (ms > 0) GetSystemDriver()->Delay(ms);
}

// The fine clock of the installed driver.
int64_t MicroSecs() { return GetSystemDriver()->MicroSecs(); }

// Waits on the installed driver until its clock reads target.
void DelayUntil(int target) { GetSystemDriver()->DelayUntil(target); }
