// The web system driver: the browser's key and focus events, queued as they come and emitted at
// the next poll as the desktop's are; the page's clock; and the loop on animation frames.
//
// Nothing here may block: the page has one thread, and while it waits the browser neither
// draws nor plays. Waiting returns at once; the loop paces the passes instead, as Flip's pacer
// paces the desktop: their times fall every 1/60 s from the first, without drift, and a pass
// late by a whole frame starts the count again rather than hurry to catch up.
#include "platform/web/web_platform.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/input.h"
#include "platform/web/web_keys.h"

namespace {

constexpr double kPassMs = 1000.0 / 60;   // the game's 60 passes a second

// One browser event waiting for the next poll.
struct TQueuedEvent {
    enum TKind { KEY, FOCUS_LOST, FOCUS_GAINED };
    TKind kind = KEY;
    bool down = false;
    std::string code;   // KeyboardEvent.code
    int mods = 0;

    static TQueuedEvent Focus(TKind kind) {
        TQueuedEvent e;
        e.kind = kind;
        return e;
    }
};

// The driver's state: the events not yet polled, when the next pass may run, and the loop.
struct TWebSystem {
    std::vector<TQueuedEvent> queue;
    bool listening = false;
    double nextPass = -1;         // when the next pass is due (emscripten_get_now), -1: now
    double frameInterval = 16.7;  // between animation frames, smoothed
    double lastFrame = 0;
    bool (*step)() = nullptr;
    void (*done)() = nullptr;
    int steps = 0;
};
TWebSystem web;

EM_JS(double, PageTimeOrigin, (), { return performance.timeOrigin; });

// The page's clock in ms since the epoch, to the microsecond.
double PageNow() {
    static const double origin = PageTimeOrigin();
    return origin + emscripten_get_now();
}

// The keys that would scroll the page (or go back a page) under the game.
bool MovesThePage(const std::string& code) {
    for (const char* key : {"Space", "ArrowLeft", "ArrowRight", "ArrowUp", "ArrowDown", "PageUp", "PageDown",
                            "Home", "End", "Backspace"})
        if (code == key) return true;
    return false;
}

// Escape is the browser's, to leave full screen; a page cannot be quit. The game's keys keep
// the browser from scrolling; its shortcuts (Ctrl+R, F5...) still work.
EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void*) {
    const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    const int mods = WebKeyMods(e->shiftKey, e->ctrlKey, e->altKey, e->metaKey);
    const std::string code = e->code;
    if (code == "Escape") return EM_FALSE;
    if (KeepForFullscreen(down, e->code, mods)) return EM_TRUE;
    if (KeyCodeForDomCode(e->code) == 0) return EM_FALSE;
    web.queue.push_back({TQueuedEvent::KEY, down, code, mods});
    return MovesThePage(code) && (mods & 10) == 0;
}

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void*) {
    web.queue.push_back(TQueuedEvent::Focus(type == EMSCRIPTEN_EVENT_BLUR ? TQueuedEvent::FOCUS_LOST : TQueuedEvent::FOCUS_GAINED));
    return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
    if (e->hidden) web.queue.push_back(TQueuedEvent::Focus(TQueuedEvent::FOCUS_LOST));
    return EM_FALSE;
}

void Listen() {
    if (web.listening) return;
    web.listening = true;
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, nullptr, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(window, nullptr, EM_TRUE, OnKey);
    emscripten_set_blur_callback(window, nullptr, EM_TRUE, OnFocus);
    emscripten_set_focus_callback(window, nullptr, EM_TRUE, OnFocus);
    emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, OnVisibility);
}

// Losing the focus lets go of the keyboard's keys (their releases go elsewhere), then suspends.
void EmitQueued(const TQueuedEvent& e) {
    switch (e.kind) {
    case TQueuedEvent::KEY: WebKeyboardKey(e.down, e.code.c_str(), e.mods); break;
    case TQueuedEvent::FOCUS_LOST:
        ReleaseKeyboard();
        EmitEvent(EVENT_APPSUSPEND);
        break;
    case TQueuedEvent::FOCUS_GAINED: EmitEvent(EVENT_APPRESUME); break;
    }
}

struct TWebSystemDriver : TSystemDriver {
    // The pads, then every browser event since the last poll, in order.
    void PollEvents() override {
        Listen();
        PollWebGamepads();
        std::vector<TQueuedEvent> events;
        events.swap(web.queue);
        for (const TQueuedEvent& e : events) EmitQueued(e);
    }
    int MilliSecs() override { return WrapMilliSecs(static_cast<uint64_t>(PageNow())); }
    int64_t MicroSecs() override { return static_cast<int64_t>(PageNow() * 1000.0); }
    // Never sleeps: the next pass waits for its animation frame instead.
    void Delay(int) override {}
    void DelayUntil(int, int) override {}
};

EM_JS(void, TellPagePass, (int pass, double ms, int last), {
    if (Module.onPass) Module.onPass(pass, ms, last !== 0);
});

// Whether a pass is due. The browser's frames need not fall on the passes' times, so a pass
// runs in the frame nearest its time: up to half a frame early rather than a whole frame late.
bool PassDue(double now) {
    const double slack = std::min(web.frameInterval / 2, 8.0);
    return web.nextPass < 0 || now >= web.nextPass - slack;
}

// The pass due now has run: the next one is a pass's time later, or, this one late by a whole
// frame, a pass's time from now.
void PassRun(double now) {
    web.nextPass = now > web.nextPass + kPassMs ? now + kPassMs : web.nextPass + kPassMs;
}

// One animation frame: a pass when its time has come.
EM_BOOL OnAnimationFrame(double, void*) {
    const double now = emscripten_get_now();
    if (web.lastFrame > 0) web.frameInterval += (std::min(now - web.lastFrame, 50.0) - web.frameInterval) / 8;
    web.lastFrame = now;
    if (!PassDue(now)) return EM_TRUE;
    PassRun(now);
    const bool more = web.step();
    TellPagePass(++web.steps, emscripten_get_now() - now, more ? 0 : 1);
    if (more) return EM_TRUE;
    if (web.done) web.done();
    return EM_FALSE;
}

EM_JS(void, ToggleStageFullscreen, (), {
    if (document.fullscreenElement) {
        document.exitFullscreen();
        return;
    }
    const stage = document.getElementById('stage') || Module['canvas'];
    if (stage && stage.requestFullscreen) stage.requestFullscreen().catch(() => {});
});

}  // namespace

void RunWebLoop(bool (*step)(), void (*done)()) {
    web.step = step;
    web.done = done;
    emscripten_request_animation_frame_loop(OnAnimationFrame, nullptr);
}

void ToggleWebFullscreen() { ToggleStageFullscreen(); }

// The one web system driver of the page.
TSystemDriver* WebSystemDriver() {
    static TWebSystemDriver driver;
    return &driver;
}
