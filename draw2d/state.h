// Inside the drawing layer: the drawing state record, the layer-wide settings and the
// OpenGL driver services that images, text and polygons share with the primitives.
#pragma once

#include <memory>

struct TImageFont;

// One per graphics object; the free functions of draw.h store into the current one.
struct TDrawState {
    int color_red = 0, color_green = 0, color_blue = 0;
    float color_alpha = 0;
    int cls_red = 0, cls_green = 0, cls_blue = 0;
    float line_width = 0;
    float rotation = 0;
    float scale_x = 0, scale_y = 0;
    float tform_ix = 0, tform_iy = 0, tform_jx = 0, tform_jy = 0;
    int viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0;
    float origin_x = 0, origin_y = 0;
    float handle_x = 0, handle_y = 0;     // the negated SetHandle values
    std::shared_ptr<TImageFont> image_font;
    int blend_mode = 0;
};

// The drawing state of the current graphics (a default-constructed record when none is open).
TDrawState& CurrentDrawState();

// Puts the current graphics' drawing state and the layer-wide settings back to their
// defaults, in the order a new graphics object gets them.
void SetDrawingDefaults();

// Layer-wide settings (one copy, not per graphics).
struct TDrawLayerSettings {
    int mask_red = 0, mask_green = 0, mask_blue = 0;
    int auto_midhandle = 0;
    int auto_imageflags = 3;
    std::shared_ptr<TImageFont> default_font;
};
TDrawLayerSettings& DrawLayerSettings();

// The OpenGL driver's caches: each call is skipped when the cache says it is in effect.
void GLBindTexture(unsigned name);
void GLEnableTexture(bool enabled);
// Sends the current colour again; call it right after glBegin so that primitives of
// different colours still batch together (much faster on Mesa). Changes nothing drawn.
void GLRepeatColour();

// Runs the enclosed work in the hidden context that shares textures, when called in pairs.
void SwapSharedContext();
