// Images: pixmaps turned into OpenGL textures on first draw, drawn through the drawing matrix.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "draw2d/pixmap.h"

enum : int { IMAGE_MASKED = 1, IMAGE_FILTERED = 2, IMAGE_MIPMAPPED = 4 };

struct TImageFrame {
    virtual ~TImageFrame() = default;
    virtual void Draw(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
};
using TImageFramePtr = std::shared_ptr<TImageFrame>;

struct TGLImageFrame : TImageFrame {
    float tex_u0 = 0, tex_v0 = 0, tex_u1 = 1, tex_v1 = 1;
    unsigned name = 0;
    int seq = 0;
    static std::shared_ptr<TGLImageFrame> CreateFromPixmap(const TPixmap& src, int flags);
    void Draw(float x0, float y0, float x1, float y1, float tx, float ty) override;
    // Draws the part (u0, v0)-(u1, v1) of the texture over the local rectangle.
    void DrawRegion(float x0, float y0, float x1, float y1, float tx, float ty,
                    float u0, float v0, float u1, float v1);
    ~TGLImageFrame() override;   // deletes the texture inside the shared context
};

struct TImage;
using TImagePtr = std::shared_ptr<TImage>;

struct TImage {
    int width = 0, height = 0, flags = 0;
    int mask_r = 0, mask_g = 0, mask_b = 0;
    float handle_x = 0, handle_y = 0;
    std::vector<TPixmapPtr> pixmaps;
    std::vector<TImageFramePtr> frames;
    std::vector<int> seqs;

    static TImagePtr Create(int width, int height, int frames, int flags, int r, int g, int b);
    static TImagePtr Load(const TPixmapPtr& pixmap, int flags, int r, int g, int b);
    static TImagePtr Load(const std::string& url, int flags, int r, int g, int b);
    TImageFramePtr Frame(int index);       // the texture, made on demand for this GraphicsSeq
    TPixmapPtr Lock(int index, bool read, bool write);
    void SetPixmap(int index, const TPixmapPtr& pixmap);
};

TImagePtr LoadImage(const std::string& url, int flags = -1);
TImagePtr LoadImage(const TPixmapPtr& pixmap, int flags = -1);
void DrawImage(const TImagePtr& image, float x, float y, int frame = 0);
int ImageWidth(const TImagePtr& image);
int ImageHeight(const TImagePtr& image);
void SetImageHandle(const TImagePtr& image, float x, float y);
void MidHandleImage(const TImagePtr& image);
void AutoMidHandle(int flag);
void AutoImageFlags(int flags);
