// The OpenGL ES 2 plane driver: draws the drawing layer with shaders and vertex buffers
// (OpenGL ES 2.0 or WebGL 1), the same picture as the OpenGL driver.
#pragma once

#include "draw2d/plane.h"

// The one ES 2 plane driver; pass it to StartDrawLayer to draw into real windows.
TPlaneDriver* ES2PlaneDriver();
