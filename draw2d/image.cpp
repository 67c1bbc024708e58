// Images: loading with masking and handles, frames made by the plane driver on first draw.
#include "draw2d/image.h"

#include <algorithm>

#include "draw2d/blend.h"
#include "draw2d/graphics.h"
#include "draw2d/plane.h"
#include "draw2d/state.h"
#include "platform/stream.h"

namespace {

// Whether url names one of the program's embedded files, whose bytes live for the whole run
// and never change: a picture from one can always be decoded again to the same pixels.
bool IsEmbeddedPicture(const std::string& url) { return IncbinUrlBytes(url) != nullptr; }

}  // namespace

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
    image->coverage.resize(frames);
    return image;
}

TImagePtr TImage::Load(const TPixmapPtr& pixmap, int flags, int r, int g, int b) {
    if (!pixmap) return nullptr;
    TImagePtr image = Create(pixmap->width, pixmap->height, 1, flags, r, g, b);
    image->SetPixmap(0, pixmap);
    return image;
}

TImagePtr TImage::Load(const std::string& url, int flags, int r, int g, int b) {
    TImagePtr image = Load(LoadPixmap(url), flags, r, g, b);
    if (image && IsEmbeddedPicture(url)) image->source = url;
    return image;
}

// Without current graphics there is nothing to make the texture for, so nothing is drawn,
// as with every other primitive.
TImageFramePtr TImage::Frame(int index) {
    if (index < 0 || index >= static_cast<int>(frames.size())) return nullptr;
    int seq = GraphicsSeq();
    if (seqs[index] == seq && frames[index]) return frames[index];
    TPlaneDriver* driver = CurrentPlaneDriver();
    if (!driver) return nullptr;
    seqs[index] = seq;
    TPixmapPtr pixmap = Lock(index, true, false);
    frames[index] = driver->CreateFrameFromPixmap(*pixmap, flags);
    // An embedded picture's pixels now live in its texture; the copy here goes, and with it
    // the decoded pixmap, once what drawing needs of it (which texels have alpha) is noted.
    if (index == 0 && !source.empty() && frames[index]) {
        if (!coverage[index]) coverage[index] = std::make_shared<TAlphaCoverage>(*pixmap);
        pixmaps[index] = nullptr;
    }
    return frames[index];
}

TPixmapPtr TImage::Lock(int index, bool /*read*/, bool write) {
    if (index < 0 || index >= static_cast<int>(pixmaps.size())) return nullptr;
    if (!pixmaps[index] && index == 0 && !source.empty()) {
        TPixmapPtr pm = LoadPixmap(source);
        if (pm && (flags & IMAGE_MASKED) && AlphaBits(pm->format) == 0) pm = MaskPixmap(*pm, mask_r, mask_g, mask_b);
        if (pm && pm->width == width && pm->height == height) pixmaps[index] = pm;
    }
    if (!pixmaps[index]) pixmaps[index] = TPixmap::Create(width, height, PIXEL_RGBA8888);
    if (write) {
        if (index == 0) source.clear();   // the pixels may change: the pixmap is kept from now on
        seqs[index] = 0;
        frames[index] = nullptr;
        coverage[index] = nullptr;
    }
    return pixmaps[index];
}

void TImage::SetPixmap(int index, const TPixmapPtr& pixmap) {
    if (index < 0 || index >= static_cast<int>(pixmaps.size())) return;
    TPixmapPtr pm = pixmap;
    if (pm && (flags & IMAGE_MASKED) && AlphaBits(pm->format) == 0) pm = MaskPixmap(*pm, mask_r, mask_g, mask_b);
    pixmaps[index] = pm;
    if (index == 0) source.clear();
    seqs[index] = 0;
    frames[index] = nullptr;
    coverage[index] = nullptr;
}

const TAlphaCoverage* TImage::Coverage(int index) {
    if (index < 0 || index >= static_cast<int>(pixmaps.size())) return nullptr;
    if (!coverage[index]) coverage[index] = std::make_shared<TAlphaCoverage>(*Lock(index, true, false));
    return coverage[index].get();
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

namespace {

// Under a blend where a transparent texel leaves its pixel as it was, only the texels with
// alpha can change the picture, so the driver may leave out the rest. A mipmapped frame's
// smaller levels mix texels from far around, which its own texels' alpha does not tell.
bool DrawVisibleParts(TImage& image, int frameIndex, TImageFrame& frame, float x0, float y0, float x1, float y1,
                      float tx, float ty) {
    TPlaneDriver* driver = CurrentPlaneDriver();
    if (!driver || (image.flags & IMAGE_MIPMAPPED)) return false;
    if (!ClearTexelsLeavePixels(CurrentDrawState().blend_mode)) return false;
    const TAlphaCoverage* coverage = image.Coverage(frameIndex);
    if (!coverage || coverage->width != image.width || coverage->height != image.height) return false;
    return driver->DrawVisibleFrame(frame, *coverage, x0, y0, x1, y1, tx, ty);
}

}  // namespace

void DrawImage(const TImagePtr& image, float x, float y, int frame) {
    if (!image) return;
    TImageFramePtr tex = image->Frame(frame);
    if (!tex) return;
    const TDrawState& s = CurrentDrawState();
    float x0 = -image->handle_x, y0 = -image->handle_y;
    float x1 = static_cast<float>(static_cast<double>(x0) + image->width);
    float y1 = static_cast<float>(static_cast<double>(y0) + image->height);
    const float tx = static_cast<float>(static_cast<double>(x) + s.origin_x);
    const float ty = static_cast<float>(static_cast<double>(y) + s.origin_y);
    if (!DrawVisibleParts(*image, frame, *tex, x0, y0, x1, y1, tx, ty)) tex->Draw(x0, y0, x1, y1, tx, ty);
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
