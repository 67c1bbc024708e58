// The ways what is drawn mixes with the picture already there (SetBlend).
#pragma once

enum : int { BLEND_MASK = 1, BLEND_SOLID = 2, BLEND_ALPHA = 3, BLEND_ADD = 4, BLEND_MULTIPLY = 5 };
