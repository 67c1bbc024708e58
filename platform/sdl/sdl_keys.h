// Inside the SDL platform: the keys the keyboard and game controllers share. A key code reads as
// held while the keyboard or any pad holds it, and as released only once all of them let go.
#pragma once

#include <SDL.h>

// The modifier bits of an event: 1 shift, 2 control, 4 alt, 8 command.
int KeyMods(Uint16 sdlMods);
// Takes in a keyboard or game controller event (keys, plugging, unplugging, buttons,
// triggers), emitting the key events the game reads; false when the event is none of those.
bool TranslateKeyEvent(const SDL_Event& event);
