// Desktop full screen on the SDL platform: F11 and Alt+Enter switch it, the pointer hides
// there, the window comes back to its size and place, and the game never sees those keys.
// Xvfb has no window manager, so the window's size on screen does not change while in full
// screen; what is checked is SDL's state, the pointer and the place the window returns to.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>

#include "platform/input.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_platform.h"
#include "support/event_recorder.h"

namespace {

// The SDL window with this title.
SDL_Window* FindWindow(const char* title) {
    for (Uint32 id = 1; id < 64; ++id) {
        SDL_Window* w = SDL_GetWindowFromID(id);
        if (w && std::strcmp(SDL_GetWindowTitle(w), title) == 0) return w;
    }
    return nullptr;
}

void PushKey(SDL_Window* window, Uint32 type, SDL_Scancode scancode, Uint16 mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = SDL_GetWindowID(window);
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = scancode;
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
}

void TapF11(SDL_Window* window) {
    PushKey(window, SDL_KEYDOWN, SDL_SCANCODE_F11);
    PushKey(window, SDL_KEYUP, SDL_SCANCODE_F11);
    PollSystem();
}

void TapAltEnter(SDL_Window* window) {
    PushKey(window, SDL_KEYDOWN, SDL_SCANCODE_LALT, KMOD_LALT);
    PushKey(window, SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT);
    PushKey(window, SDL_KEYUP, SDL_SCANCODE_RETURN, KMOD_LALT);
    PushKey(window, SDL_KEYUP, SDL_SCANCODE_LALT);
    PollSystem();
}

bool InFullscreen(SDL_Window* window) {
    return (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
}

bool PointerShown() { return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE; }

struct TPlace {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const TPlace&) const = default;
};

TPlace PlaceOf(SDL_Window* window) {
    TPlace p;
    SDL_GetWindowPosition(window, &p.x, &p.y);
    SDL_GetWindowSize(window, &p.width, &p.height);
    return p;
}

class Fullscreen : public ::testing::Test {
protected:
    void SetUp() override {
        InstallPlatform(SDLPlatform());
        const char* why = nullptr;
        ASSERT_TRUE(WindowDriver().StartVideo(&why)) << why;
        EnablePolledInput();
    }
    void TearDown() override {
        DisablePolledInput();
        InstallPlatform(TPlatform{});
        SDL_Quit();
    }
};

}  // namespace

TEST_F(Fullscreen, F11AndAltEnterToggleItHidingThePointerAndTheGameSeesNeitherKey) {
    // The key presses sent to the game, counted as they come: the window's focus changing on
    // the way in or out of full screen flushes the polled key hits (as any focus change does),
    // at a moment the X server chooses, so the hits alone cannot tell which keys got through.
    TEventRecorder presses;
    const char* why = nullptr;
    TGLWindow* gl = WindowDriver().Open(640, 480, "Full screen keys", TGLWindowFormat{}, false, 60, &why);
    ASSERT_NE(gl, nullptr) << why;
    SDL_Window* window = FindWindow("Full screen keys");
    ASSERT_NE(window, nullptr);
    SDL_SetWindowPosition(window, 100, 50);
    PollSystem();
    const TPlace windowed = PlaceOf(window);
    EXPECT_FALSE(InFullscreen(window));
    EXPECT_TRUE(PointerShown());

    TapF11(window);
    EXPECT_TRUE(InFullscreen(window));
    EXPECT_FALSE(PointerShown());
    TapF11(window);
    EXPECT_FALSE(InFullscreen(window));
    EXPECT_TRUE(PointerShown());
    EXPECT_EQ(PlaceOf(window), windowed);
    EXPECT_EQ(presses.KeyDowns(KEY_F1 + 10), 0);

    TapAltEnter(window);
    EXPECT_TRUE(InFullscreen(window));
    EXPECT_FALSE(PointerShown());
    TapAltEnter(window);
    EXPECT_FALSE(InFullscreen(window));
    EXPECT_TRUE(PointerShown());
    EXPECT_EQ(PlaceOf(window), windowed);
    // Alt reaches the game as it always did; the Enter that completes the pair does not.
    EXPECT_EQ(presses.KeyDowns(KEY_LALT), 2);
    EXPECT_EQ(presses.KeyDowns(KEY_RETURN), 0);

    // Enter alone is an ordinary key; held, once the window's focus has settled.
    for (int i = 0; i < 10; ++i) {
        SDL_Delay(10);
        PollSystem();
    }
    PushKey(window, SDL_KEYDOWN, SDL_SCANCODE_RETURN);
    PollSystem();
    EXPECT_FALSE(InFullscreen(window));
    EXPECT_EQ(presses.KeyDowns(KEY_RETURN), 1);
    EXPECT_EQ(KeyDown(KEY_RETURN), 1);
    PushKey(window, SDL_KEYUP, SDL_SCANCODE_RETURN);
    EXPECT_EQ(KeyDown(KEY_RETURN), 0);
    WindowDriver().Close(gl);
}

TEST_F(Fullscreen, AWindowOpenedThereReturnsToItsOwnCentredSize) {
    TGLWindowFormat format;
    format.desktopFullscreen = true;
    const char* why = nullptr;
    TGLWindow* gl = WindowDriver().Open(1280, 960, "Full screen start", format, false, 60, &why);
    ASSERT_NE(gl, nullptr) << why;
    SDL_Window* window = FindWindow("Full screen start");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(InFullscreen(window));
    EXPECT_FALSE(PointerShown());

    TapF11(window);
    EXPECT_FALSE(InFullscreen(window));
    EXPECT_TRUE(PointerShown());
    SDL_Rect screen{};
    ASSERT_EQ(SDL_GetDisplayBounds(0, &screen), 0) << SDL_GetError();
    TPlace place = PlaceOf(window);
    EXPECT_EQ(place.width, 1280);
    EXPECT_EQ(place.height, 960);
    EXPECT_EQ(place.x, (screen.w - 1280) / 2);
    EXPECT_EQ(place.y, (screen.h - 960) / 2);

    // Closing a window in full screen gives the pointer back.
    TapF11(window);
    EXPECT_FALSE(PointerShown());
    WindowDriver().Close(gl);
    EXPECT_TRUE(PointerShown());
}
