// The installed platform: the headless one by default, parts combined from two platforms, and
// test drivers put in front of the installed clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "support/event_recorder.h"

namespace {

struct TFixedClock : TSystemDriver {
    explicit TFixedClock(int ms) : ms(ms) {}
    void PollEvents() override { EmitEvent(TEvent{EVENT_KEYDOWN, nullptr, ms % 256}); }
    int MilliSecs() override { return ms; }
    void Delay(int) override {}
    int ms;
};

// A window part that says what it was asked, so the fronts can be seen reaching it.
struct TLogWindow : TWindowDriver {
    bool StartVideo(const char**) override { return log.push_back("start"), true; }
    TGLWindow* Open(int w, int h, const char* title, const TGLWindowFormat& f, bool full, int hz,
                    const char**) override {
        log.push_back("open " + std::to_string(w) + "x" + std::to_string(h) + " " + title +
                      (f.doubleBuffer ? " double" : " single") + (full ? " full " : " windowed ") +
                      std::to_string(hz));
        return reinterpret_cast<TGLWindow*>(&token);
    }
    bool CreateContext(TGLWindow* w) override { return log.push_back(Name("context", w)), true; }
    bool HasContext(const TGLWindow*) override { return log.push_back("has"), true; }
    void Close(TGLWindow* w) override { log.push_back(Name("close", w)); }
    void MakeCurrent(TGLWindow* w) override { log.push_back(Name("current", w)); }
    bool MakeSharedCurrent() override { return log.push_back("shared"), true; }
    bool SharedIsCurrent() override { return log.push_back("shared?"), true; }
    void SetSwapInterval(TGLWindow* w, int i) override { log.push_back(Name("interval", w) + " " + std::to_string(i)); }
    void Swap(TGLWindow* w) override { log.push_back(Name("swap", w)); }
    void MovePointer(TGLWindow* w, int x, int y) override {
        log.push_back(Name("pointer", w) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void* ProcAddress(const char* name) override { return log.push_back(std::string("proc ") + name), &token; }

    std::string Name(const char* what, const TGLWindow* w) const {
        return std::string(what) + (w == reinterpret_cast<const TGLWindow*>(&token) ? " ours" : " none");
    }
    int token = 0;
    std::vector<std::string> log;
};

struct TLogAudio : TAudioOutputDriver {
    bool Open(TAudioFeed feed, void* context) override {
        int16_t block[4] = {};
        feed(context, block, 2);
        return opened = true;
    }
    void Close() override { opened = false; }
    bool opened = false;
};

}  // namespace

// What a program gets that installs nothing: it runs, but has no window, sound or events.
TEST(HeadlessPlatform, IsTheDefaultWithNoWindowNoSoundNoEventsAndAClockThatNeverGoesBack) {
    InstallPlatform(TPlatform{});
    const TPlatform headless = HeadlessPlatform();
    EXPECT_EQ(InstalledPlatform().system, headless.system);
    EXPECT_EQ(InstalledPlatform().window, headless.window);
    EXPECT_EQ(InstalledPlatform().audio, headless.audio);

    const char* why = nullptr;
    EXPECT_FALSE(StartVideo(&why));
    EXPECT_STREQ(why, "no display: the headless platform has no windows");
    why = nullptr;
    EXPECT_EQ(OpenGLWindow(640, 480, "Kestrava", TGLWindowFormat{}, false, 60, &why), nullptr);
    EXPECT_STREQ(why, "no display: the headless platform has no windows");
    EXPECT_EQ(OpenGLWindow(640, 480, "Kestrava", TGLWindowFormat{}, true, 60, nullptr), nullptr);
    EXPECT_FALSE(MakeSharedContextCurrent());
    EXPECT_FALSE(SharedContextIsCurrent());
    EXPECT_FALSE(CreateGLContext(nullptr));
    EXPECT_FALSE(HasGLContext(nullptr));
    EXPECT_EQ(GLProcAddress("glBegin"), nullptr);
    MakeWindowContextCurrent(nullptr);   // nothing to act on, and no crash
    SwapWindow(nullptr);
    CloseGLWindow(nullptr);

    auto feed = [](void*, int16_t*, int) { ADD_FAILURE() << "the headless output pulled samples"; };
    EXPECT_FALSE(OpenAudioOutput(feed, nullptr));
    CloseAudioOutput();

    TEventRecorder recorder;
    PollSystem();
    EXPECT_TRUE(recorder.events.empty());
    int earlier = MilliSecs();
    Delay(0);
    Delay(-5);
    EXPECT_GE(MilliSecsSince(earlier, MilliSecs()), 0);
}

// The scripted runner combines its clock and keyboard with another platform's window.
TEST(InstallPlatform, PartsLeftOutAreHeadlessAndTheFrontsReachTheInstalledParts) {
    TFixedClock clock(100000);
    TLogWindow window;
    TPlatform mixed;
    mixed.system = &clock;
    mixed.window = &window;
    InstallPlatform(mixed);
    EXPECT_EQ(InstalledPlatform().audio, HeadlessPlatform().audio);
    EXPECT_EQ(MilliSecs(), 100000);

    TGLWindowFormat single;
    single.doubleBuffer = false;
    TGLWindow* w = OpenGLWindow(640, 480, "Kestrava v.0.4", single, false, 60, nullptr);
    EXPECT_TRUE(StartVideo(nullptr));
    EXPECT_TRUE(CreateGLContext(w));
    EXPECT_TRUE(HasGLContext(w));
    EXPECT_TRUE(MakeSharedContextCurrent());
    EXPECT_TRUE(SharedContextIsCurrent());
    MakeWindowContextCurrent(w);
    MakeWindowContextCurrent(nullptr);
    SetSwapInterval(w, 1);
    SwapWindow(w);
    MoveMousePointer(w, 320, 240);
    EXPECT_EQ(GLProcAddress("glGenBuffers"), &window.token);
    CloseGLWindow(w);
    EXPECT_EQ(window.log, (std::vector<std::string>{
                              "open 640x480 Kestrava v.0.4 single windowed 60", "start", "context ours", "has",
                              "shared", "shared?", "current ours", "current none", "interval ours 1", "swap ours",
                              "pointer ours 320,240", "proc glGenBuffers", "close ours"}));

    TLogAudio audio;
    InstallPlatform(TPlatform{&clock, &window, &audio});
    int pulls = 0;
    EXPECT_TRUE(OpenAudioOutput([](void* pulls, int16_t*, int) { ++*static_cast<int*>(pulls); }, &pulls));
    EXPECT_TRUE(audio.opened);
    EXPECT_EQ(pulls, 1);
    CloseAudioOutput();
    EXPECT_FALSE(audio.opened);
    InstallPlatform(TPlatform{});
}

// Tests put a clock of their own in front; taking it away goes back to the installed
// platform's clock, not to the headless default.
TEST(InstallPlatform, ADriverSetInFrontHidesTheInstalledEventsAndClockUntilRemoved) {
    TFixedClock installed(100000), test(7);
    InstallPlatform(TPlatform{&installed, nullptr, nullptr});
    EnablePolledInput();
    SetSystemDriver(&test);
    EXPECT_EQ(GetSystemDriver(), &test);
    EXPECT_EQ(MilliSecs(), 7);
    EXPECT_EQ(KeyHit(7), 1);
    SetSystemDriver(nullptr);
    EXPECT_EQ(GetSystemDriver(), &installed);
    EXPECT_EQ(MilliSecs(), 100000);
    EXPECT_EQ(KeyHit(100000 % 256), 1);
    EXPECT_EQ(KeyHit(7), 0);
    DisablePolledInput();
    InstallPlatform(TPlatform{});
    EXPECT_EQ(GetSystemDriver(), HeadlessPlatform().system);
}
