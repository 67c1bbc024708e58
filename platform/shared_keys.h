// The keys a keyboard and game pads share, for a platform's key translation: a pad is one more
// hand on the keyboard, so a key code reads as held while the keyboard or any pad holds it, and
// as released only once all of them have let go. Pads press the keys the game already reads:
// the shoulders and triggers the wings, A and Start Space, Back (Select) Pause.
#pragma once

#include "platform/input.h"

// The pad controls that press keys, and the key each presses.
enum : int {
    PAD_LEFTSHOULDER, PAD_LEFTTRIGGER, PAD_RIGHTSHOULDER, PAD_RIGHTTRIGGER, PAD_A, PAD_START, PAD_BACK,
    PAD_CONTROLS
};
constexpr int kPadControlKey[PAD_CONTROLS] = {KEY_LEFT, KEY_LEFT, KEY_RIGHT, KEY_RIGHT, KEY_SPACE, KEY_SPACE, KEY_PAUSE};

// A trigger presses past half its travel and lets go below a quarter, so a finger resting
// near the middle does not chatter.
constexpr double kTriggerPress = 0.5;
constexpr double kTriggerRelease = 0.25;

// The controls one pad holds.
struct TPadControls {
    bool held[PAD_CONTROLS] = {};
};

class TSharedKeys {
public:
    // The keyboard pressed or let go of the key: its event goes out unless a pad holds the same
    // key, so its release waits for the pad's (codes outside 0..255 always go out).
    void Keyboard(bool down, int code, int mods);
    // Whether the keyboard holds the key.
    bool KeyboardHolds(int code) const { return IsKey(code) && keyboard_[code]; }
    // The pad's control went down or up: its key goes down with the key's first holder and up
    // with the last.
    void Pad(TPadControls& pad, int control, bool down);
    // Lets go of every control the pad holds (it was unplugged).
    void ReleasePad(TPadControls& pad);
    // Lets go of every key the keyboard holds (their releases went to another window).
    void ReleaseKeyboard();
    // Forgets what the pads hold, sending nothing (the pads went with their system).
    void ForgetPads();

private:
    static bool IsKey(int code) { return code >= 0 && code < 256; }
    bool keyboard_[256] = {};
    int pads_[256] = {};   // how many pad controls hold each key
};
