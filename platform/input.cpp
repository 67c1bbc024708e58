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
    int suspended = 0;
    int terminateRequest = 0;
    const void* sourceFilter = nullptr;
    bool enabled = false;
};

TPolledInput input;
bool polling = false;

bool IsKey(int key) { return key >= 0 && key < 256; }
bool IsButton(int button) { return button >= 0 && button < 4; }

void ClearKeys() {
    std::fill(std::begin(input.keyStates), std::end(input.keyStates), 0);
    std::fill(std::begin(input.keyHits), std::end(input.keyHits), 0);
    input.charGet = input.charPut = 0;
}

void ClearMouse() {
    std::fill(std::begin(input.mouseStates), std::end(input.mouseStates), 0);
    std::fill(std::begin(input.mouseHits), std::end(input.mouseHits), 0);
}

// The polled-input hook: takes every application event into the arrays above. It runs inside
// a poll, so it clears state directly and never polls again.
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
    case EVENT_APPSUSPEND:
    case EVENT_APPRESUME:
        ClearKeys();
        ClearMouse();
        input.suspended = ev.id == EVENT_APPSUSPEND;
        break;
    case EVENT_APPTERMINATE:
        input.terminateRequest = 1;
        break;
    }
}

}  // namespace

std::string EventName(int id) {
    switch (id) {
    case EVENT_APPSUSPEND: return "AppSuspend";
    case EVENT_APPRESUME: return "AppResume";
    case EVENT_APPTERMINATE: return "AppTerminate";
    case EVENT_APPHIDDEN: return "AppHidden";
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

void AddEventHook(TEventHook hook, void* context) { Hooks().push_back({hook, context}); }

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

void EmitEvent(int id, int data, int mods, int x, int y) {
    TEvent ev;
    ev.id = id;
    ev.data = data;
    ev.mods = mods;
    ev.x = x;
    ev.y = y;
    EmitEvent(ev);
}

// Later calls do nothing until disabled.
void EnablePolledInput(const void* source) {
    if (input.enabled) return;
    input.sourceFilter = source;
    FlushKeys();
    FlushMouse();
    AddEventHook(PolledInputHook, nullptr);
    input.enabled = true;
}

void DisablePolledInput() {
    if (!input.enabled) return;
    RemoveEventHook(PolledInputHook, nullptr);
    FlushKeys();
    FlushMouse();
    input.sourceFilter = nullptr;
    input.enabled = false;
}

int KeyDown(int key) {
    PollSystem();
    return IsKey(key) ? input.keyStates[key] : 0;
}

int KeyHit(int key) {
    PollSystem();
    if (!IsKey(key)) return 0;
    int hits = input.keyHits[key];
    input.keyHits[key] = 0;
    return hits;
}

int AppTerminate() {
    PollSystem();
    int request = input.terminateRequest;
    input.terminateRequest = 0;
    return request;
}

int AppSuspended() {
    PollSystem();
    return input.suspended;
}

// Polls first, so presses already waiting are forgotten too.
void FlushKeys() {
    PollSystem();
    ClearKeys();
}

void FlushMouse() {
    PollSystem();
    ClearMouse();
}

int MouseDown(int button) {
    PollSystem();
    return IsButton(button) ? input.mouseStates[button] : 0;
}

int MouseHit(int button) {
    PollSystem();
    if (!IsButton(button)) return 0;
    int hits = input.mouseHits[button];
    input.mouseHits[button] = 0;
    return hits;
}

int GetChar() {
    PollSystem();
    if (input.charGet == input.charPut) return 0;
    return input.charQueue[input.charGet++ % 256];
}

// The guard keeps a poll from starting inside another: a hook that reads input while events
// are being taken in sees the state as it stands.
void PollSystem() {
    if (polling) return;
    polling = true;
    struct TGuard { ~TGuard() { polling = false; } } guard;
    GetSystemDriver()->PollEvents();
}
