// Images: pixmaps turned into drawable frames (OpenGL textures) by the plane driver on first
// draw, drawn through the drawing matrix. A picture loaded from the program's embedded files
// does not keep its pixmap once its texture is made: it is decoded again when asked for.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "draw2d/pixmap.h"
#include "draw2d/plane.h"

enum : int { IMAGE_MASKED = 1, IMAGE_FILTERED = 2, IMAGE_MIPMAPPED = 4 };

struct TImage;
using TImagePtr = std::shared_ptr<TImage>;

struct TImage {
    int width = 0, height = 0, flags = 0;
    int mask_r = 0, mask_g = 0, mask_b = 0;
    float handle_x = 0, handle_y = 0;
    std::vector<TPixmapPtr> pixmaps;
    std::vector<TImageFramePtr> frames;
    std::vector<int> seqs;
    std::vector<std::shared_ptr<const TAlphaCoverage>> coverage;   // made on demand from the pixmaps
    // The embedded picture ("incbin::name") frame 0 was loaded from, while its pixmap is still
    // that picture's pixels: frame 0's pixmap is then dropped once its texture is made and
    // decoded again (and masked) when it is asked for. Empty for every other image.
    std::string source;

    // An image of `frames` empty frames with these flags and mask colour.
    static TImagePtr Create(int width, int height, int frames, int flags, int r, int g, int b);
    // A one-frame image of the pixmap (masked when asked); none for no pixmap.
    static TImagePtr Load(const TPixmapPtr& pixmap, int flags, int r, int g, int b);
    // A one-frame image of the picture at url; none when it cannot be loaded.
    static TImagePtr Load(const std::string& url, int flags, int r, int g, int b);
    // The drawable frame, made on demand for this GraphicsSeq and reused while it lasts; none
    // for a frame the image lacks, and none without current graphics.
    TImageFramePtr Frame(int index);
    // The frame's pixmap (an empty one of the image size when it has none; an embedded
    // picture's decoded and masked again when it was dropped); writing drops the frame's
    // texture and keeps the pixmap from then on.
    TPixmapPtr Lock(int index, bool read, bool write);
    // Replaces a frame's pixmap (masked when the image is masked and the pixmap has no alpha).
    void SetPixmap(int index, const TPixmapPtr& pixmap);
    // Which of the frame's texels have any alpha (made on first use; none for no such frame).
    const TAlphaCoverage* Coverage(int index);
};

// Loads an image with the layer's mask colour and automatic flags (-1) and handle.
TImagePtr LoadImage(const std::string& url, int flags = -1);
TImagePtr LoadImage(const TPixmapPtr& pixmap, int flags = -1);
// Draws a frame with the image's handle at (x, y) under the drawing state.
void DrawImage(const TImagePtr& image, float x, float y, int frame = 0);
// The image's size in pixels.
int ImageWidth(const TImagePtr& image);
int ImageHeight(const TImagePtr& image);
// Sets the point of the image that is drawn at the given position.
void SetImageHandle(const TImagePtr& image, float x, float y);
// Puts the image's handle at its centre.
void MidHandleImage(const TImagePtr& image);
// Whether images loaded from now on get their handle at their centre.
void AutoMidHandle(int flag);
// The flags images are loaded with when none are given (-1 leaves them).
void AutoImageFlags(int flags);
