// The game's window icon: the desktop's own icon, embedded in the program.
#pragma once

// Gives the windows opened from now on the embedded 256-pixel desktop icon; false (and no
// icon) when it cannot be decoded. Nothing drawn changes.
bool UseDesktopIconForWindows();
