// The OpenGL plane driver: draws the drawing layer into windows with OpenGL.
#pragma once

#include "draw2d/plane.h"

// The one OpenGL plane driver; pass it to StartDrawLayer to draw into real windows.
TPlaneDriver* GLPlaneDriver();
