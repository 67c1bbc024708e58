// Game controllers on the SDL platform, with SDL's virtual joystick standing in for a pad: the
// shoulders and triggers hold the wings' keys, A and Start press Space, pads come and go at any
// time, and a key held by both the keyboard and a pad is released only when both let go.
#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/input.h"
#include "platform/sdl/sdl_platform.h"

namespace {

// A virtual pad laid out as a game controller; detached when it goes out of scope.
struct TVirtualPad {
    int index = -1;
    SDL_Joystick* joystick = nullptr;

    TVirtualPad() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Kestrava test pad";
        index = SDL_JoystickAttachVirtualEx(&desc);
        if (index < 0) return;
        joystick = SDL_JoystickOpen(index);
        // The triggers rest at the bottom of the raw axis range, as a real pad's do.
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    }
    ~TVirtualPad() { Unplug(); }
    void Unplug() {
        if (!joystick) return;
        int deviceIndex = -1;
        SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) deviceIndex = i;
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        if (deviceIndex >= 0) SDL_JoystickDetachVirtual(deviceIndex);
    }
    // Each change is polled in, as a real press lasts at least one poll.
    void Button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0);
        PollSystem();
    }
    // A trigger at value (0 at rest to 32767 fully in, as the game controller API reads it).
    void Trigger(SDL_GameControllerAxis axis, int value) {
        SDL_JoystickSetVirtualAxis(joystick, axis, static_cast<Sint16>(value * 2 - 32768));
        PollSystem();
    }
    void Stick(SDL_GameControllerAxis axis, int value) {
        SDL_JoystickSetVirtualAxis(joystick, axis, static_cast<Sint16>(value));
        PollSystem();
    }
};

void PushKey(Uint32 type, SDL_Scancode scancode) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.scancode = scancode;
    SDL_PushEvent(&e);
}

// SDL on the events and game controller subsystems, the SDL platform installed, keys polled.
class Gamepads : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
        ASSERT_TRUE(StartGamepads()) << SDL_GetError();
        InstallPlatform(SDLPlatform());
        EnablePolledInput();
    }
    void TearDown() override {
        DisablePolledInput();
        InstallPlatform(TPlatform{});
        SDL_Quit();
    }
};

}  // namespace

TEST_F(Gamepads, ShouldersTriggersAAndStartPressTheGamesKeys) {
    TVirtualPad pad;
    ASSERT_NE(pad.joystick, nullptr) << SDL_GetError();
    PollSystem();
    ASSERT_EQ(GamepadCount(), 1);

    pad.Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    EXPECT_EQ(KeyHit(KEY_LEFT), 1);
    EXPECT_EQ(KeyDown(KEY_LEFT), 1);
    EXPECT_EQ(KeyDown(KEY_RIGHT), 0);
    pad.Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, false);
    EXPECT_EQ(KeyDown(KEY_LEFT), 0);

    pad.Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    EXPECT_EQ(KeyDown(KEY_RIGHT), 1);
    pad.Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false);
    EXPECT_EQ(KeyDown(KEY_RIGHT), 0);

    // Triggers press past half their travel and let go below a quarter.
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 10000);
    EXPECT_EQ(KeyDown(KEY_LEFT), 0);
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 20000);
    EXPECT_EQ(KeyDown(KEY_LEFT), 1);
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 12000);
    EXPECT_EQ(KeyDown(KEY_LEFT), 1);
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 0);
    EXPECT_EQ(KeyDown(KEY_LEFT), 0);
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    EXPECT_EQ(KeyDown(KEY_RIGHT), 1);
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
    EXPECT_EQ(KeyDown(KEY_RIGHT), 0);
    EXPECT_EQ(KeyHit(KEY_LEFT), 1);
    EXPECT_EQ(KeyHit(KEY_RIGHT), 2);

    // A and Start are Space; other buttons and the sticks press nothing.
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    pad.Button(SDL_CONTROLLER_BUTTON_A, false);
    pad.Button(SDL_CONTROLLER_BUTTON_START, true);
    pad.Button(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_EQ(KeyHit(KEY_SPACE), 2);
    pad.Button(SDL_CONTROLLER_BUTTON_B, true);
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    pad.Stick(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    PollSystem();
    for (int key = 0; key < 256; ++key) EXPECT_EQ(KeyHit(key), 0) << key;
}

TEST_F(Gamepads, AKeyHeldOnKeyboardAndPadIsReleasedOnlyWhenBothLetGo) {
    TVirtualPad pad;
    ASSERT_NE(pad.joystick, nullptr) << SDL_GetError();
    PollSystem();   // the pad is opened, so its first press below is an event of its own
    // Keyboard first, pad lets go first.
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_LEFT);
    pad.Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    EXPECT_EQ(KeyHit(KEY_LEFT), 1);
    pad.Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, false);
    EXPECT_EQ(KeyDown(KEY_LEFT), 1);
    PushKey(SDL_KEYUP, SDL_SCANCODE_LEFT);
    EXPECT_EQ(KeyDown(KEY_LEFT), 0);
    // Pad first, keyboard lets go first; shoulder and trigger together count as one hand.
    pad.Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_RIGHT);
    EXPECT_EQ(KeyHit(KEY_RIGHT), 1);
    PushKey(SDL_KEYUP, SDL_SCANCODE_RIGHT);
    EXPECT_EQ(KeyDown(KEY_RIGHT), 1);
    pad.Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false);
    EXPECT_EQ(KeyDown(KEY_RIGHT), 1);
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
    EXPECT_EQ(KeyDown(KEY_RIGHT), 0);
    // Z and the left shoulder are different keys to the polled state: each reads on its own.
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_Z);
    pad.Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    PushKey(SDL_KEYUP, SDL_SCANCODE_Z);
    EXPECT_EQ(KeyDown(KEY_Z), 0);
    EXPECT_EQ(KeyDown(KEY_LEFT), 1);
}

TEST_F(Gamepads, PadsPluggedInAndOutAtAnyTimeAndUnpluggingReleasesWhatTheyHeld) {
    PollSystem();
    EXPECT_EQ(GamepadCount(), 0);
    {
        TVirtualPad first;
        ASSERT_NE(first.joystick, nullptr) << SDL_GetError();
        TVirtualPad second;
        ASSERT_NE(second.joystick, nullptr) << SDL_GetError();
        PollSystem();
        EXPECT_EQ(GamepadCount(), 2);
        // Both pads hold the left wing: it stays down until the second lets go too.
        first.Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
        second.Trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
        second.Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
        EXPECT_EQ(KeyHit(KEY_LEFT), 1);
        first.Unplug();
        PollSystem();
        EXPECT_EQ(GamepadCount(), 1);
        EXPECT_EQ(KeyDown(KEY_LEFT), 1);
        EXPECT_EQ(KeyDown(KEY_RIGHT), 1);
        second.Unplug();
        PollSystem();
        EXPECT_EQ(GamepadCount(), 0);
        EXPECT_EQ(KeyDown(KEY_LEFT), 0);
        EXPECT_EQ(KeyDown(KEY_RIGHT), 0);
    }
    // Plugged in again, a pad works as before; one held while unplugged gives its key back.
    TVirtualPad again;
    ASSERT_NE(again.joystick, nullptr) << SDL_GetError();
    PollSystem();
    EXPECT_EQ(GamepadCount(), 1);
    again.Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(KeyHit(KEY_SPACE), 1);
    EXPECT_EQ(KeyDown(KEY_SPACE), 1);
    again.Unplug();
    EXPECT_EQ(KeyDown(KEY_SPACE), 0);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_SPACE);
    EXPECT_EQ(KeyHit(KEY_SPACE), 1);
}
