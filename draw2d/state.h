// Inside the drawing layer: its one state record (the drawing state in use, the driver that
// draws it, and the layer-wide settings).
#pragma once

#include <functional>
#include <memory>

struct TImageFont;
struct TPlaneDriver;

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

// Layer-wide settings (one copy, not per graphics).
struct TDrawLayerSettings {
    int mask_red = 0, mask_green = 0, mask_blue = 0;
    int auto_midhandle = 0;
    int auto_imageflags = 3;
    std::shared_ptr<TImageFont> default_font;
};

// The whole drawing layer's state: which graphics' drawing state is in use and which
// driver draws it (none while no graphics are current), and the layer-wide settings.
struct TDrawLayer {
    TDrawState* state = nullptr;     // the current graphics' record, or none
    TPlaneDriver* driver = nullptr;  // the current graphics' driver, or none
    TDrawState blank;                // stands in for the drawing state while no graphics are current
    TDrawLayerSettings settings;
    bool started = false;            // the font files and pixmap loaders are registered
    std::function<void(const char*)> layerTimer;   // told of each finished layer, when set
};

// The drawing layer's one state record.
TDrawLayer& DrawLayer();

// The drawing state of the current graphics (a blank record when none is open).
inline TDrawState& CurrentDrawState() {
    TDrawLayer& layer = DrawLayer();
    return layer.state ? *layer.state : layer.blank;
}

// The layer-wide settings: mask colour, automatic handles and flags, the built-in font.
inline TDrawLayerSettings& DrawLayerSettings() { return DrawLayer().settings; }

// The driver of the drawing state in use, or none while no graphics are current.
inline TPlaneDriver* CurrentPlaneDriver() { return DrawLayer().driver; }
