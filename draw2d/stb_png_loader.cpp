// The PNG pixmap loader on stb_image (Debian's libstb-dev), for the web, which has no libpng.
// stb_image trusts what libpng checks, so the file's chunks are walked here first: a damaged
// critical chunk (its CRC), a cut file, a header no PNG may have, and the libpng loader's size
// limits all refuse it, as png_loader.cpp does; stb_image then decodes what passed.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "draw2d/pixmap.h"

namespace {

const uint32_t kMaxSide = 16384;
const uint64_t kMaxPixels = 16u << 20;         // 64 MiB once decoded to RGBA
const size_t kMaxDecodeBytes = 256u << 20;     // everything stb_image allocates for one file
const size_t kMaxFileBytes = 256u << 20;       // the chunks read, up to IEND
const uint32_t kMaxChunkLength = 0x7fffffff;   // PNG's own limit
const uint8_t kSignature[8] = {137, 'P', 'N', 'G', 13, 10, 26, 10};

// What stb_image has allocated on this thread for the file it decodes, capped as libpng's
// allocations are: a hostile file's inflated data cannot take all memory.
thread_local size_t decodeBytes = 0;

void* StbMalloc(size_t size) {
    if (size > kMaxDecodeBytes - decodeBytes) return nullptr;
    auto* block = static_cast<size_t*>(std::malloc(size + sizeof(max_align_t)));
    if (!block) return nullptr;
    *block = size;
    decodeBytes += size;
    return reinterpret_cast<char*>(block) + sizeof(max_align_t);
}

void StbFree(void* ptr) {
    if (!ptr) return;
    auto* block = reinterpret_cast<size_t*>(static_cast<char*>(ptr) - sizeof(max_align_t));
    decodeBytes -= *block;
    std::free(block);
}

void* StbRealloc(void* ptr, size_t size) {
    if (!ptr) return StbMalloc(size);
    void* grown = StbMalloc(size);
    if (!grown) return nullptr;
    const size_t old = *reinterpret_cast<size_t*>(static_cast<char*>(ptr) - sizeof(max_align_t));
    std::memcpy(grown, ptr, std::min(old, size));
    StbFree(ptr);
    return grown;
}

}  // namespace

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_MALLOC(size) StbMalloc(size)
#define STBI_REALLOC(ptr, size) StbRealloc(ptr, size)
#define STBI_FREE(ptr) StbFree(ptr)
#include <stb_image.h>

namespace {

uint32_t BigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// The CRC-32 of PNG chunks (and zlib), bit by bit: a few pictures a run need no table.
uint32_t Crc32(const uint8_t* data, size_t length) {
    uint32_t crc = 0xffffffffu;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = crc >> 1 ^ (0xedb88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// Appends `length` bytes of the stream to *out; false when it ends first or fails.
bool ReadBytes(TStream& stream, size_t length, std::vector<uint8_t>* out) {
    while (length > 0) {
        const size_t piece = std::min<size_t>(length, 1 << 16);
        const size_t at = out->size();
        out->resize(at + piece);
        if (stream.Read(out->data() + at, static_cast<int>(piece)) != static_cast<int>(piece)) return false;
        length -= piece;
    }
    return true;
}

// A header libpng accepts: its sides within the limits, a bit depth its colour type can have,
// the one compression and filter method, no or Adam7 interlacing.
bool SaneHeader(const uint8_t* ihdr) {
    const uint64_t width = BigEndian32(ihdr), height = BigEndian32(ihdr + 4);
    const int depth = ihdr[8], colour = ihdr[9];
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) return false;
    const bool depthFits = colour == 0   ? depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16
                           : colour == 3 ? depth == 1 || depth == 2 || depth == 4 || depth == 8
                           : colour == 2 || colour == 4 || colour == 6 ? depth == 8 || depth == 16
                                                                       : false;
    return depthFits && ihdr[10] == 0 && ihdr[11] == 0 && ihdr[12] <= 1;
}

// The file from its signature to the end of IEND, as libpng reads it: IHDR first and sane,
// chunk names of letters, and every critical chunk's CRC right (libpng passes over an
// ancillary chunk's). False when the stream holds anything else.
bool ReadChunks(TStream& stream, std::vector<uint8_t>* file) {
    if (!ReadBytes(stream, 8, file) || std::memcmp(file->data(), kSignature, 8) != 0) return false;
    for (bool first = true;; first = false) {
        const size_t at = file->size();
        if (!ReadBytes(stream, 8, file)) return false;
        const uint32_t length = BigEndian32(file->data() + at);
        const uint8_t* type = file->data() + at + 4;
        if (length > kMaxChunkLength || length + 12 > kMaxFileBytes - at) return false;
        if (!std::all_of(type, type + 4, [](uint8_t c) { return (c | 32) >= 'a' && (c | 32) <= 'z'; })) return false;
        const bool header = std::memcmp(type, "IHDR", 4) == 0, end = std::memcmp(type, "IEND", 4) == 0;
        const bool critical = (type[0] & 32) == 0;
        if (first != header || (header && length != 13)) return false;
        if (!ReadBytes(stream, length + 4, file)) return false;
        const uint8_t* data = file->data() + at + 8;
        if (critical && Crc32(data - 4, length + 4) != BigEndian32(data + length)) return false;
        if (header && !SaneHeader(data)) return false;
        if (end) return true;
    }
}

// stb_image's pixels (channels: grey, grey and alpha, RGB or RGBA) as a pixmap of the format
// the libpng loader gives: grey with alpha becomes RGBA.
TPixmapPtr ToPixmap(const uint8_t* pixels, int w, int h, int channels) {
    const int formats[] = {0, PIXEL_I8, PIXEL_RGBA8888, PIXEL_RGB888, PIXEL_RGBA8888};
    if (channels < 1 || channels > 4) return nullptr;
    auto pm = TPixmap::Create(w, h, formats[channels]);
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = pixels + static_cast<size_t>(y) * w * channels;
        if (channels != 2) {
            std::memcpy(pm->PixelPtr(0, y), row, static_cast<size_t>(w) * channels);
            continue;
        }
        for (int x = 0; x < w; ++x) {
            uint8_t* p = pm->PixelPtr(x, y);
            p[0] = p[1] = p[2] = row[x * 2];
            p[3] = row[x * 2 + 1];
        }
    }
    return pm;
}

struct TStbPngLoader : TPixmapLoader {
    // Reads a PNG from the stream's position; none when it is not a PNG or cannot be decoded.
    TPixmapPtr LoadPixmap(TStream& stream) override {
        std::vector<uint8_t> file;
        try {
            if (!ReadChunks(stream, &file)) return nullptr;
        } catch (...) {
            return nullptr;   // a stream error, as libpng's reads take it
        }
        int w = 0, h = 0, channels = 0;
        decodeBytes = 0;
        stbi_uc* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &channels, 0);
        if (!pixels) return nullptr;
        TPixmapPtr pm;
        try {
            pm = ToPixmap(pixels, w, h, channels);
        } catch (...) {
            stbi_image_free(pixels);
            throw;
        }
        stbi_image_free(pixels);
        return pm;
    }
};

}  // namespace

TPixmapLoader* CreateStbPngLoader() {
    static TStbPngLoader loader;
    return &loader;
}
