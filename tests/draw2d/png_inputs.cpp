#include "draw2d/png_inputs.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>

#include "draw2d/pixmap.h"

namespace {

// ---- Well-formed pictures, written with libpng -------------------------------------------------

const char* kColourNames[] = {"grey", "", "rgb", "palette", "grey-alpha", "", "rgba"};

int ChannelsOf(int colourType) {
    switch (colourType) {
        case 2: return 3;
        case 4: return 2;
        case 6: return 4;
        default: return 1;   // grey and palette
    }
}

// The sample of channel c at (x, y) at a bit depth: small depths go through every value, and
// 16-bit samples differ in both bytes.
int SampleAt(int x, int y, int c, int depth) {
    uint32_t v = uint32_t(x * 37 + y * 101 + c * 59 + x * y * 7);
    if (depth == 16) return int((v * 2654435761u >> 9) & 0xFFFF);
    return int(v % (1u << depth));
}

// A sample at its own depth made 8-bit as the loader's transforms do: small depths are scaled
// up to 0..255, 16-bit samples keep their high byte.
int To8Bits(int value, int depth) {
    if (depth == 16) return value >> 8;
    if (depth < 8) return value * 255 / ((1 << depth) - 1);
    return value;
}

uint32_t Argb(int a, int r, int g, int b) {
    return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}

// The palette entry i of a picture: distinct colours; with transparency the first entry is
// clear and only the first half of the entries have an alpha of their own.
png_color PaletteColour(int i) {
    return png_color{png_byte((i * 67 + 13) & 255), png_byte((i * 151 + 40) & 255), png_byte((255 - i * 29) & 255)};
}
png_byte PaletteAlpha(int i) { return i == 0 ? 0 : png_byte((i * 97 + 3) & 255); }
int TransparentEntries(int entries) { return entries / 2 + 1; }

void AppendToBytes(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<TBytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void NoFlush(png_structp) {}

// The libpng writing with its error recovery point; only plain data crosses the setjmp.
struct PngWrite {
    const TPngRecipe* recipe;
    png_bytepp rows;
    png_colorp palette;
    int paletteSize;
    png_bytep trnsAlpha;
    int trnsCount;
    png_color_16* trnsKey;
    TBytes* out;
};

bool WriteWithLibpng(PngWrite* w) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    const TPngRecipe& r = *w->recipe;
    png_set_write_fn(png, w->out, AppendToBytes, NoFlush);
    png_set_IHDR(png, info, png_uint_32(r.width), png_uint_32(r.height), r.bitDepth, r.colourType,
                 r.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (w->paletteSize) png_set_PLTE(png, info, w->palette, w->paletteSize);
    if (w->trnsCount || w->trnsKey) png_set_tRNS(png, info, w->trnsAlpha, w->trnsCount, w->trnsKey);
    png_set_rows(png, info, w->rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);   // writes the Adam7 passes too
    png_destroy_write_struct(&png, &info);
    return true;
}

// ---- Broken files, written chunk by chunk ------------------------------------------------------

void Put32(TBytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

const TBytes kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t ChunkCrc(const char* type, const TBytes& data) {
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    if (data.empty()) return uint32_t(crc);   // crc32 of no buffer is its start value, not crc
    return uint32_t(crc32(crc, data.data(), uInt(data.size())));
}

// A chunk as written on disk; the length and checksum are right unless given.
TBytes Chunk(const char* type, const TBytes& data) {
    TBytes out;
    Put32(out, uint32_t(data.size()));
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(type[i]));
    out.insert(out.end(), data.begin(), data.end());
    Put32(out, ChunkCrc(type, data));
    return out;
}

TBytes Ihdr(uint32_t width, uint32_t height, int depth, int colourType, int compression = 0, int filter = 0,
            int interlace = 0) {
    TBytes data;
    Put32(data, width);
    Put32(data, height);
    data.push_back(uint8_t(depth));
    data.push_back(uint8_t(colourType));
    data.push_back(uint8_t(compression));
    data.push_back(uint8_t(filter));
    data.push_back(uint8_t(interlace));
    return Chunk("IHDR", data);
}

TBytes Deflate(const TBytes& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    TBytes out(size);
    compress2(out.data(), &size, raw.data(), uLong(raw.size()), 9);
    out.resize(size);
    return out;
}

// Filtered image data: every row starts with its filter type and holds a pattern.
TBytes RawRows(size_t rowBytes, int height, uint8_t filterType = 0) {
    TBytes raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(filterType);
        for (size_t x = 0; x < rowBytes; ++x) raw.push_back(uint8_t(x * 7 + size_t(y) * 31));
    }
    return raw;
}

TBytes Idat(size_t rowBytes, int height, uint8_t filterType = 0) {
    return Chunk("IDAT", Deflate(RawRows(rowBytes, height, filterType)));
}

TBytes Join(std::initializer_list<TBytes> parts) {
    TBytes out;
    for (const TBytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

TBytes Cut(const TBytes& bytes, size_t length) { return TBytes(bytes.begin(), bytes.begin() + length); }

TBytes Replaced(TBytes bytes, uint8_t from, uint8_t to) {
    for (uint8_t& b : bytes)
        if (b == from) b = to;
    return bytes;
}

TBytes WithByte(TBytes bytes, size_t at, uint8_t value) {
    bytes[at] = value;
    return bytes;
}

}  // namespace

TPngPicture MakePngPicture(const TPngRecipe& r) {
    TPngPicture pic;
    pic.name = std::string(kColourNames[r.colourType]) + "-" + std::to_string(r.bitDepth) + "bit" +
               (r.transparency ? "-trns" : "") + (r.interlaced ? "-interlaced" : "") + "-" +
               std::to_string(r.width) + "x" + std::to_string(r.height);
    pic.width = r.width;
    pic.height = r.height;
    const int channels = ChannelsOf(r.colourType), depth = r.bitDepth;
    const bool keyed = r.transparency && (r.colourType == 0 || r.colourType == 2);

    // The samples of every pixel; a keyed picture has the key at (2, 3), and at (4, 5) a colour
    // that differs from the key only in the last bit (in 16-bit files, only in the low byte).
    std::vector<int> samples(size_t(r.width) * r.height * channels);
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x)
            for (int c = 0; c < channels; ++c)
                samples[(size_t(y) * r.width + x) * channels + c] = SampleAt(x, y, c, depth);
    auto at = [&](int x, int y) { return &samples[(size_t(y) * r.width + x) * channels]; };
    png_color_16 key{};
    if (keyed) {
        int* k = at(2, 3);
        int* near = at(4, 5);
        for (int c = 0; c < channels; ++c) near[c] = k[c];
        near[channels - 1] ^= 1;
        if (channels == 1) key.gray = png_uint_16(k[0]);
        else key.red = png_uint_16(k[0]), key.green = png_uint_16(k[1]), key.blue = png_uint_16(k[2]);
    }

    // The rows as stored in the file: small depths packed from the high bit, 16 bits big-endian.
    const size_t rowBytes = (size_t(r.width) * channels * depth + 7) / 8;
    std::vector<TBytes> rows(size_t(r.height), TBytes(rowBytes, 0));
    std::vector<png_bytep> rowPointers;
    for (int y = 0; y < r.height; ++y) {
        for (int i = 0; i < r.width * channels; ++i) {
            int v = samples[size_t(y) * r.width * channels + i];
            if (depth == 16) {
                rows[y][i * 2] = uint8_t(v >> 8);
                rows[y][i * 2 + 1] = uint8_t(v);
            } else if (depth == 8) {
                rows[y][i] = uint8_t(v);
            } else {
                int bit = i * depth;
                rows[y][bit / 8] |= uint8_t(v << (8 - depth - bit % 8));
            }
        }
        rowPointers.push_back(rows[y].data());
    }

    std::vector<png_color> palette;
    std::vector<png_byte> alphas;
    if (r.colourType == 3) {
        for (int i = 0; i < (1 << depth); ++i) palette.push_back(PaletteColour(i));
        if (r.transparency)
            for (int i = 0; i < TransparentEntries(int(palette.size())); ++i) alphas.push_back(PaletteAlpha(i));
    }

    // What the loader must give: strip-16 and expand, then grey, RGB or RGBA pixels.
    const bool alpha = r.colourType == 4 || r.colourType == 6 || r.transparency;
    pic.format = alpha ? PIXEL_RGBA8888 : r.colourType == 0 ? PIXEL_I8 : PIXEL_RGB888;
    for (int y = 0; y < r.height; ++y) {
        for (int x = 0; x < r.width; ++x) {
            const int* s = at(x, y);
            int red, green, blue, a = 255;
            if (r.colourType == 3) {
                png_color c = palette[size_t(s[0])];
                red = c.red, green = c.green, blue = c.blue;
                if (size_t(s[0]) < alphas.size()) a = alphas[size_t(s[0])];
            } else if (channels <= 2) {
                red = green = blue = To8Bits(s[0], depth);
                if (channels == 2) a = To8Bits(s[1], depth);
                if (keyed && s[0] == key.gray) a = 0;
            } else {
                red = To8Bits(s[0], depth), green = To8Bits(s[1], depth), blue = To8Bits(s[2], depth);
                if (channels == 4) a = To8Bits(s[3], depth);
                if (keyed && s[0] == key.red && s[1] == key.green && s[2] == key.blue) a = 0;
            }
            pic.argb.push_back(Argb(a, red, green, blue));
        }
    }

    PngWrite w{&r,
               rowPointers.data(),
               palette.data(),
               int(palette.size()),
               alphas.empty() ? nullptr : alphas.data(),
               int(alphas.size()),
               keyed ? &key : nullptr,
               &pic.bytes};
    if (!WriteWithLibpng(&w)) pic.bytes.clear();
    return pic;
}

std::vector<TPngPicture> GoodPngPictures() {
    const struct { int colourType, bitDepth; } kinds[] = {
        {0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
        {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
    std::vector<TPngPicture> pictures;
    for (bool interlaced : {false, true})
        for (auto k : kinds) pictures.push_back(MakePngPicture({k.colourType, k.bitDepth, interlaced}));
    // Transparency: palette alpha for part of the palette, and grey and RGB colour keys.
    const struct { int colourType, bitDepth; bool interlaced; } keyed[] = {
        {3, 8, false}, {3, 2, false}, {3, 1, true}, {3, 4, true}, {0, 4, false},
        {0, 8, true},  {0, 16, false}, {2, 8, false}, {2, 16, true}};
    for (auto k : keyed) pictures.push_back(MakePngPicture({k.colourType, k.bitDepth, k.interlaced, true}));
    // Pictures smaller than the Adam7 grid leave some passes empty; 1-bit rows of 9 pixels end
    // in a part byte.
    const struct { int colourType, bitDepth, width, height; } tiny[] = {
        {6, 8, 1, 1}, {0, 1, 2, 1}, {3, 4, 1, 5}, {2, 16, 3, 2}, {0, 1, 9, 4}, {4, 8, 8, 8}};
    for (auto t : tiny) pictures.push_back(MakePngPicture({t.colourType, t.bitDepth, true, false, t.width, t.height}));
    return pictures;
}

TPngPicture RgbPngPicture(int width, int height) { return MakePngPicture({2, 8, false, false, width, height}); }

TBytes HandWrittenPng() {
    return Join({kSignature, Ihdr(16, 16, 8, 2), Idat(16 * 3, 16), Chunk("IEND", {})});
}

std::vector<TPngBroken> BrokenPngFiles() {
    const TBytes iend = Chunk("IEND", {});
    const TBytes ihdr = Ihdr(16, 16, 8, 2);                 // 16 by 16 RGB, 8 bits
    const TBytes idat = Idat(16 * 3, 16);
    const TBytes good = HandWrittenPng();
    const size_t idatStart = kSignature.size() + ihdr.size();
    const TBytes compressed = Deflate(RawRows(16 * 3, 16));

    std::vector<TPngBroken> files = {
        // The signature, as damaged by transfers: the high bit stripped, letters changed, and
        // every line feed made a carriage return or the other way round.
        {"signature-high-bit-stripped", WithByte(good, 0, 0x09)},
        {"signature-second-byte", WithByte(good, 1, 'Q')},
        {"signature-lower-case-g", WithByte(good, 3, 'g')},
        {"signature-eof-byte", WithByte(good, 6, 0x20)},
        {"every-line-feed-made-carriage-return", Replaced(good, '\n', '\r')},
        {"every-carriage-return-made-line-feed", Replaced(good, '\r', '\n')},
        {"signature-only", kSignature},
        {"garbage-after-signature", [&] {
             TBytes b = kSignature;
             for (int i = 0; i < 300; ++i) b.push_back(uint8_t(7 + i * 131));
             return b;
         }()},
        {"not-a-png", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}},
        {"empty", {}},
        // The header: colour types, bit depths and methods that do not exist, or do not go
        // together, and sizes of zero or too large to decode.
        {"colour-type-1", Join({kSignature, Ihdr(16, 16, 8, 1), idat, iend})},
        {"colour-type-5", Join({kSignature, Ihdr(16, 16, 8, 5), idat, iend})},
        {"colour-type-9", Join({kSignature, Ihdr(16, 16, 8, 9), idat, iend})},
        {"bit-depth-0", Join({kSignature, Ihdr(16, 16, 0, 2), idat, iend})},
        {"grey-bit-depth-3", Join({kSignature, Ihdr(16, 16, 3, 0), Idat(6, 16), iend})},
        {"bit-depth-99", Join({kSignature, Ihdr(16, 16, 99, 2), idat, iend})},
        {"rgb-bit-depth-4", Join({kSignature, Ihdr(16, 16, 4, 2), Idat(24, 16), iend})},
        {"palette-bit-depth-16", Join({kSignature, Ihdr(16, 16, 16, 3), Idat(32, 16), iend})},
        {"grey-alpha-bit-depth-4", Join({kSignature, Ihdr(16, 16, 4, 4), Idat(16, 16), iend})},
        {"compression-method-1", Join({kSignature, Ihdr(16, 16, 8, 2, 1), idat, iend})},
        {"filter-method-1", Join({kSignature, Ihdr(16, 16, 8, 2, 0, 1), idat, iend})},
        {"interlace-method-2", Join({kSignature, Ihdr(16, 16, 8, 2, 0, 0, 2), idat, iend})},
        {"zero-width", Join({kSignature, Ihdr(0, 16, 8, 2), Idat(0, 16), iend})},
        {"zero-height", Join({kSignature, Ihdr(16, 0, 8, 2), Idat(48, 1), iend})},
        {"huge-dimensions", Join({kSignature, Ihdr(100000, 100000, 8, 2), Idat(48, 4), iend})},
        {"huge-area", Join({kSignature, Ihdr(16384, 16384, 8, 6), Idat(16384 * 4, 16), iend})},
        {"header-checksum-wrong", WithByte(good, kSignature.size() + 8 + 13, uint8_t(~good[kSignature.size() + 8 + 13]))},
        {"image-data-before-header", Join({kSignature, idat, ihdr, iend})},
        // The palette: missing, or longer than the bit depth allows.
        {"palette-without-plte", Join({kSignature, Ihdr(16, 16, 8, 3), Idat(16, 16), iend})},
        {"palette-of-257-colours", [&] {
             TBytes plte;
             for (int i = 0; i < 257 * 3; ++i) plte.push_back(uint8_t(i));
             return Join({kSignature, Ihdr(16, 16, 8, 3), Chunk("PLTE", plte), Idat(16, 16), iend});
         }()},
        // The image data: missing, damaged, cut short, or with a row filter that does not exist.
        {"no-image-data", Join({kSignature, ihdr, iend})},
        {"image-data-checksum-wrong", WithByte(good, idatStart + idat.size() - 1, uint8_t(~idat.back()))},
        {"corrupt-deflate", [&] {
             TBytes stream = {0x78, 0x9C};
             for (int i = 0; i < 160; ++i) stream.push_back(uint8_t(0xC8 + i));
             return Join({kSignature, ihdr, Chunk("IDAT", stream), iend});
         }()},
        {"compressed-data-cut-short", Join({kSignature, ihdr, Chunk("IDAT", Cut(compressed, compressed.size() * 6 / 10)), iend})},
        {"row-filter-type-5", Join({kSignature, ihdr, Idat(16 * 3, 16, 5), iend})},
        {"truncated-after-header", Cut(good, idatStart)},
        {"truncated-in-image-data", Cut(good, idatStart + idat.size() / 2)},
        {"no-end-chunk", Cut(good, good.size() - iend.size())},
        // Chunk lengths: one beyond 2^31, and an ancillary chunk declaring 160 MiB the file lacks.
        {"chunk-length-over-2-gib", [&] {
             TBytes b = Join({kSignature, ihdr});
             Put32(b, 0xFFFFFFF0u);
             b.insert(b.end(), {'I', 'D', 'A', 'T'});
             b.resize(b.size() + 40, 0);
             return b;
         }()},
        {"huge-ancillary-chunk", [&] {
             TBytes b = Join({kSignature, Ihdr(8, 8, 2, 3)});
             Put32(b, 0x0A000000u);
             b.insert(b.end(), {'s', 'P', 'L', 'T'});
             return b;
         }()},
    };
    return files;
}
