// Blocks of pixels in memory, and loading them from streams.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/stream.h"

enum : int {
    PIXEL_I8 = 1, PIXEL_A8 = 2, PIXEL_BGR888 = 3, PIXEL_RGB888 = 4,
    PIXEL_BGRA8888 = 5, PIXEL_RGBA8888 = 6,
};
int BytesPerPixel(int format);   // 0 for an unknown format
int AlphaBits(int format);

struct TPixmap;
using TPixmapPtr = std::shared_ptr<TPixmap>;

struct TPixmap {
    uint8_t* pixels = nullptr;
    int width = 0, height = 0, pitch = 0, format = 0, capacity = 0;

    static TPixmapPtr Create(int width, int height, int format, int align = 4);
    uint8_t* PixelPtr(int x, int y) const;
    TPixmapPtr Window(int x, int y, int w, int h) const;  // shares this pixmap's memory
    TPixmapPtr Copy() const;
    void Paste(const TPixmap& src, int x, int y);
    TPixmapPtr Convert(int format) const;
    uint32_t ReadPixel(int x, int y) const;               // 0xAARRGGBB
    void WritePixel(int x, int y, uint32_t argb);

    ~TPixmap();
  private:
    std::shared_ptr<std::vector<uint8_t>> owner_;        // memory kept alive by windows too
};

// Loaders, most recently registered first.
struct TPixmapLoader {
    TPixmapLoader();   // prepends itself
    virtual ~TPixmapLoader();
    // The pixmap read from the stream's position; none when this loader cannot read it.
    virtual TPixmapPtr LoadPixmap(TStream& stream) = 0;
};
// The PNG loader (png_loader.cpp, which only builds on this file): StartPixmapLoaders
// registers it once; CreatePngLoader is the one loader, registered on its first call.
void StartPixmapLoaders();
TPixmapLoader* CreatePngLoader();

// url: a path ("incbin::name" or a disk path) or an open stream.
TPixmapPtr LoadPixmap(const std::string& url);
TPixmapPtr LoadPixmap(const TStreamPtr& stream);
TPixmapPtr MaskPixmap(const TPixmap& src, int red, int green, int blue);
TPixmapPtr ResizePixmap(const TPixmap& src, int width, int height);
