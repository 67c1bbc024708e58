// The SDL platform: physical keys to key codes and SDL events to the polled state.
#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/input.h"
#include "platform/sdl/sdl_platform.h"

TEST(SDLKeys, GameKeysModifiersAndRowsMapByPosition) {
    const int table[][2] = {
        {SDL_SCANCODE_ESCAPE, 27}, {SDL_SCANCODE_SPACE, 32}, {SDL_SCANCODE_LEFT, 37}, {SDL_SCANCODE_RIGHT, 39},
        {SDL_SCANCODE_M, 77},      {SDL_SCANCODE_Z, 90},     {SDL_SCANCODE_A, 65},    {SDL_SCANCODE_9, 57},
        {SDL_SCANCODE_F12, 123},   {SDL_SCANCODE_LSHIFT, 160}, {SDL_SCANCODE_RALT, 165}, {SDL_SCANCODE_RGUI, 92},
        {SDL_SCANCODE_UNKNOWN, 0}, {SDL_SCANCODE_MUTE, 0},   {-1, 0},                 {100000, 0}};
    for (auto& row : table) EXPECT_EQ(KeyCodeForScancode(row[0]), row[1]) << row[0];
}

static void Push(Uint32 type, SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN, int repeat = 0, int window = 0) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.scancode = scancode;
    e.key.repeat = static_cast<Uint8>(repeat);
    if (type == SDL_WINDOWEVENT) e.window.event = static_cast<Uint8>(window);
    SDL_PushEvent(&e);
}

TEST(SDLDriver, TranslatesKeysFocusAndQuit) {
    SDLSystemDriver()->PollEvents();   // before SDL starts: nothing, and SDL stays down
    ASSERT_EQ(SDL_WasInit(SDL_INIT_EVENTS), 0u);
    ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
    InstallPlatform(SDLPlatform());
    EnablePolledInput();
    Push(SDL_KEYDOWN, SDL_SCANCODE_Z);
    Push(SDL_KEYDOWN, SDL_SCANCODE_Z, 1);
    Push(SDL_KEYUP, SDL_SCANCODE_Z);
    Push(SDL_KEYDOWN, SDL_SCANCODE_Z, 1);   // auto-repeat is no new press
    Push(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT);
    EXPECT_EQ(KeyHit(KEY_Z), 1);
    EXPECT_EQ(KeyDown(KEY_Z), 0);
    EXPECT_EQ(KeyDown(KEY_LSHIFT), 1);
    Push(SDL_QUIT);
    EXPECT_EQ(AppTerminate(), 1);
    Push(SDL_WINDOWEVENT, SDL_SCANCODE_UNKNOWN, 0, SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(AppSuspended(), 1);
    EXPECT_EQ(KeyDown(KEY_LSHIFT), 0);
    DisablePolledInput();
    InstallPlatform(TPlatform{});
    SDL_Quit();
}
