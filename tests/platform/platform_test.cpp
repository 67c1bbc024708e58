// The installed platform: the headless one by default, parts combined from two platforms, and
// test drivers put in front of the installed clock.
#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "support/event_recorder.h"
#include "support/fake_platform.h"

// What a program gets that installs nothing: it runs, but has no window, sound or events.
TEST(HeadlessPlatform, IsTheDefaultWithNoWindowNoSoundNoEventsAndAClockThatNeverGoesBack) {
    InstallPlatform(TPlatform{});
    const TPlatform headless = HeadlessPlatform();
    EXPECT_EQ(InstalledPlatform().system, headless.system);
    EXPECT_EQ(&WindowDriver(), headless.window);
    EXPECT_EQ(InstalledPlatform().audio, headless.audio);

    const char* why = nullptr;
    EXPECT_FALSE(WindowDriver().StartVideo(&why));
    EXPECT_STREQ(why, "no display: the headless platform has no windows");
    why = nullptr;
    EXPECT_EQ(WindowDriver().Open(640, 480, "Kestrava", TGLWindowFormat{}, false, 60, &why), nullptr);
    EXPECT_STREQ(why, "no display: the headless platform has no windows");
    EXPECT_EQ(WindowDriver().Open(640, 480, "Kestrava", TGLWindowFormat{}, true, 60, nullptr), nullptr);
    EXPECT_FALSE(WindowDriver().MakeSharedCurrent());
    EXPECT_FALSE(WindowDriver().CreateContext(nullptr));
    EXPECT_EQ(WindowDriver().ProcAddress("glBegin"), nullptr);

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
    TFakeWindow window;
    InstallPlatform(TPlatform{nullptr, &window, nullptr});
    EXPECT_EQ(InstalledPlatform().system, HeadlessPlatform().system);
    EXPECT_EQ(InstalledPlatform().audio, HeadlessPlatform().audio);
    EXPECT_EQ(&WindowDriver(), &window);

    TFakeAudioOutput audio;
    InstallPlatform(TPlatform{nullptr, nullptr, &audio});
    int pulls = 0;
    EXPECT_TRUE(OpenAudioOutput([](void* pulls, int16_t*, int) { ++*static_cast<int*>(pulls); }, &pulls));
    audio.Pull(nullptr, 0);
    EXPECT_EQ(pulls, 1);
    CloseAudioOutput();
    EXPECT_EQ(audio.feed, nullptr);
    InstallPlatform(TPlatform{});
}

// Tests put a clock of their own in front; taking it away goes back to the installed
// platform's clock, not to the headless default.
TEST(InstallPlatform, ADriverSetInFrontHidesTheInstalledEventsAndClockUntilRemoved) {
    TFakeClock installed(100000);
    SetSystemDriver(nullptr);
    InstallPlatform(TPlatform{&installed, nullptr, nullptr});
    EnablePolledInput();
    installed.Push(EVENT_KEYDOWN, KEY_A);
    {
        TFakeClock test(7);
        test.Push(EVENT_KEYDOWN, KEY_Z);
        EXPECT_EQ(GetSystemDriver(), &test);
        EXPECT_EQ(MilliSecs(), 7);
        EXPECT_EQ(KeyHit(KEY_Z), 1);
        EXPECT_EQ(KeyHit(KEY_A), 0);
    }
    EXPECT_EQ(GetSystemDriver(), &installed);
    EXPECT_EQ(MilliSecs(), 100000);
    EXPECT_EQ(KeyHit(KEY_A), 1);
    DisablePolledInput();
    InstallPlatform(TPlatform{});
    EXPECT_EQ(GetSystemDriver(), HeadlessPlatform().system);
}
