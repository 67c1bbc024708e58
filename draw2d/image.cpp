// Images: loading with masking and handles, frames made by the plane driver on first draw.
#include "draw2d/image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "draw2d/blend.h"
#include "draw2d/graphics.h"
#include "draw2d/plane.h"
#include "draw2d/state.h"
#include "platform/stream.h"

// Which texels of a frame have any alpha, one bit each, a row at a time: a 512 by 512 picture
// takes 32 KB. Whether a rectangle of texels holds one is a scan of its rows a word at a time,
// stopping at the first texel found.
struct TAlphaCoverage {
    int width = 0, height = 0, words = 0;   // words: 64-bit words in a row
    std::vector<uint64_t> bits;             // bit x % 64 of word x / 64 of a row: texel x has alpha

    explicit TAlphaCoverage(const TPixmap& pixmap) : width(pixmap.width), height(pixmap.height) {
        TPixmapPtr converted;
        const TPixmap* rgba = &pixmap;
        if (pixmap.format != PIXEL_RGBA8888) {
            converted = pixmap.Convert(PIXEL_RGBA8888);
            rgba = converted.get();
        }
        words = (width + 63) / 64;
        bits.assign(static_cast<size_t>(words) * height, 0);
        for (int y = 0; rgba && y < height; ++y) {
            uint64_t* row = &bits[static_cast<size_t>(y) * words];
            const uint8_t* p = rgba->PixelPtr(0, y);
            for (int x = 0; x < width; ++x)
                if (p[x * 4 + 3] != 0) row[x >> 6] |= uint64_t{1} << (x & 63);
        }
    }

    // Whether any texel of columns c0..c1 and rows r0..r1 (clamped to the frame) has alpha.
    bool Any(int c0, int r0, int c1, int r1) const {
        c0 = std::clamp(c0, 0, width - 1);
        c1 = std::clamp(c1, 0, width - 1);
        r0 = std::clamp(r0, 0, height - 1);
        r1 = std::clamp(r1, 0, height - 1);
        if (c0 > c1 || r0 > r1) return false;
        const int w0 = c0 >> 6, w1 = c1 >> 6;
        const uint64_t first = ~uint64_t{0} << (c0 & 63), last = ~uint64_t{0} >> (63 - (c1 & 63));
        for (int y = r0; y <= r1; ++y) {
            const uint64_t* row = &bits[static_cast<size_t>(y) * words];
            if (w0 == w1) {
                if (row[w0] & first & last) return true;
                continue;
            }
            if ((row[w0] & first) || (row[w1] & last)) return true;
            for (int w = w0 + 1; w < w1; ++w)
                if (row[w]) return true;
        }
        return false;
    }
};

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

// The frame's pixmap (an empty one of the image size when it has none; an embedded picture's
// decoded again when it was dropped); writing drops the texture.
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

// Stores a frame's pixmap, masked when the image is masked and the pixmap has no alpha.
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

// The window is split into cells of this size, counted from its bottom-left corner as
// OpenGL counts rows (its software renderer works in tiles of 64 pixels from there too).
const int kCellSize = 64;

// Draws the frame only over the cells of the window where it can change a pixel: the cells
// where some texel that filtering may read has alpha. Under additive, alpha and masked
// blending a fragment of alpha 0 leaves its pixel exactly as it was, so the picture is the
// same as drawing the whole quad, and the rest is never shaded. A quad wholly outside the
// window or over nothing but transparent texels draws nothing at all (though it leaves the
// driver's state as drawing it would). Each run of cells is
// drawn through the scissor, which changes which pixels are drawn but not their colours.
// Returns false, drawing nothing, where this does not hold (other blends, mipmaps, rotation):
// the caller then draws the whole quad.
bool DrawVisibleCells(TImage& image, int frameIndex, TImageFrame& frame, float x0, float y0, float x1,
                      float y1, float tx, float ty) {
    TPlaneDriver* driver = CurrentPlaneDriver();
    const TDrawState& s = CurrentDrawState();
    if (!driver || (image.flags & IMAGE_MIPMAPPED)) return false;
    if (!ClearTexelsLeavePixels(s.blend_mode)) return false;
    if (s.tform_iy != 0 || s.tform_jx != 0 || s.tform_ix == 0 || s.tform_jy == 0) return false;
    const TAlphaCoverage* coverage = image.Coverage(frameIndex);
    if (!coverage || coverage->width != image.width || coverage->height != image.height || image.width <= 0 ||
        image.height <= 0 || x0 == x1 || y0 == y1)
        return false;

    // The quad's corners in the window, as the driver places them.
    const double left = static_cast<double>(x0) * s.tform_ix + tx, right = static_cast<double>(x1) * s.tform_ix + tx;
    const double top = static_cast<double>(y0) * s.tform_jy + ty, bottom = static_cast<double>(y1) * s.tform_jy + ty;
    const double columnsPerPixel = image.width / (right - left), rowsPerPixel = image.height / (bottom - top);
    // The texels filtering may read for pixels p0..p1 - 1: their centres, half a texel either
    // side for the linear filter, and one texel more for rounding.
    auto texels = [](double origin, double perPixel, int p0, int p1, int* t0, int* t1) {
        double a = (p0 + 0.5 - origin) * perPixel, b = (p1 - 0.5 - origin) * perPixel;
        if (a > b) std::swap(a, b);
        a = std::max(std::min(a, 1e9), -1e9);
        b = std::max(std::min(b, 1e9), -1e9);
        *t0 = static_cast<int>(std::floor(a - 0.5)) - 1;
        *t1 = static_cast<int>(std::floor(b - 0.5)) + 2;
    };

    // Where drawing may land: the viewport, within the window, within the quad.
    const int windowW = GraphicsWidth(), windowH = GraphicsHeight();
    const double qx0 = std::min(left, right), qx1 = std::max(left, right);
    const double qy0 = std::min(top, bottom), qy1 = std::max(top, bottom);
    const int clipX0 = std::max({s.viewport_x, 0, static_cast<int>(std::max(std::floor(qx0) - 1, -1e9))});
    const int clipY0 = std::max({s.viewport_y, 0, static_cast<int>(std::max(std::floor(qy0) - 1, -1e9))});
    const int clipX1 = std::min({s.viewport_x + s.viewport_w, windowW, static_cast<int>(std::min(std::ceil(qx1) + 1, 1e9))});
    const int clipY1 = std::min({s.viewport_y + s.viewport_h, windowH, static_cast<int>(std::min(std::ceil(qy1) + 1, 1e9))});

    struct TRun {
        int x0, y0, x1, y1;
    };
    std::vector<TRun> runs;
    if (clipX0 < clipX1 && clipY0 < clipY1) {
        // Cell rows run from the window's bottom edge up; cell columns from its left edge.
        const int firstRow = (windowH - clipY1) / kCellSize, lastRow = (windowH - clipY0 - 1) / kCellSize;
        for (int row = lastRow; row >= firstRow; --row) {
            const int py0 = std::max(windowH - (row + 1) * kCellSize, clipY0);
            const int py1 = std::min(windowH - row * kCellSize, clipY1);
            int r0, r1;
            texels(top, rowsPerPixel, py0, py1, &r0, &r1);
            if (r1 < 0 || r0 > image.height - 1) continue;
            int runX0 = -1, runX1 = -1;
            for (int column = clipX0 / kCellSize; column * kCellSize < clipX1; ++column) {
                const int px0 = std::max(column * kCellSize, clipX0), px1 = std::min((column + 1) * kCellSize, clipX1);
                int c0, c1;
                texels(left, columnsPerPixel, px0, px1, &c0, &c1);
                if (c1 < 0 || c0 > image.width - 1 || !coverage->Any(c0, r0, c1, r1)) continue;
                if (runX0 < 0) runX0 = px0;
                runX1 = px1;
            }
            if (runX0 < 0) continue;
            if (!runs.empty() && runs.back().x0 == runX0 && runs.back().x1 == runX1 && runs.back().y1 == py0)
                runs.back().y1 = py1;
            else
                runs.push_back({runX0, py0, runX1, py1});
        }
    }
    for (const TRun& run : runs) {
        driver->SetViewport(run.x0, run.y0, run.x1 - run.x0, run.y1 - run.y0);
        frame.Draw(x0, y0, x1, y1, tx, ty);
    }
    if (runs.empty())
        frame.SelectWithoutDrawing();
    else
        driver->SetViewport(s.viewport_x, s.viewport_y, s.viewport_w, s.viewport_h);
    return true;
}

}  // namespace

// Draws a frame with the image's handle at (x, y) under the drawing state.
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
    if (!DrawVisibleCells(*image, frame, *tex, x0, y0, x1, y1, tx, ty)) tex->Draw(x0, y0, x1, y1, tx, ty);
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
