// The fakes tests put in place of the platform's parts: a clock that moves only when told to
// (or when something waits on it) and emits the events queued on it, an audio output the test
// pulls by hand, and a window part that opens pretend windows or passes the calls on to a real one.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <vector>

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/platform.h"

// While it lives it stands in front of the installed platform's events and clock
// (SetSystemDriver). Delay moves it on by the sleep, DelayUntil to the target (or by its
// longest wait), and every reading by `step`; the count wraps at 32 bits as the real one
// does. The reading is atomic, so the audio thread may read it too.
struct TFakeClock : TSystemDriver {
    explicit TFakeClock(int start = 0) : now(start), start(start), before(GetSystemDriver()) { SetSystemDriver(this); }
    ~TFakeClock() override { SetSystemDriver(before == InstalledPlatform().system ? nullptr : before); }
    TFakeClock(const TFakeClock&) = delete;
    TFakeClock& operator=(const TFakeClock&) = delete;

    void PollEvents() override {
        ++polls;
        for (; !queue.empty(); queue.pop_front()) EmitEvent(queue.front());
    }
    int MilliSecs() override {
        Advance(step);
        return now;
    }
    void Delay(int ms) override {
        sleeps.push_back(ms);
        Advance(ms);
    }
    void DelayUntil(int target, int longest) override {
        targets.push_back(MilliSecsSince(start, target));
        if (const int left = MilliSecsSince(now, target); left > 0) Advance(left < longest ? left : longest);
    }

    // Moves the clock on by ms.
    void Advance(int ms) { now = static_cast<int>(static_cast<uint32_t>(now.load()) + static_cast<uint32_t>(ms)); }
    // Milliseconds since the clock started.
    int Elapsed() const { return MilliSecsSince(start, now); }
    // Queues an event for the next poll.
    void Push(int id, int data = 0, const void* source = nullptr) { queue.push_back({id, source, data}); }

    std::atomic<int> now;
    const int start;
    int step = 0;
    std::vector<int> sleeps;    // each Delay's milliseconds
    std::vector<int> targets;   // each DelayUntil's target, from the start
    std::deque<TEvent> queue;
    int polls = 0;

private:
    TSystemDriver* before;
};

// An audio output that only keeps the feed it is given, so the test pulls blocks itself.
struct TFakeAudioOutput : TAudioOutputDriver {
    bool Open(TAudioFeed f, void* c) override {
        feed = f;
        context = c;
        return true;
    }
    void Close() override { feed = nullptr; }
    // Pulls frames from the feed, as the device's thread would.
    void Pull(int16_t* out, int frames) { feed(context, out, frames); }
    TAudioFeed feed = nullptr;
    void* context = nullptr;
};

// A window part. Without an inner part it opens pretend windows (none while `opens` is
// false) that have contexts and no pixels; with one it passes every call on, except that a
// `minimised` window's drawable reads as empty. It counts swaps and keeps the icon last shown.
struct TFakeWindow : TWindowDriver {
    explicit TFakeWindow(TWindowDriver* inner = nullptr) : inner(inner) {}

    bool StartVideo(const char** why) override { return !inner || inner->StartVideo(why); }
    bool CreateContext(TGLWindow* w) override { return !inner || inner->CreateContext(w); }
    bool HasContext(const TGLWindow* w) override { return !inner || inner->HasContext(w); }
    void Close(TGLWindow* w) override {
        if (inner) inner->Close(w);
    }
    void ReleaseContext(TGLWindow* w) override {
        if (inner) inner->ReleaseContext(w);
    }
    bool Size(TGLWindow* w, int* width, int* height) override { return inner && inner->Size(w, width, height); }
    bool DrawableSize(TGLWindow* w, int* width, int* height) override {
        if (!minimised) return inner && inner->DrawableSize(w, width, height);
        *width = *height = 0;
        return true;
    }
    void MakeCurrent(TGLWindow* w) override {
        if (inner) inner->MakeCurrent(w);
    }
    bool MakeSharedCurrent() override { return !inner || inner->MakeSharedCurrent(); }
    bool SharedIsCurrent() override { return !inner || inner->SharedIsCurrent(); }
    void SetSwapInterval(TGLWindow* w, int interval) override {
        if (inner) inner->SetSwapInterval(w, interval);
    }
    void Swap(TGLWindow* w) override {
        ++swaps;
        if (inner) inner->Swap(w);
    }
    void MovePointer(TGLWindow* w, int x, int y) override {
        if (inner) inner->MovePointer(w, x, y);
    }
    void* ProcAddress(const char* name) override { return inner ? inner->ProcAddress(name) : nullptr; }

    // The icon's pixel at (x, y), four bytes RGBA.
    const uint8_t* IconPixel(int x, int y) const { return &icon[(static_cast<size_t>(y) * iconWidth + x) * 4]; }

    TWindowDriver* inner;
    bool opens = true, minimised = false;
    int swaps = 0, icons = 0;   // swaps made, icons shown
    std::vector<uint8_t> icon;
    int iconWidth = 0, iconHeight = 0;
    int pretend = 0;            // what a pretend window points at

protected:
    TGLWindow* OpenWindow(int width, int height, const char* title, const TGLWindowFormat& format, bool fullscreen,
                          int hz, const char** why) override {
        if (!opens) return nullptr;
        if (!inner) return reinterpret_cast<TGLWindow*>(&pretend);
        return inner->Open(width, height, title, format, fullscreen, hz, why);
    }
    void SetIcon(TGLWindow*, const uint8_t* rgba, int width, int height) override {
        ++icons;
        icon.assign(rgba, rgba + static_cast<size_t>(width) * height * 4);
        iconWidth = width;
        iconHeight = height;
    }
};
