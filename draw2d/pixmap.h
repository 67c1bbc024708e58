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
// The bytes one pixel of the format takes; 0 for an unknown format.
int BytesPerPixel(int format);
// How many bits of alpha the format has.
int AlphaBits(int format);

struct TPixmap;
using TPixmapPtr = std::shared_ptr<TPixmap>;

struct TPixmap {
    uint8_t* pixels = nullptr;
    int width = 0, height = 0, pitch = 0, format = 0, capacity = 0;

    // A new zero-filled pixmap whose rows are padded to `align` bytes.
    static TPixmapPtr Create(int width, int height, int format, int align = 4);
    // The address of the pixel (x, y).
    uint8_t* PixelPtr(int x, int y) const;
    // A pixmap of the rectangle (clipped to this one) that shares this pixmap's memory.
    TPixmapPtr Window(int x, int y, int w, int h) const;
    // A pixmap of its own with the same pixels.
    TPixmapPtr Copy() const;
    // Copies src's pixels (converted) to (x, y); what falls outside is left out.
    void Paste(const TPixmap& src, int x, int y);
    // A new pixmap of the pixels in another format.
    TPixmapPtr Convert(int format) const;
    // The pixel (x, y) as 0xAARRGGBB.
    uint32_t ReadPixel(int x, int y) const;
    // Stores 0xAARRGGBB at (x, y).
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
// The PNG loaders, each built only on this file and registered on its first call: libpng's
// (png_loader.cpp) and stb_image's (stb_png_loader.cpp), which read the same files the same way.
// StartPixmapLoaders registers the platform's once: libpng's, or stb_image's on the web.
void StartPixmapLoaders();
TPixmapLoader* CreatePngLoader();
TPixmapLoader* CreateStbPngLoader();

// The picture at url (a path, "incbin::name" or a disk path) or from an open stream (asking
// each loader, newest first, from its current position; the caller keeps it); none when no
// loader can read it.
TPixmapPtr LoadPixmap(const std::string& url);
TPixmapPtr LoadPixmap(const TStreamPtr& stream);
// The picture in these bytes (the caller keeps them): the pixmap decoded ahead from them when
// there is one (below), else decoded now.
TPixmapPtr LoadPixmap(const void* data, int length);

// Pictures decoded ahead: a program whose start-up waits on something slow (the window
// opening) hands the bytes of its embedded pictures to a thread that decodes them meanwhile,
// in order, with the loaders registered at that moment. LoadPixmap("incbin::name") whose
// name is registered with those very bytes then takes that pixmap (waiting for it if it is
// not decoded yet) instead of decoding them again, as does LoadPixmap of those bytes: the
// same pixels, each handed over once.
// Nothing is taken when the loaders have changed since; later calls replace pictures not yet
// taken.
struct TEncodedPicture {
    const void* data = nullptr;
    int length = 0;
};
void DecodeAhead(std::vector<TEncodedPicture> pictures);
// A copy of src whose pixels of the mask colour become transparent, coloured with the average
// of their unmasked neighbours.
TPixmapPtr MaskPixmap(const TPixmap& src, int red, int green, int blue);
// A copy of src resized to width by height, sampled between pixel centres, in PIXEL_RGBA8888.
TPixmapPtr ResizePixmap(const TPixmap& src, int width, int height);
// The smallest power of two at least n (up to 2^30): a texture's side.
int NextPowerOfTwo(int n);
// The frame pasted into a texture-sized PIXEL_RGBA8888 pixmap, with its last column, row and
// corner repeated once beyond it so filtering at the frame's edge never reaches the padding.
TPixmapPtr PadToTexture(const TPixmap& frame, int texW, int texH);

// Which pixels of a pixmap have any alpha, one bit each, a row at a time: a 512 by 512
// picture takes 32 KB.
struct TAlphaCoverage {
    int width = 0, height = 0, words = 0;   // words: 64-bit words in a row
    std::vector<uint64_t> bits;             // bit x % 64 of word x / 64 of a row: pixel x has alpha

    explicit TAlphaCoverage(const TPixmap& pixmap);
    // Whether any pixel of columns c0..c1 and rows r0..r1 (clamped to the pixmap) has alpha.
    bool Any(int c0, int r0, int c1, int r1) const;
};
