// The drawing state's setters and getters and the untextured primitives: each stores into
// the current graphics' state and hands the driver what it needs. Also making a graphics'
// drawing state the one in use.
#include "draw2d/draw.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "draw2d/font.h"
#include "draw2d/plane.h"
#include "draw2d/state.h"
#include "platform/numeric.h"

namespace {

TDrawState& State() { return CurrentDrawState(); }

// The 2 by 2 matrix from rotation (degrees) and scale, handed to the driver.
void UpdateTransform() {
    TPlaneDriver* driver = CurrentPlaneDriver();
    TDrawState& s = State();
    double radians = s.rotation * (M_PI / 180.0);
    double c = std::cos(radians), sn = std::sin(radians);
    s.tform_ix = static_cast<float>(c * s.scale_x);
    s.tform_iy = static_cast<float>(-sn * s.scale_y);
    s.tform_jx = static_cast<float>(sn * s.scale_x);
    s.tform_jy = static_cast<float>(c * s.scale_y);
    if (driver) driver->SetTransform(s.tform_ix, s.tform_iy, s.tform_jx, s.tform_jy);
}

}  // namespace

void SetDrawingDefaults() {
    TDrawLayerSettings& layer = DrawLayerSettings();
    if (!layer.default_font) layer.default_font = TImageFont::CreateDefault();
    SetBlend(BLEND_MASK);
    SetColor(255, 255, 255);
    SetClsColor(0, 0, 0);
    SetMaskColor(0, 0, 0);
    SetAlpha(1.0f);
    SetOrigin(0, 0);
    SetHandle(0, 0);
    SetViewport(0, 0, GraphicsWidth(), GraphicsHeight());
    SetTransform(0, 1, 1);
    SetLineWidth(1.0f);
    layer.auto_midhandle = 0;
    layer.auto_imageflags = 3;
    State().image_font = layer.default_font;
}

void SetPlaneGraphics(TPlaneGraphics* g) {
    TDrawLayer& layer = DrawLayer();
    layer.state = g ? &g->state : nullptr;
    layer.driver = g ? g->driver : nullptr;
    if (!g || g->initialised) return;
    SetDrawingDefaults();
    Cls();
    Flip(0);
    Cls();
    Flip(0);
    g->initialised = 1;
}

void SetColor(int red, int green, int blue) {
    TPlaneDriver* driver = CurrentPlaneDriver();
    TDrawState& s = State();
    s.color_red = red;
    s.color_green = green;
    s.color_blue = blue;
    if (driver) driver->SetColor(red, green, blue);
}

void GetColor(int* red, int* green, int* blue) {
    const TDrawState& s = State();
    *red = s.color_red;
    *green = s.color_green;
    *blue = s.color_blue;
}

void SetAlpha(float alpha) {
    TPlaneDriver* driver = CurrentPlaneDriver();
    State().color_alpha = alpha;
    if (driver) driver->SetAlpha(alpha);
}

float GetAlpha() { return State().color_alpha; }

void SetBlend(int mode) {
    TPlaneDriver* driver = CurrentPlaneDriver();
    State().blend_mode = mode;
    if (driver) driver->SetBlend(mode);
}

int GetBlend() { return State().blend_mode; }

void SetClsColor(int red, int green, int blue) {
    TPlaneDriver* driver = CurrentPlaneDriver();
    TDrawState& s = State();
    s.cls_red = red;
    s.cls_green = green;
    s.cls_blue = blue;
    if (driver) driver->SetClsColor(red, green, blue);
}

void GetClsColor(int* red, int* green, int* blue) {
    const TDrawState& s = State();
    *red = s.cls_red;
    *green = s.cls_green;
    *blue = s.cls_blue;
}

void SetLineWidth(float width) {
    TPlaneDriver* driver = CurrentPlaneDriver();
    State().line_width = width;
    if (driver) driver->SetLineWidth(width);
}

float GetLineWidth() { return State().line_width; }

void SetMaskColor(int red, int green, int blue) {
    TDrawLayerSettings& layer = DrawLayerSettings();
    layer.mask_red = red;
    layer.mask_green = green;
    layer.mask_blue = blue;
}

void GetMaskColor(int* red, int* green, int* blue) {
    const TDrawLayerSettings& layer = DrawLayerSettings();
    *red = layer.mask_red;
    *green = layer.mask_green;
    *blue = layer.mask_blue;
}

void SetViewport(int x, int y, int width, int height) {
    TPlaneDriver* driver = CurrentPlaneDriver();
    TDrawState& s = State();
    s.viewport_x = x;
    s.viewport_y = y;
    s.viewport_w = width;
    s.viewport_h = height;
    if (driver) driver->SetViewport(x, y, width, height);
}

void GetViewport(int* x, int* y, int* width, int* height) {
    const TDrawState& s = State();
    *x = s.viewport_x;
    *y = s.viewport_y;
    *width = s.viewport_w;
    *height = s.viewport_h;
}

void SetOrigin(float x, float y) {
    State().origin_x = x;
    State().origin_y = y;
}

void GetOrigin(float* x, float* y) {
    *x = State().origin_x;
    *y = State().origin_y;
}

// The handle is kept negated: it is what gets added to a shape's local corner.
void SetHandle(float x, float y) {
    State().handle_x = -x;
    State().handle_y = -y;
}

void GetHandle(float* x, float* y) {
    *x = State().handle_x;
    *y = State().handle_y;
}

void SetRotation(float degrees) {
    State().rotation = degrees;
    UpdateTransform();
}

float GetRotation() { return State().rotation; }

void SetScale(float x, float y) {
    State().scale_x = x;
    State().scale_y = y;
    UpdateTransform();
}

void GetScale(float* x, float* y) {
    *x = State().scale_x;
    *y = State().scale_y;
}

void SetTransform(float degrees, float scaleX, float scaleY) {
    TDrawState& s = State();
    s.rotation = degrees;
    s.scale_x = scaleX;
    s.scale_y = scaleY;
    UpdateTransform();
}

void Cls() {
    TPlaneDriver* driver = CurrentPlaneDriver();
    if (driver) driver->Cls();
}

TPixmapPtr GrabPicture() {
    TPlaneDriver* driver = CurrentPlaneDriver();
    return driver ? driver->GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight()) : nullptr;
}

// Copied with no blending, so every channel, alpha too, lands as it was read.
void PutPicture(const TPixmap& picture) {
    TPlaneDriver* driver = CurrentPlaneDriver();
    if (!driver) return;
    driver->SetBlend(BLEND_SOLID);
    driver->DrawPixmap(picture, 0, 0);
    driver->SetBlend(State().blend_mode);
}

void Plot(float x, float y) {
    TPlaneDriver* driver = CurrentPlaneDriver();
    const TDrawState& s = State();
    if (driver) driver->Plot(static_cast<float>(static_cast<double>(x) + s.origin_x),
                             static_cast<float>(static_cast<double>(y) + s.origin_y));
}

void DrawRect(float x, float y, float width, float height) {
    TPlaneDriver* driver = CurrentPlaneDriver();
    const TDrawState& s = State();
    if (!driver) return;
    driver->DrawRect(s.handle_x, s.handle_y,
                     static_cast<float>(static_cast<double>(s.handle_x) + width),
                     static_cast<float>(static_cast<double>(s.handle_y) + height),
                     static_cast<float>(static_cast<double>(x) + s.origin_x),
                     static_cast<float>(static_cast<double>(y) + s.origin_y));
}

void DrawLine(float x, float y, float x2, float y2, int drawLastPixel) {
    TPlaneDriver* driver = CurrentPlaneDriver();
    const TDrawState& s = State();
    if (!driver) return;
    float ex = static_cast<float>(static_cast<double>(s.handle_x) + x2 - x);
    float ey = static_cast<float>(static_cast<double>(s.handle_y) + y2 - y);
    float tx = static_cast<float>(static_cast<double>(x) + s.origin_x);
    float ty = static_cast<float>(static_cast<double>(y) + s.origin_y);
    driver->DrawLine(s.handle_x, s.handle_y, ex, ey, tx, ty);
    if (!drawLastPixel) return;
    driver->Plot(static_cast<float>(static_cast<double>(ex) * s.tform_ix +
                                    static_cast<double>(ey) * s.tform_iy + tx),
                 static_cast<float>(static_cast<double>(ex) * s.tform_jx +
                                    static_cast<double>(ey) * s.tform_jy + ty));
}

void DrawOval(float x, float y, float width, float height) {
    TPlaneDriver* driver = CurrentPlaneDriver();
    const TDrawState& s = State();
    if (!driver) return;
    driver->DrawOval(s.handle_x, s.handle_y,
                     static_cast<float>(static_cast<double>(s.handle_x) + width),
                     static_cast<float>(static_cast<double>(s.handle_y) + height),
                     static_cast<float>(static_cast<double>(x) + s.origin_x),
                     static_cast<float>(static_cast<double>(y) + s.origin_y));
}

void DrawPoly(const std::vector<float>& xy) {
    TPlaneDriver* driver = CurrentPlaneDriver();
    const TDrawState& s = State();
    if (driver) driver->DrawPoly(xy, s.handle_x, s.handle_y, s.origin_x, s.origin_y);
}

void EndLayer(const char* name) {
    TDrawLayer& layer = DrawLayer();
    if (!layer.layerTimer) return;
    if (layer.driver) layer.driver->Finish();
    layer.layerTimer(name);
}

void SetLayerTimer(std::function<void(const char*)> timer) { DrawLayer().layerTimer = std::move(timer); }

// Absurd sizes are capped so that a huge oval costs a bounded number of vertices, not billions.
int OvalSegments(float width, float height) {
    double rx = static_cast<double>(width) * 0.5, ry = static_cast<double>(height) * 0.5;
    int segments = TruncInt(std::fabs(rx) + std::fabs(ry));
    segments = std::min(std::max(segments, 12), 1 << 16);
    return segments & ~3;
}
