// The game's window icon: the desktop's own icon, embedded in the program.
#pragma once

#include "draw2d/pixmap.h"

// Gives the windows opened from now on the embedded 256-pixel desktop icon, decoded when the
// next window opens (none when it cannot be); false when the program has no icon. Nothing
// drawn changes.
bool UseDesktopIconForWindows();
// The embedded icon's bytes (nullptr when there is none).
TEncodedPicture DesktopIconBytes();
