// The ways what is drawn mixes with the picture already there (SetBlend).
#pragma once

enum : int { BLEND_MASK = 1, BLEND_SOLID = 2, BLEND_ALPHA = 3, BLEND_ADD = 4, BLEND_MULTIPLY = 5 };

// Whether a fragment of alpha 0 leaves its pixel exactly as it was: so under additive, alpha
// and masked blending what is drawn over transparent texels may be left out.
inline bool ClearTexelsLeavePixels(int blendMode) {
    return blendMode == BLEND_ADD || blendMode == BLEND_ALPHA || blendMode == BLEND_MASK;
}
