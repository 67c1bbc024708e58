// Inside the SDL platform: the keys the keyboard and game controllers share. A key code reads as
// held while the keyboard or any pad holds it, and as released only once all of them let go.
#pragma once

#include <SDL.h>

// The keyboard pressed (down) or released the key code: emits the key event unless a pad
// holds the same key, so its release waits for the pad's.
void EmitKeyboardKey(bool down, int code, int mods);
// Takes in a game controller event (plugging, unplugging, buttons, triggers); false when the
// event is none of those.
bool TranslateGamepadEvent(const SDL_Event& event);
