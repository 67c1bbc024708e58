// Inside the Win32 platform: what its window procedure, key translation, pads and windows
// share. Sizes the drawing layer sees are in 96-dpi units; a window's pixels are more of them
// on a high-density screen.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// The class of the game's windows (and the hidden one), whose procedure is GameWindowProc.
inline constexpr wchar_t kWindowClass[] = L"KestravaWindow";
// Queues the messages that become application events, for the next poll; answers the rest.
LRESULT CALLBACK GameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The modifier bits held now: 1 shift, 2 control, 4 alt, 8 the Windows key.
int KeyMods();
// The key code (input.h) of a keyboard scancode (lParam bits 16..23) and its extended bit
// (lParam bit 24), as the desktop's other platforms give the same physical key; 0 for none.
int KeyCodeForScancode(int scancode, bool extended);
// Takes in a WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP of the window, with the
// modifiers held as it came: repeats are dropped, F11 and Alt+Enter switch full screen and
// never reach the game.
void TranslateKeyMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int mods);
// Lets go of the keys the keyboard holds (their releases went to another window).
void ReleaseKeyboard();
// Reads the XInput pads, when started, pressing and releasing the keys they share.
void PollGamepads();

// Desktop full screen on or off for the window: a borderless window over its monitor, or back
// to the frame, size and place it had.
void ToggleFullscreen(HWND window);
// Whether the window covers its monitor in desktop full screen (the pointer hides over it).
bool InFullscreen(HWND window);
// The window's dots per inch (96 on a screen of ordinary density).
int WindowDpi(HWND window);
