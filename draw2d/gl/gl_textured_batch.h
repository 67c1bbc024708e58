// TPoly's textured batches in immediate-mode OpenGL.
#pragma once

#include "draw2d/plane.h"

// The one OpenGL textured batch (OpenGL has one begin/end bracket at a time).
TTexturedBatch& GLTexturedBatch();
