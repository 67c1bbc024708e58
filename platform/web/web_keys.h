// Inside the web platform: the keys the keyboard and gamepads share. A key code reads as held
// while the keyboard or any pad holds it, and as released only once all of them let go.
#pragma once

// The modifier bits of a key event: 1 shift, 2 control, 4 alt, 8 command.
int WebKeyMods(bool shift, bool control, bool alt, bool meta);
// F11 and Alt+Enter switch full screen at once (browsers allow it only while the key's own event
// runs); true for those keys, pressed or let go, which never reach the game.
bool KeepForFullscreen(bool down, const char* code, int mods);
// The keyboard pressed or let go of the key at this place (a KeyboardEvent.code), emitting the
// key event the game reads. False for a key the game has no code for.
bool WebKeyboardKey(bool down, const char* code, int mods);
// The keyboard's keys all let go at once (the page lost the focus: their releases go elsewhere).
void ReleaseKeyboard();
// Reads every connected standard-mapped gamepad, pressing and letting go of the keys the
// desktop's mapping gives its controls; pads unplugged let go of theirs.
void PollWebGamepads();
