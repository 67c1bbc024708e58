// Drawing an image frame over only the cells of the window where it can change a pixel.
#pragma once

#include "draw2d/plane.h"

// The OpenGL and ES 2 plane drivers' DrawVisibleFrame: the frame is drawn, through the
// scissor, over each run of the window's 64-pixel cells where some pixel of `visible` that
// filtering may read lands; the scissor changes which pixels are drawn, never their colours. A frame over
// nothing visible draws nothing, yet leaves the texture and colour as drawing it would. False
// under a drawing matrix that turns, where the cells do not follow the frame's rows.
bool DrawVisibleCells(TPlaneDriver& driver, TImageFrame& frame, const TAlphaCoverage& visible, float x0,
                      float y0, float x1, float y1, float tx, float ty);
