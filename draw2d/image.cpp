// Images: loading with masking and handles, frames made by the plane driver on first draw.
#include "draw2d/image.h"

#include <algorithm>

#include "draw2d/graphics.h"
#include "draw2d/plane.h"
#include "draw2d/state.h"

TImagePtr TImage::Create(int width, int height, int frames, int flags, int r, int g, int b) {
    auto image = std::make_shared<TImage>();
    image->width = width;
    image->height = height;
    image->flags = flags;
    image->mask_r = r;
    image->mask_g = g;
    image->mask_b = b;
    frames = std::max(frames, 0);
    image->pixmaps.resize(frames);
    image->frames.resize(frames);
    image->seqs.assign(frames, 0);
    return image;
}

TImagePtr TImage::Load(const TPixmapPtr& pixmap, int flags, int r, int g, int b) {
    if (!pixmap) return nullptr;
    TImagePtr image = Create(pixmap->width, pixmap->height, 1, flags, r, g, b);
    image->SetPixmap(0, pixmap);
    return image;
}

TImagePtr TImage::Load(const std::string& url, int flags, int r, int g, int b) {
    return Load(LoadPixmap(url), flags, r, g, b);
}

// The frame's texture: reused while the graphics generation is unchanged, else made anew.
// None for a frame number the image does not have, and while no graphics are current
// (there is nothing to make it for, so nothing is drawn, as with every other primitive).
TImageFramePtr TImage::Frame(int index) {
    if (index < 0 || index >= static_cast<int>(frames.size())) return nullptr;
    int seq = GraphicsSeq();
    if (seqs[index] == seq && frames[index]) return frames[index];
    TPlaneDriver* driver = CurrentPlaneDriver();
    if (!driver) return nullptr;
    seqs[index] = seq;
    const TPixmap& pixmap = *Lock(index, true, false);
    frames[index] = driver->CreateFrameFromPixmap(pixmap, flags);
    return frames[index];
}

// The frame's pixmap (an empty one of the image size when it has none); writing drops the texture.
TPixmapPtr TImage::Lock(int index, bool /*read*/, bool write) {
    if (index < 0 || index >= static_cast<int>(pixmaps.size())) return nullptr;
    if (!pixmaps[index]) pixmaps[index] = TPixmap::Create(width, height, PIXEL_RGBA8888);
    if (write) {
        seqs[index] = 0;
        frames[index] = nullptr;
    }
    return pixmaps[index];
}

// Stores a frame's pixmap, masked when the image is masked and the pixmap has no alpha.
void TImage::SetPixmap(int index, const TPixmapPtr& pixmap) {
    if (index < 0 || index >= static_cast<int>(pixmaps.size())) return;
    TPixmapPtr pm = pixmap;
    if (pm && (flags & IMAGE_MASKED) && AlphaBits(pm->format) == 0) pm = MaskPixmap(*pm, mask_r, mask_g, mask_b);
    pixmaps[index] = pm;
    seqs[index] = 0;
    frames[index] = nullptr;
}

namespace {

// Loads with the layer's mask colour, then mid-handles when automatic mid-handles are on.
template <class Url>
TImagePtr LoadWithLayerSettings(const Url& url, int flags) {
    TDrawLayerSettings& layer = DrawLayerSettings();
    if (flags == -1) flags = layer.auto_imageflags;
    TImagePtr image = TImage::Load(url, flags, layer.mask_red, layer.mask_green, layer.mask_blue);
    if (image && layer.auto_midhandle) MidHandleImage(image);
    return image;
}

}  // namespace

TImagePtr LoadImage(const std::string& url, int flags) { return LoadWithLayerSettings(url, flags); }
TImagePtr LoadImage(const TPixmapPtr& pixmap, int flags) { return LoadWithLayerSettings(pixmap, flags); }

// Draws a frame with the image's handle at (x, y) under the drawing state.
void DrawImage(const TImagePtr& image, float x, float y, int frame) {
    if (!image) return;
    TImageFramePtr tex = image->Frame(frame);
    if (!tex) return;
    const TDrawState& s = CurrentDrawState();
    float x0 = -image->handle_x, y0 = -image->handle_y;
    float x1 = static_cast<float>(static_cast<double>(x0) + image->width);
    float y1 = static_cast<float>(static_cast<double>(y0) + image->height);
    tex->Draw(x0, y0, x1, y1, static_cast<float>(static_cast<double>(x) + s.origin_x),
              static_cast<float>(static_cast<double>(y) + s.origin_y));
}

int ImageWidth(const TImagePtr& image) { return image->width; }
int ImageHeight(const TImagePtr& image) { return image->height; }

void SetImageHandle(const TImagePtr& image, float x, float y) {
    image->handle_x = x;
    image->handle_y = y;
}

void MidHandleImage(const TImagePtr& image) {
    SetImageHandle(image, static_cast<float>(image->width * 0.5), static_cast<float>(image->height * 0.5));
}

void AutoMidHandle(int flag) { DrawLayerSettings().auto_midhandle = flag != 0 ? 1 : 0; }

void AutoImageFlags(int flags) {
    if (flags != -1) DrawLayerSettings().auto_imageflags = flags;
}
