// SDL's audio output opened away from the main thread: it starts and ends SDL's audio itself,
// leaving SDL's subsystem counts (which the main thread changes meanwhile) alone, and leaves
// SDL's audio running when someone else had started it.
#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

#include "platform/sdl/sdl_platform.h"

namespace {

std::atomic<int> pulls{0};

void CountPulls(void*, int16_t* out, int frames) {
    for (int i = 0; i < 2 * frames; ++i) out[i] = 0;
    ++pulls;
}

// Opens SDL's output on a thread of its own, as the audio services do; whether it opened.
bool OpenOnAThreadOfItsOwn() {
    bool opened = false;
    std::thread opener([&] { opened = SDLAudioOutputDriver()->Open(CountPulls, nullptr); });
    opener.join();
    return opened;
}

// Waits (at most ten seconds) for the device thread's first pull.
bool AwaitPull() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (pulls == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return pulls > 0;
}

}  // namespace

TEST(SDLAudioOutput, OpensOffTheMainThreadWithoutTouchingSubsystemCounts) {
    ASSERT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
    pulls = 0;
    if (!OpenOnAThreadOfItsOwn()) GTEST_SKIP() << "no audio device";
    EXPECT_NE(SDL_GetCurrentAudioDriver(), nullptr);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);   // no SDL_InitSubSystem behind the main thread
    EXPECT_TRUE(AwaitPull());
    SDLAudioOutputDriver()->Close();
    EXPECT_EQ(SDL_GetCurrentAudioDriver(), nullptr);   // and SDL's audio ends with the output
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}

TEST(SDLAudioOutput, LeavesAudioThatWasStartedBeforeItRunning) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    pulls = 0;
    bool opened = OpenOnAThreadOfItsOwn();
    if (opened) {
        EXPECT_TRUE(AwaitPull());
        SDLAudioOutputDriver()->Close();
    }
    EXPECT_NE(SDL_GetCurrentAudioDriver(), nullptr);
    EXPECT_NE(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_Quit();
    if (!opened) GTEST_SKIP() << "no audio device";
}
