// Pixmaps: blocks of pixels in six formats, their conversions, masking, resizing and loading.
#include "draw2d/pixmap.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/error.h"
#include "platform/numeric.h"

namespace {

// Per-format tables, indexed by format 0..6.
const int kBytesPerPixel[7] = {0, 1, 1, 3, 3, 4, 4};
const int kAlphaBits[7] = {0, 0, 8, 0, 0, 8, 8};

bool KnownFormat(int format) { return format >= PIXEL_I8 && format <= PIXEL_RGBA8888; }

uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// Reads one pixel of the given format as 0xAARRGGBB.
uint32_t ReadBytes(const uint8_t* p, int format) {
    switch (format) {
        case PIXEL_I8: return Argb(255, p[0], p[0], p[0]);
        case PIXEL_A8: return Argb(p[0], 255, 255, 255);
        case PIXEL_BGR888: return Argb(255, p[2], p[1], p[0]);
        case PIXEL_RGB888: return Argb(255, p[0], p[1], p[2]);
        case PIXEL_BGRA8888: return Argb(p[3], p[2], p[1], p[0]);
        case PIXEL_RGBA8888: return Argb(p[3], p[0], p[1], p[2]);
        default: return 0;
    }
}

// Writes one 0xAARRGGBB pixel in the given format (intensity is the mean of red, green, blue).
void WriteBytes(uint8_t* p, int format, uint32_t argb) {
    uint8_t a = argb >> 24, r = argb >> 16, g = argb >> 8, b = argb;
    switch (format) {
        case PIXEL_I8: p[0] = static_cast<uint8_t>((r + g + b) / 3); break;
        case PIXEL_A8: p[0] = a; break;
        case PIXEL_BGR888: p[0] = b; p[1] = g; p[2] = r; break;
        case PIXEL_RGB888: p[0] = r; p[1] = g; p[2] = b; break;
        case PIXEL_BGRA8888: p[0] = b; p[1] = g; p[2] = r; p[3] = a; break;
        case PIXEL_RGBA8888: p[0] = r; p[1] = g; p[2] = b; p[3] = a; break;
        default: break;
    }
}

// Converts a row of count pixels from one format to another.
void ConvertRow(const uint8_t* src, int srcFormat, uint8_t* dst, int dstFormat, int count) {
    if (srcFormat == dstFormat) {
        std::memcpy(dst, src, static_cast<size_t>(count) * BytesPerPixel(srcFormat));
        return;
    }
    if (srcFormat == PIXEL_RGB888 && dstFormat == PIXEL_RGBA8888) {   // every picture without alpha
        for (int i = 0; i < count; ++i, src += 3, dst += 4) {
            dst[0] = src[0]; dst[1] = src[1]; dst[2] = src[2]; dst[3] = 255;
        }
        return;
    }
    int sb = BytesPerPixel(srcFormat), db = BytesPerPixel(dstFormat);
    for (int i = 0; i < count; ++i) WriteBytes(dst + i * db, dstFormat, ReadBytes(src + i * sb, srcFormat));
}

std::vector<TPixmapLoader*>& Loaders() {
    static std::vector<TPixmapLoader*> loaders;
    return loaders;
}

// Asks each loader in turn from the stream's current position; the caller keeps the stream.
TPixmapPtr LoadWith(const std::vector<TPixmapLoader*>& loaders, const TStreamPtr& stream) {
    if (!stream) return nullptr;
    int start = stream->Pos();
    if (start == -1) return nullptr;
    for (TPixmapLoader* loader : loaders) {
        stream->Seek(start);
        try {
            if (TPixmapPtr pm = loader->LoadPixmap(*stream)) return pm;
        } catch (const TStreamReadError&) {
            // a short read means "not my file": try the next loader
        }
    }
    return nullptr;
}

// The pictures decoded ahead and the thread decoding them: none until the first DecodeAhead,
// which makes them after the loaders it hands the thread, so at exit they go first and the
// thread is joined while the loaders still exist.
struct TDecodedAhead;
TDecodedAhead* decodedAhead = nullptr;

struct TDecodedAhead {
    struct TEntry {
        TEncodedPicture bytes;
        TPixmapPtr pixmap;
        bool decoded = false;
    };
    std::mutex lock;
    std::condition_variable decoded;
    std::vector<TEntry> entries;
    std::vector<TPixmapLoader*> loaders;   // the ones the entries are decoded with, newest first
    std::thread worker;

    ~TDecodedAhead() {
        Join();
        decodedAhead = nullptr;
    }
    void Join() {
        if (worker.joinable()) worker.join();
    }
    // Decodes entry after entry; the list itself does not change while the thread runs.
    void Decode() {
        for (size_t i = 0;; ++i) {
            TEncodedPicture bytes;
            {
                std::lock_guard<std::mutex> hold(lock);
                if (i >= entries.size()) return;
                bytes = entries[i].bytes;
            }
            TPixmapPtr pixmap;
            try {
                pixmap = LoadWith(loaders, CreateRamStream(bytes.data, bytes.length, 1, 0));
            } catch (...) {
                // left undecoded: loading it on the caller's thread meets the same error there
            }
            std::lock_guard<std::mutex> hold(lock);
            entries[i].pixmap = std::move(pixmap);
            entries[i].decoded = true;
            decoded.notify_all();
        }
    }
    // The pixmap decoded from exactly these bytes, taken out of the list.
    TPixmapPtr Take(const void* data, int length) {
        std::unique_lock<std::mutex> hold(lock);
        for (TEntry& entry : entries) {
            if (entry.bytes.data != data || entry.bytes.length != length) continue;
            decoded.wait(hold, [&] { return entry.decoded; });
            entry.bytes = TEncodedPicture{};   // handed over once
            if (loaders != Loaders()) return nullptr;
            return std::move(entry.pixmap);
        }
        return nullptr;
    }
};

// The pixmap decoded from exactly these bytes, if any was.
TPixmapPtr TakeDecodedAhead(const void* data, int length) {
    return decodedAhead ? decodedAhead->Take(data, length) : nullptr;
}

// The pixmap decoded ahead for an "incbin::" url, if its registered bytes were.
TPixmapPtr TakeDecodedAhead(const std::string& url) {
    int length = 0;
    const void* data = IncbinUrlBytes(url, &length);
    return data ? TakeDecodedAhead(data, length) : nullptr;
}

}  // namespace

void DecodeAhead(std::vector<TEncodedPicture> pictures) {
    Loaders();   // the list too is made first
    static TDecodedAhead ahead;
    decodedAhead = &ahead;
    ahead.Join();
    ahead.entries.clear();
    for (const TEncodedPicture& bytes : pictures) ahead.entries.push_back({bytes, nullptr, false});
    ahead.loaders = Loaders();
    if (ahead.entries.empty()) return;
    try {
        ahead.worker = std::thread([] { ahead.Decode(); });
    } catch (const std::system_error&) {
        ahead.entries.clear();   // no thread to be had (the web): each is decoded as it is loaded
    }
}

// The web and Windows have no libpng.
void StartPixmapLoaders() {
#if defined(__EMSCRIPTEN__) || defined(_WIN32)
    CreateStbPngLoader();
#else
    CreatePngLoader();
#endif
}

int BytesPerPixel(int format) { return KnownFormat(format) ? kBytesPerPixel[format] : 0; }
int AlphaBits(int format) { return KnownFormat(format) ? kAlphaBits[format] : 0; }

TPixmap::~TPixmap() = default;

TPixmapPtr TPixmap::Create(int width, int height, int format, int align) {
    auto pm = std::make_shared<TPixmap>();
    pm->width = std::max(width, 0);
    pm->height = std::max(height, 0);
    pm->format = format;
    align = std::max(align, 1);
    int64_t rowBytes = static_cast<int64_t>(pm->width) * BytesPerPixel(format);
    int64_t pitch = (rowBytes + align - 1) / align * align;
    int64_t capacity = pitch * pm->height;
    if (capacity > INT32_MAX) throw TRuntimeError("Pixmap too large");
    pm->pitch = static_cast<int>(pitch);
    pm->capacity = static_cast<int>(capacity);
    pm->owner_ = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(capacity));
    pm->pixels = pm->owner_->data();
    return pm;
}

uint8_t* TPixmap::PixelPtr(int x, int y) const {
    return pixels + static_cast<ptrdiff_t>(y) * pitch + static_cast<ptrdiff_t>(x) * BytesPerPixel(format);
}

TPixmapPtr TPixmap::Window(int x, int y, int w, int h) const {
    int x0 = std::clamp(x, 0, width), y0 = std::clamp(y, 0, height);
    int x1 = std::clamp(x + std::max(w, 0), x0, width), y1 = std::clamp(y + std::max(h, 0), y0, height);
    auto pm = std::make_shared<TPixmap>();
    pm->width = x1 - x0;
    pm->height = y1 - y0;
    pm->pitch = pitch;
    pm->format = format;
    pm->capacity = 0;
    pm->owner_ = owner_;
    pm->pixels = pixels ? PixelPtr(x0, y0) : nullptr;
    return pm;
}

TPixmapPtr TPixmap::Copy() const {
    auto pm = Create(width, height, format);
    pm->Paste(*this, 0, 0);
    return pm;
}

void TPixmap::Paste(const TPixmap& src, int x, int y) {
    int sx = std::max(0, -x), sy = std::max(0, -y);
    int w = std::min(src.width, width - x) - sx;
    int h = std::min(src.height, height - y) - sy;
    if (w <= 0 || h <= 0) return;
    for (int row = 0; row < h; ++row)
        ConvertRow(src.PixelPtr(sx, sy + row), src.format, PixelPtr(x + sx, y + sy + row), format, w);
}

TPixmapPtr TPixmap::Convert(int newFormat) const {
    auto pm = Create(width, height, newFormat);
    pm->Paste(*this, 0, 0);
    return pm;
}

uint32_t TPixmap::ReadPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return ReadBytes(PixelPtr(x, y), format);
}

void TPixmap::WritePixel(int x, int y, uint32_t argb) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    WriteBytes(PixelPtr(x, y), format, argb);
}

TPixmapLoader::TPixmapLoader() { Loaders().insert(Loaders().begin(), this); }

TPixmapLoader::~TPixmapLoader() {
    auto& list = Loaders();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

TPixmapPtr LoadPixmap(const TStreamPtr& stream) { return LoadWith(Loaders(), stream); }

TPixmapPtr LoadPixmap(const void* data, int length) {
    if (TPixmapPtr ahead = TakeDecodedAhead(data, length)) return ahead;
    return LoadPixmap(CreateRamStream(data, length, 1, 0));
}

TPixmapPtr LoadPixmap(const std::string& url) {
    if (TPixmapPtr ahead = TakeDecodedAhead(url)) return ahead;
    TStreamPtr stream = ReadStream(url);
    if (!stream) return nullptr;
    TPixmapPtr pm;
    try {
        pm = LoadPixmap(stream);
    } catch (...) {
        stream->Close();
        throw;
    }
    stream->Close();
    return pm;
}

TPixmapPtr MaskPixmap(const TPixmap& src, int red, int green, int blue) {
    TPixmapPtr converted;
    const TPixmap* in = &src;
    if (src.format != PIXEL_RGBA8888) {
        converted = src.Convert(PIXEL_RGBA8888);
        in = converted.get();
    }
    // Which pixels are of the mask colour, worked out once for the neighbours' sake.
    const int width = in->width, height = in->height;
    std::vector<uint8_t> isMask(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = in->PixelPtr(0, y);
        for (int x = 0; x < width; ++x, p += 4)
            isMask[static_cast<size_t>(y) * width + x] = p[0] == red && p[1] == green && p[2] == blue;
    }
    auto out = TPixmap::Create(width, height, PIXEL_RGBA8888);
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = in->PixelPtr(0, y);
        uint8_t* q = out->PixelPtr(0, y);
        const uint8_t* rowMask = &isMask[static_cast<size_t>(y) * width];
        for (int x = 0; x < width; ++x, p += 4, q += 4) {
            if (!rowMask[x]) {
                q[0] = p[0]; q[1] = p[1]; q[2] = p[2]; q[3] = 255;
                continue;
            }
            int r = 0, g = 0, b = 0, n = 0;
            for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, height - 1); ++ny) {
                const uint8_t* neighbourMask = &isMask[static_cast<size_t>(ny) * width];
                for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, width - 1); ++nx) {
                    if (neighbourMask[nx]) continue;
                    const uint8_t* s = in->PixelPtr(nx, ny);
                    r += s[0]; g += s[1]; b += s[2]; ++n;
                }
            }
            if (n) { r /= n; g /= n; b /= n; }
            q[0] = r; q[1] = g; q[2] = b; q[3] = 0;
        }
    }
    return out;
}

namespace {

// Where destination pixel i samples a source axis: the two nearest pixels and the weight of the second.
struct TSample { int i0, i1; double f; };
TSample SampleAt(int i, int srcSize, int dstSize) {
    double pos = (i + 0.5) * (static_cast<float>(srcSize) / static_cast<float>(dstSize)) - 0.5;
    pos = std::clamp(pos, 0.0, static_cast<double>(srcSize - 1));
    int i0 = TruncInt(pos);
    return {i0, std::min(i0 + 1, srcSize - 1), pos - i0};
}

}  // namespace

TPixmapPtr ResizePixmap(const TPixmap& src, int width, int height) {
    auto out = TPixmap::Create(width, height, PIXEL_RGBA8888);
    if (src.width <= 0 || src.height <= 0 || out->width == 0 || out->height == 0) return out;
    TPixmapPtr converted;
    const TPixmap* in = &src;
    if (src.format != PIXEL_RGBA8888) {
        converted = src.Convert(PIXEL_RGBA8888);
        in = converted.get();
    }
    // Halving every side longer than 1 pixel (a mipmap level from the one before) samples each
    // 2x2 block at its centre: the mean of its pixels, rounded down, as the blend below gives.
    const bool halvesWidth = in->width == 2 * out->width || (in->width == 1 && out->width == 1);
    const bool halvesHeight = in->height == 2 * out->height || (in->height == 1 && out->height == 1);
    if (halvesWidth && halvesHeight) {
        const int dx = in->width > 1 ? 4 : 0;   // the block's second column and row
        const int dy = in->height > 1 ? in->pitch : 0;
        for (int y = 0; y < out->height; ++y) {
            const uint8_t* p = in->PixelPtr(0, in->height > 1 ? 2 * y : 0);
            uint8_t* q = out->PixelPtr(0, y);
            for (int x = 0; x < out->width; ++x, p += 2 * dx, q += 4)
                for (int c = 0; c < 4; ++c) q[c] = static_cast<uint8_t>((p[c] + p[c + dx] + p[c + dy] + p[c + dx + dy]) >> 2);
        }
        return out;
    }
    std::vector<TSample> columns(static_cast<size_t>(out->width));
    for (int x = 0; x < out->width; ++x) columns[x] = SampleAt(x, in->width, out->width);
    for (int y = 0; y < out->height; ++y) {
        TSample sy = SampleAt(y, in->height, out->height);
        for (int x = 0; x < out->width; ++x) {
            const TSample& sx = columns[x];
            const uint8_t* p00 = in->PixelPtr(sx.i0, sy.i0);
            const uint8_t* p10 = in->PixelPtr(sx.i1, sy.i0);
            const uint8_t* p01 = in->PixelPtr(sx.i0, sy.i1);
            const uint8_t* p11 = in->PixelPtr(sx.i1, sy.i1);
            uint8_t* q = out->PixelPtr(x, y);
            for (int c = 0; c < 4; ++c) {
                double top = p00[c] + (p10[c] - p00[c]) * sx.f;
                double bottom = p01[c] + (p11[c] - p01[c]) * sx.f;
                q[c] = static_cast<uint8_t>(TruncInt(top + (bottom - top) * sy.f));
            }
        }
    }
    return out;
}

TAlphaCoverage::TAlphaCoverage(const TPixmap& pixmap) : width(pixmap.width), height(pixmap.height) {
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

// A scan of the rows a word at a time, stopping at the first pixel found.
bool TAlphaCoverage::Any(int c0, int r0, int c1, int r1) const {
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

int NextPowerOfTwo(int n) {
    int p = 1;
    while (p < n && p < (1 << 30)) p <<= 1;
    return p;
}

TPixmapPtr PadToTexture(const TPixmap& frame, int texW, int texH) {
    auto padded = TPixmap::Create(texW, texH, PIXEL_RGBA8888);
    padded->Paste(frame, 0, 0);
    int w = frame.width, h = frame.height;
    if (w < texW) padded->Paste(*frame.Window(w - 1, 0, 1, h), w, 0);
    if (h < texH) padded->Paste(*frame.Window(0, h - 1, w, 1), 0, h);
    if (w < texW && h < texH) padded->Paste(*frame.Window(w - 1, h - 1, 1, 1), w, h);
    return padded;
}
