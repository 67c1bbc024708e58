// The PNG pixmap loader, on libpng. A corrupt or hostile file ends the load with no pixmap.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "draw2d/pixmap.h"

namespace {

// Limits that keep a hostile header from making us allocate or inflate absurd amounts.
const png_uint_32 kMaxSide = 16384;
const uint64_t kMaxPixels = 16u << 20;      // 64 MiB once decoded to RGBA
const size_t kMaxDecodeBytes = 256u << 20;   // everything libpng allocates for one file
const png_alloc_size_t kMaxChunkBytes = 1u << 20;   // one ancillary chunk (our pictures have none)
const size_t kMaxBlockBytes = 4u << 20;    // one allocation: a row is at most 16384 * 8 bytes
const png_uint_32 kMaxCachedChunks = 128;

// Everything the decoding frame touches; plain data, because libpng errors longjmp through it.
struct PngDecode {
    png_structp png;
    png_infop info;
    TStream* stream;
    size_t allocated;
    png_uint_32 width, height;
    int bitDepth, colorType;
    png_bytepp rows;
};

// libpng's reads come from the stream; a short read (or a stream that throws) is a libpng error.
void ReadFromStream(png_structp png, png_bytep data, size_t length) {
    auto* d = static_cast<PngDecode*>(png_get_io_ptr(png));
    bool failed = false;
    size_t done = 0;
    try {
        while (done < length) {
            int want = static_cast<int>(std::min<size_t>(length - done, 1 << 30));
            int got = d->stream->Read(data + done, want);
            if (got <= 0) break;
            done += static_cast<size_t>(got);
        }
    } catch (...) {
        failed = true;
    }
    // png_error longjmps, so it must not run inside the catch block.
    if (failed || done < length) png_error(png, "Error reading from stream");
}

void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnPngWarning(png_structp, png_const_charp) {}

// Counts every allocation against kMaxDecodeBytes and refuses oversized blocks (libpng lets an
// ancillary chunk's declared length through as a mere warning); libpng turns a refusal into an error.
png_voidp PngMalloc(png_structp png, png_alloc_size_t size) {
    auto* d = static_cast<PngDecode*>(png_get_mem_ptr(png));
    if (size > kMaxBlockBytes || size > kMaxDecodeBytes - d->allocated) return nullptr;
    auto* block = static_cast<size_t*>(std::malloc(size + sizeof(max_align_t)));
    if (!block) return nullptr;
    *block = size;
    d->allocated += size;
    return reinterpret_cast<char*>(block) + sizeof(max_align_t);
}

void PngFree(png_structp png, png_voidp ptr) {
    if (!ptr) return;
    auto* block = reinterpret_cast<size_t*>(static_cast<char*>(ptr) - sizeof(max_align_t));
    auto* d = static_cast<PngDecode*>(png_get_mem_ptr(png));
    if (d) d->allocated -= *block;
    std::free(block);
}

// Decodes the whole file into libpng's rows. Only plain locals here: a libpng error longjmps back.
bool DecodePng(PngDecode* d) {
    if (setjmp(png_jmpbuf(d->png))) return false;
    png_set_sig_bytes(d->png, 8);
    png_set_read_fn(d->png, d, ReadFromStream);
    png_set_user_limits(d->png, kMaxSide, kMaxSide);
    png_set_chunk_malloc_max(d->png, kMaxChunkBytes);
    png_set_chunk_cache_max(d->png, kMaxCachedChunks);
    png_read_png(d->png, d->info, PNG_TRANSFORM_STRIP_16 | PNG_TRANSFORM_EXPAND, nullptr);
    png_get_IHDR(d->png, d->info, &d->width, &d->height, &d->bitDepth, &d->colorType,
                 nullptr, nullptr, nullptr);
    d->rows = png_get_rows(d->png, d->info);
    return d->rows != nullptr;
}

// Copies libpng's decoded rows into a pixmap of the matching format, or none.
TPixmapPtr RowsToPixmap(const PngDecode& d) {
    if (d.bitDepth != 8) return nullptr;
    int w = static_cast<int>(d.width), h = static_cast<int>(d.height);
    switch (d.colorType) {
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_RGB:
        case PNG_COLOR_TYPE_RGB_ALPHA: {
            int format = d.colorType == PNG_COLOR_TYPE_GRAY  ? PIXEL_I8
                         : d.colorType == PNG_COLOR_TYPE_RGB ? PIXEL_RGB888
                                                             : PIXEL_RGBA8888;
            auto pm = TPixmap::Create(w, h, format);
            for (int y = 0; y < h; ++y)
                std::memcpy(pm->PixelPtr(0, y), d.rows[y], static_cast<size_t>(w) * BytesPerPixel(format));
            return pm;
        }
        case PNG_COLOR_TYPE_GRAY_ALPHA: {
            auto pm = TPixmap::Create(w, h, PIXEL_RGBA8888);
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    uint8_t grey = d.rows[y][x * 2], alpha = d.rows[y][x * 2 + 1];
                    uint8_t* p = pm->PixelPtr(x, y);
                    p[0] = p[1] = p[2] = grey;
                    p[3] = alpha;
                }
            }
            return pm;
        }
        default:
            return nullptr;
    }
}

// Looks at the header chunk without consuming it: false when its size is absurd.
bool SaneHeader(TStream& stream) {
    png_byte chunk[8 + 13];
    int start = stream.Pos();
    int got = stream.Read(chunk, sizeof chunk);
    stream.Seek(start);
    if (got != static_cast<int>(sizeof chunk) || std::memcmp(chunk + 4, "IHDR", 4) != 0) return true;
    uint64_t width = png_get_uint_32(chunk + 8), height = png_get_uint_32(chunk + 12);
    return width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

struct TPngLoader : TPixmapLoader {
    // Reads a PNG from the stream's position; none when it is not a PNG or cannot be decoded.
    TPixmapPtr LoadPixmap(TStream& stream) override {
        png_byte sig[8];
        if (stream.Read(sig, 8) != 8 || png_sig_cmp(sig, 0, 8) != 0) return nullptr;
        if (!SaneHeader(stream)) return nullptr;

        PngDecode d{};
        d.stream = &stream;
        d.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning,
                                         &d, PngMalloc, PngFree);
        if (!d.png) return nullptr;
        d.info = png_create_info_struct(d.png);
        TPixmapPtr pm;
        try {
            if (d.info && DecodePng(&d)) pm = RowsToPixmap(d);
        } catch (...) {
            png_destroy_read_struct(&d.png, d.info ? &d.info : nullptr, nullptr);
            throw;
        }
        png_destroy_read_struct(&d.png, d.info ? &d.info : nullptr, nullptr);
        return pm;
    }
};

}  // namespace

TPixmapLoader* CreatePngLoader() {
    static TPngLoader loader;
    return &loader;
}
