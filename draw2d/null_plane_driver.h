// The null plane driver: keeps the drawing state exactly as a real driver would and draws
// nothing, for running the game without any display.
#pragma once

#include "draw2d/plane.h"

// The one null plane driver. Its graphics are a null window that only remembers its
// settings; its flips present nothing (Flip still paces and counts); its image frames hold
// no texture; reading the picture back fails.
TPlaneDriver* NullPlaneDriver();
