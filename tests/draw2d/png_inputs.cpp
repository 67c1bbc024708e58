#include "draw2d/png_inputs.h"

#include <zlib.h>

#include "draw2d/pixmap.h"

namespace {

void Put32(TBytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void Append(TBytes& out, const TBytes& more) { out.insert(out.end(), more.begin(), more.end()); }

// A chunk as written on disk, with its length and checksum.
TBytes Chunk(const char* type, const TBytes& data) {
    TBytes out;
    Put32(out, uint32_t(data.size()));
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(type[i]));
    Append(out, data);
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    if (!data.empty()) crc = crc32(crc, data.data(), uInt(data.size()));   // crc32 of no buffer is 0, not crc
    Put32(out, uint32_t(crc));
    return out;
}

// The signature and header of an 8-bit picture of a colour type (0 grey, 2 RGB, 3 palette).
TBytes Start(uint32_t width, uint32_t height, uint8_t colourType) {
    TBytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    TBytes header;
    Put32(header, width);
    Put32(header, height);
    header.insert(header.end(), {8, colourType, 0, 0, 0});
    Append(out, Chunk("IHDR", header));
    return out;
}

// The whole file of an 8-bit picture whose rows (without their filter bytes) are given.
TBytes Whole(uint32_t width, uint32_t height, uint8_t colourType, const std::vector<TBytes>& rows) {
    TBytes raw;
    for (const TBytes& row : rows) raw.push_back(0), Append(raw, row);
    uLongf size = compressBound(uLong(raw.size()));
    TBytes deflated(size);
    compress2(deflated.data(), &size, raw.data(), uLong(raw.size()), 9);
    deflated.resize(size);
    TBytes out = Start(width, height, colourType);
    Append(out, Chunk("IDAT", deflated));
    Append(out, Chunk("IEND", {}));
    return out;
}

}  // namespace

TPngPicture RgbPngPicture(int width, int height) {
    TPngPicture pic{"rgb-" + std::to_string(width) + "x" + std::to_string(height), {}, PIXEL_RGB888, width, height, {}};
    std::vector<TBytes> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t r = uint8_t(x * 37 + y * 101), g = uint8_t(x * y * 7 + 59), b = uint8_t(x * 13 - y * 29);
            rows[size_t(y)].insert(rows[size_t(y)].end(), {r, g, b});
            pic.argb.push_back(0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | b);
        }
    }
    pic.bytes = Whole(uint32_t(width), uint32_t(height), 2, rows);
    return pic;
}

std::vector<TPngLimitFile> PngLimitFiles() {
    // The loader takes sides up to 16384 pixels and up to 16 Mi pixels in all: the first
    // files are whole pictures that libpng alone would decode.
    TBytes overLength = Start(16, 16, 2), hugeChunk = Start(8, 8, 3);
    Put32(overLength, 0xFFFFFFF0u);
    overLength.insert(overLength.end(), {'I', 'D', 'A', 'T'});
    overLength.resize(overLength.size() + 40, 0);
    Put32(hugeChunk, 0x0A000000u);
    hugeChunk.insert(hugeChunk.end(), {'s', 'P', 'L', 'T'});
    return {
        {"widest", Whole(16384, 1, 2, {TBytes(16384 * 3, 200)}), true},
        {"a-pixel-too-wide", Whole(16385, 1, 2, {TBytes(16385 * 3, 200)}), false},
        {"a-row-too-many", Whole(4096, 4097, 0, std::vector<TBytes>(4097, TBytes(4096, 0))), false},
        {"chunk-length-over-2-gib", overLength, false},
        {"ancillary-chunk-of-160-mib", hugeChunk, false},
    };
}
