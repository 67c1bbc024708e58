// The built-in 8 by 16 bitmap font, turned into one small image per glyph, and text drawing.
#include "draw2d/font.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "assets/embedded.h"
#include "draw2d/blend.h"
#include "draw2d/plane.h"
#include "draw2d/state.h"
#include "platform/numeric.h"
#include "platform/stream.h"

namespace {

const int kGlyphCount = 96;
const int kCellWidth = 8, kCellHeight = 16;
// How many lines the font remembers, and how often a line is drawn before it gets an image
// of its own: more often than an outlined text draws it in one frame (nine times).
const size_t kKeptLines = 16;
const int kUsesBeforeKept = 16;
const char kFontFile[] = "quorbfont.bin";

// The current font, falling back to the layer's built-in font (made on first need).
TImageFontPtr CurrentFont() {
    if (TImageFontPtr font = CurrentDrawState().image_font) return font;
    TDrawLayerSettings& layer = DrawLayerSettings();
    if (!layer.default_font) layer.default_font = TImageFont::CreateDefault();
    return layer.default_font;
}

}  // namespace

void StartFontModule() {
    TEmbeddedFile file = EmbeddedFile(kFontFile);
    if (file.data) IncbinAdd(kFontFile, file.data, file.length);
}

// Row y of glyph g is the byte at y * 96 + g, bit 0 leftmost; a missing or short file leaves
// the missing rows empty.
TImageFontPtr TImageFont::CreateDefault() {
    auto font = std::make_shared<TImageFont>();
    font->glyphs.resize(kGlyphCount);

    auto sheet = TPixmap::Create(kGlyphCount * kCellWidth, kCellHeight, PIXEL_RGBA8888);
    const auto* bits = static_cast<const uint8_t*>(IncbinPtr(kFontFile));
    int length = bits ? IncbinLen(kFontFile) : 0;
    for (int y = 0; y < kCellHeight; ++y) {
        for (int g = 0; g < kGlyphCount; ++g) {
            int offset = y * kGlyphCount + g;
            uint8_t row = offset < length ? bits[offset] : 0;
            for (int b = 0; b < 8; ++b)
                std::memset(sheet->PixelPtr(g * kCellWidth + b, y), (row >> b) & 1 ? 255 : 0, 4);
        }
    }

    font->atlas = TImage::Load(sheet, 0, 0, 0, 0);
    for (int g = 0; g < kGlyphCount; ++g) {
        auto glyph = std::make_shared<TImageGlyph>();
        glyph->advance = 8.0f;
        glyph->rect_w = kCellWidth;
        glyph->rect_h = kCellHeight;
        TPixmapPtr cell = sheet->Window(g * kCellWidth, 0, kCellWidth, kCellHeight)->Copy();
        glyph->image = TImage::Load(cell, 0, 0, 0, 0);
        font->glyphs[g] = glyph;
    }
    return font;
}

int TImageFont::CharToGlyph(int code) const { return code >= 32 && code <= 127 ? code - 32 : -1; }

// The built-in font has no other source, so a missing glyph stays none.
std::shared_ptr<TImageGlyph> TImageFont::LoadGlyph(int index) {
    if (index < 0 || index >= CountGlyphs()) return nullptr;
    return glyphs[index];
}

std::u16string TImageFont::AtlasLine(const std::u16string& text) {
    std::u16string line;
    for (char16_t c : text) {
        int n = CharToGlyph(c);
        if (n == -1) continue;
        std::shared_ptr<TImageGlyph> glyph = LoadGlyph(n);
        if (!glyph) continue;
        if (!glyph->image || glyph->rect_x != 0 || glyph->rect_y != 0 || glyph->advance != kCellWidth ||
            glyph->image->width != kCellWidth || glyph->image->height != atlas->height ||
            n >= atlas->width / kCellWidth)
            return {};
        line.push_back(static_cast<char16_t>(n));
    }
    return line;
}

const TKeptLine& TImageFont::UseLine(const std::u16string& line) {
    auto kept = std::find_if(keptLines.begin(), keptLines.end(),
                             [&](const TKeptLine& k) { return k.glyphs == line; });
    if (kept == keptLines.end()) {
        if (keptLines.size() < kKeptLines)
            kept = keptLines.insert(keptLines.end(), TKeptLine{});
        else
            kept = std::min_element(keptLines.begin(), keptLines.end(),
                                    [](const TKeptLine& a, const TKeptLine& b) { return a.lastUse < b.lastUse; });
        *kept = TKeptLine{};
        kept->glyphs = line;
    }
    kept->lastUse = ++lineUses;
    if (++kept->uses >= kUsesBeforeKept && !kept->image) MakeLineImage(*kept);
    return *kept;
}

void TImageFont::MakeLineImage(TKeptLine& kept) {
    TPixmapPtr sheet = atlas->Lock(0, true, false);
    const int cells = static_cast<int>(kept.glyphs.size()), width = cells * kCellWidth, height = atlas->height;
    TPixmapPtr pixels = TPixmap::Create(width, height, PIXEL_RGBA8888);
    kept.inkLeft = width;
    kept.inkTop = height;
    kept.inkRight = kept.inkBottom = 0;
    for (int y = 0; y < height; ++y) {
        for (int k = 0; k < cells; ++k)
            std::memcpy(pixels->PixelPtr(k * kCellWidth, y), sheet->PixelPtr(kept.glyphs[k] * kCellWidth, y),
                        kCellWidth * 4);
        for (int x = 0; x < width; ++x) {
            if (pixels->PixelPtr(x, y)[3] == 0) continue;
            kept.inkLeft = std::min(kept.inkLeft, x);
            kept.inkRight = std::max(kept.inkRight, x + 1);
            kept.inkTop = std::min(kept.inkTop, y);
            kept.inkBottom = y + 1;
        }
    }
    kept.image = TImage::Load(pixels, atlas->flags, atlas->mask_r, atlas->mask_g, atlas->mask_b);
}

// Where transparent texels leave the picture as it was, only the rectangle round the ink can
// change a pixel.
void TImageFont::DrawLine(const TKeptLine& kept, TImageFrame& frame, float x, float y) {
    TPlaneDriver* driver = CurrentPlaneDriver();
    const int width = kept.image->width, height = kept.image->height;
    int left = 0, top = 0, right = width, bottom = height;
    if (ClearTexelsLeavePixels(CurrentDrawState().blend_mode)) {
        if (kept.inkRight <= kept.inkLeft) {
            frame.SelectWithoutDrawing();
            return;
        }
        left = kept.inkLeft;
        top = kept.inkTop;
        right = kept.inkRight;
        bottom = kept.inkBottom;
    }
    driver->DrawFrameRegion(frame, static_cast<float>(left), static_cast<float>(top), static_cast<float>(right),
                            static_cast<float>(bottom), x, y, left, top, right - left, bottom - top, width, height);
}

// The built-in font takes each glyph's cell from its atlas where that gives the glyph image's
// own pixels: unscaled and unturned, at a whole-pixel pen, every pixel centre falls on the
// centre of one texel of the cell. Anywhere else nearest sampling may land on the next cell's
// texels (where the glyph's own texture repeats its edge), so the glyph image is drawn.
void TImageFont::Draw(const std::u16string& text, float x, float y, float ix, float iy, float jx, float jy) {
    const bool upright = ix == 1 && iy == 0 && jx == 0 && jy == 1;
    TImageFramePtr sheet = atlas && upright ? atlas->Frame(0) : nullptr;
    TPlaneDriver* driver = CurrentPlaneDriver();
    // A line kept as an image is one quad with the very pixels its cells would give.
    if (sheet && driver && x == std::floor(x) && y == std::floor(y)) {
        const std::u16string line = AtlasLine(text);
        if (line.size() > 1) {
            const TKeptLine& kept = UseLine(line);
            if (TImageFramePtr frame = kept.image ? kept.image->Frame(0) : nullptr) {
                DrawLine(kept, *frame, x, y);
                return;
            }
        }
    }
    for (char16_t c : text) {
        int n = CharToGlyph(c);
        if (n == -1) continue;
        std::shared_ptr<TImageGlyph> glyph = LoadGlyph(n);
        if (!glyph) continue;
        int dx = TruncInt(static_cast<double>(glyph->rect_x) * ix + static_cast<double>(glyph->rect_y) * iy);
        int dy = TruncInt(static_cast<double>(glyph->rect_x) * jx + static_cast<double>(glyph->rect_y) * jy);
        const TImagePtr& image = glyph->image;
        if (image) {
            const float w = static_cast<float>(image->width), h = static_cast<float>(image->height);
            const float px = static_cast<float>(static_cast<double>(x) + dx);
            const float py = static_cast<float>(static_cast<double>(y) + dy);
            const bool wholePixel = px == std::floor(px) && py == std::floor(py);
            if (sheet && driver && wholePixel && n < atlas->width / kCellWidth) {
                driver->DrawFrameRegion(*sheet, 0, 0, w, h, px, py, n * kCellWidth, 0, kCellWidth,
                                        atlas->height, atlas->width, atlas->height);
            } else if (TImageFramePtr frame = image->Frame(0)) {
                frame->Draw(0, 0, w, h, px, py);
            }
        }
        x = static_cast<float>(x + static_cast<double>(glyph->advance) * ix);
        y = static_cast<float>(y + static_cast<double>(glyph->advance) * jx);
    }
}

void DrawText(const std::string& text, float x, float y) {
    const TDrawState& s = CurrentDrawState();
    double hx = s.handle_x, hy = s.handle_y;
    float px = static_cast<float>(x + static_cast<double>(s.origin_x) + hx * s.tform_ix + hy * s.tform_iy);
    float py = static_cast<float>(y + static_cast<double>(s.origin_y) + hx * s.tform_jx + hy * s.tform_jy);
    CurrentFont()->Draw(ToCharCodes(text), px, py, s.tform_ix, s.tform_iy, s.tform_jx, s.tform_jy);
}

int TextWidth(const std::string& text) {
    TImageFontPtr font = CurrentFont();
    int total = 0;
    for (char16_t c : ToCharCodes(text)) {
        int n = font->CharToGlyph(c);
        if (n == -1) continue;
        if (std::shared_ptr<TImageGlyph> glyph = font->LoadGlyph(n))
            total = TruncInt(total + static_cast<double>(glyph->advance));
    }
    return total;
}

int TextHeight(const std::string& /*text*/) { return CurrentFont()->Height(); }

void SetImageFont(const TImageFontPtr& font) {
    CurrentDrawState().image_font = font ? font : DrawLayerSettings().default_font;
}

TImageFontPtr GetImageFont() { return CurrentDrawState().image_font; }

std::u16string ToCharCodes(const std::string& utf8) {
    const char16_t kInvalid = u'\uFFFD';
    auto byte = [&](size_t k) { return static_cast<unsigned char>(utf8[k]); };
    std::u16string out;
    size_t i = 0, n = utf8.size();
    while (i < n) {
        unsigned c = byte(i);
        if (c < 0x80) {
            out.push_back(static_cast<char16_t>(c));
            ++i;
            continue;
        }
        int extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 0;
        unsigned code = c & (0x3F >> extra);
        bool ok = extra > 0 && i + extra < n;
        for (int k = 1; ok && k <= extra; ++k) {
            ok = (byte(i + k) & 0xC0) == 0x80;
            code = (code << 6) | (byte(i + k) & 0x3F);
        }
        if (!ok) {
            out.push_back(kInvalid);   // skip just this byte and resynchronise
            ++i;
            continue;
        }
        out.push_back(code > 0xFFFF ? kInvalid : static_cast<char16_t>(code));
        i += extra + 1;
    }
    return out;
}
