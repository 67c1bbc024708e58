// The headless parts: events that never come, a steady clock, windows that cannot be opened
// and an audio output that is not there.
#include "platform/headless/headless_platform.h"

#include <chrono>
#include <thread>

namespace {

struct THeadlessSystem : TSystemDriver {
    // No system, no events.
    void PollEvents() override {}

    // Milliseconds of the monotonic clock, wrapping modulo 2^32 like the desktop clock.
    int MilliSecs() override {
        auto since = std::chrono::steady_clock::now().time_since_epoch();
        return WrapMilliSecs(static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count()));
    }

    void Delay(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    // Microseconds of the same monotonic clock.
    int64_t MicroSecs() override {
        auto since = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<int64_t>(std::chrono::duration_cast<std::chrono::microseconds>(since).count());
    }
};

struct THeadlessWindow : TWindowDriver {
    bool StartVideo(const char** why) override {
        if (why) *why = kHeadlessNoWindow;
        return false;
    }
    std::vector<TDisplayMode> DisplayModes() override { return {}; }
    // No window is ever made here, so nothing below has anything to act on.
    bool CreateContext(TGLWindow*) override { return false; }
    bool HasContext(const TGLWindow*) override { return false; }
    void Close(TGLWindow*) override {}
    void ReleaseContext(TGLWindow*) override {}
    bool Size(TGLWindow*, int*, int*) override { return false; }
    void MakeCurrent(TGLWindow*) override {}
    bool MakeSharedCurrent() override { return false; }
    bool SharedIsCurrent() override { return false; }
    void SetSwapInterval(TGLWindow*, int) override {}
    void Swap(TGLWindow*) override {}
    void MovePointer(TGLWindow*, int, int) override {}
    void* ProcAddress(const char*) override { return nullptr; }

protected:
    TGLWindow* OpenWindow(int, int, const char*, const TGLWindowFormat&, bool, int, const char** why) override {
        if (why) *why = kHeadlessNoWindow;
        return nullptr;
    }
};

struct THeadlessAudio : TAudioOutputDriver {
    bool Open(TAudioFeed, void*) override { return false; }
    void Close() override {}
};

}  // namespace

// The process-wide headless parts.
TPlatform HeadlessPlatform() {
    // Never freed, so exit handlers that close windows or audio still find them.
    static THeadlessSystem* system = new THeadlessSystem;
    static THeadlessWindow* window = new THeadlessWindow;
    static THeadlessAudio* audio = new THeadlessAudio;
    return {system, window, audio};
}
