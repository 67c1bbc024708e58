// Lays out the embedded pictures and the built-in font on one PNG, to look them over at a glance.
//
//   kestrava-contact-sheet <out.png>
//
// Masked colours show as a checkerboard: magenta in the wing, white in the island, alpha in the
// arrow; the spark is shown on black as the additive clouds see it.
#include "assets/embedded.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// An RGBA picture, rows top to bottom.
struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
    unsigned char* At(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
};

struct ReadCursor {
    const unsigned char* data;
    size_t size;
    size_t pos;
};

// Feeds libpng from the embedded bytes; a read past the end is a libpng error.
void ReadEmbedded(png_structp png, png_bytep out, png_size_t count) {
    ReadCursor* cursor = static_cast<ReadCursor*>(png_get_io_ptr(png));
    if (count > cursor->size - cursor->pos) png_error(png, "truncated picture");
    std::memcpy(out, cursor->data + cursor->pos, count);
    cursor->pos += count;
}

// Decodes an embedded PNG into RGBA; false when it is missing or broken.
bool DecodeEmbedded(const char* name, Rgba& picture) {
    TEmbeddedFile file = EmbeddedFile(name);
    if (!file.data || file.length < 8 || png_sig_cmp(file.data, 0, 8)) return false;
    ReadCursor cursor{file.data, static_cast<size_t>(file.length), 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &cursor, ReadEmbedded);
    png_read_png(png, info, PNG_TRANSFORM_STRIP_16 | PNG_TRANSFORM_EXPAND | PNG_TRANSFORM_GRAY_TO_RGB, nullptr);
    int width = static_cast<int>(png_get_image_width(png, info));
    int height = static_cast<int>(png_get_image_height(png, info));
    int channels = png_get_channels(png, info);
    png_bytepp rows = png_get_rows(png, info);
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<size_t>(width) * height * 4, 255);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < channels && c < 4; ++c) picture.At(x, y)[c] = rows[y][x * channels + c];
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

// Writes the sheet as an RGB PNG.
bool WriteSheet(const char* path, Rgba& sheet) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<unsigned char> row(static_cast<size_t>(sheet.width) * 3);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, sheet.width, sheet.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < sheet.height; ++y) {
        for (int x = 0; x < sheet.width; ++x) std::memcpy(&row[x * 3], sheet.At(x, y), 3);
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

// Fills a rectangle with one colour.
void Fill(Rgba& sheet, int x0, int y0, int w, int h, int r, int g, int b) {
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            unsigned char* p = sheet.At(x, y);
            p[0] = static_cast<unsigned char>(r);
            p[1] = static_cast<unsigned char>(g);
            p[2] = static_cast<unsigned char>(b);
        }
    }
}

// Fills a rectangle with the grey checkerboard that stands for transparency.
void Checkerboard(Rgba& sheet, int x0, int y0, int w, int h) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int v = ((x / 8 + y / 8) % 2) ? 104 : 76;
            Fill(sheet, x0 + x, y0 + y, 1, 1, v, v, v);
        }
    }
}

// Draws a picture at (x0, y0), `zoom` sheet pixels per picture pixel. Pixels of the mask colour
// (when maskR >= 0) or with alpha are blended over what is already there.
void Place(Rgba& sheet, Rgba& picture, int x0, int y0, int zoom, int maskR = -1, int maskG = 0, int maskB = 0) {
    for (int y = 0; y < picture.height * zoom; ++y) {
        for (int x = 0; x < picture.width * zoom; ++x) {
            const unsigned char* s = picture.At(x / zoom, y / zoom);
            if (s[0] == maskR && s[1] == maskG && s[2] == maskB) continue;
            unsigned char* d = sheet.At(x0 + x, y0 + y);
            for (int c = 0; c < 3; ++c) d[c] = static_cast<unsigned char>((s[c] * s[3] + d[c] * (255 - s[3])) / 255);
        }
    }
}

// Draws a picture stretched to w by h pixels the way the game's filtered textures are (bilinear,
// no mipmaps), tinted and faded, then blown up `zoom` times. Mask-coloured texels are transparent.
void DrawStretched(Rgba& sheet, Rgba& picture, int x0, int y0, int w, int h, int zoom, const double tint[3],
                   double alpha, int maskR = -1, int maskG = 0, int maskB = 0) {
    auto texel = [&](int x, int y, double out[4]) {
        x = x < 0 ? 0 : (x >= picture.width ? picture.width - 1 : x);
        y = y < 0 ? 0 : (y >= picture.height ? picture.height - 1 : y);
        const unsigned char* s = picture.At(x, y);
        double a = (s[0] == maskR && s[1] == maskG && s[2] == maskB) ? 0.0 : s[3] / 255.0;
        for (int c = 0; c < 3; ++c) out[c] = s[c] / 255.0 * a;
        out[3] = a;
    };
    for (int sy = 0; sy < h; ++sy) {
        for (int sx = 0; sx < w; ++sx) {
            double u = (sx + 0.5) / w * picture.width - 0.5, v = (sy + 0.5) / h * picture.height - 0.5;
            int ix = static_cast<int>(u + 1.0) - 1, iy = static_cast<int>(v + 1.0) - 1;
            double fx = u - ix, fy = v - iy, t00[4], t10[4], t01[4], t11[4], px[4];
            texel(ix, iy, t00);
            texel(ix + 1, iy, t10);
            texel(ix, iy + 1, t01);
            texel(ix + 1, iy + 1, t11);
            for (int c = 0; c < 4; ++c)
                px[c] = (t00[c] * (1 - fx) + t10[c] * fx) * (1 - fy) + (t01[c] * (1 - fx) + t11[c] * fx) * fy;
            for (int zy = 0; zy < zoom; ++zy) {
                for (int zx = 0; zx < zoom; ++zx) {
                    unsigned char* d = sheet.At(x0 + sx * zoom + zx, y0 + sy * zoom + zy);
                    for (int c = 0; c < 3; ++c) {
                        double out = px[c] * tint[c] * alpha + d[c] * (1.0 - px[3] * alpha);
                        d[c] = static_cast<unsigned char>(out > 255.0 ? 255.0 : out);
                    }
                }
            }
        }
    }
}

// Draws text in the built-in font, `zoom` sheet pixels per font pixel.
void DrawText(Rgba& sheet, const unsigned char* font, const std::string& text, int x0, int y0, int zoom,
              int r, int g, int b) {
    for (size_t i = 0; i < text.size(); ++i) {
        int code = static_cast<unsigned char>(text[i]);
        if (code < 32 || code > 127) continue;
        int glyph = code - 32;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 8; ++x) {
                if ((font[y * 96 + glyph] >> x) & 1)
                    Fill(sheet, x0 + (static_cast<int>(i) * 8 + x) * zoom, y0 + y * zoom, zoom, zoom, r, g, b);
            }
        }
    }
}

// What the sheet shows: the four embedded pictures and the built-in font's bits.
struct TSheetContents {
    Rgba wing, spark, island, arrow;
    const unsigned char* font = nullptr;
};

// The sheet's three rows: the small pictures, the island beside the font, the pictures at
// their size in play.
constexpr int kGap = 16, kLabel = 24, kCell = 256, kInUse = 232;
constexpr int kLight = 220;   // the labels' grey

// The first row at y: the wing, the spark, the arrow and the font's glyphs, each under its label.
void DrawSmallPictures(Rgba& sheet, TSheetContents& in, int y) {
    int x = kGap;
    DrawText(sheet, in.font, "wing2.png", x, y, 1, kLight, kLight, kLight);
    Checkerboard(sheet, x, y + kLabel, kCell, kCell);
    Place(sheet, in.wing, x, y + kLabel, 1, 255, 0, 255);

    x += kCell + kGap;
    DrawText(sheet, in.font, "spark.png (on black)", x, y, 1, kLight, kLight, kLight);
    Place(sheet, in.spark, x, y + kLabel, 1);

    x += kCell + kGap;
    DrawText(sheet, in.font, "arrow.png (2x)", x, y, 1, kLight, kLight, kLight);
    Checkerboard(sheet, x, y + kLabel, kCell, kCell);
    Place(sheet, in.arrow, x, y + kLabel, 2);

    x += kCell + kGap;
    DrawText(sheet, in.font, "quorbfont.bin (2x)", x, y, 1, kLight, kLight, kLight);
    Fill(sheet, x, y + kLabel, kCell, kCell, 0, 64, 128);
    for (int code = 32; code < 128; ++code) {
        int i = code - 32;
        DrawText(sheet, in.font, std::string(1, static_cast<char>(code)), x + (i % 16) * 16,
                 y + kLabel + (i / 16) * 36, 2, 255, 255, 255);
    }
}

// The second row at y: the island, and beside it the game's texts in the font.
void DrawIslandAndTexts(Rgba& sheet, TSheetContents& in, int y) {
    int x = kGap;
    DrawText(sheet, in.font, "island.png", x, y, 1, kLight, kLight, kLight);
    Checkerboard(sheet, x, y + kLabel, 512, 512);
    Place(sheet, in.island, x, y + kLabel, 1, 255, 255, 255);

    x += 512 + kGap;
    int textWidth = sheet.width - x - kGap;
    const unsigned char* bits = in.font;
    Fill(sheet, x, y + kLabel, textWidth, 512, 0, 128, 255);
    DrawText(sheet, bits, "Press SPACE to start flying.", x + 16, y + kLabel + 24, 2, 255, 255, 255);
    DrawText(sheet, bits, "Score: 1230   Life: 42   07:35", x + 16, y + kLabel + 80, 2, 255, 255, 0);
    DrawText(sheet, bits, "The quick brown fox jumps over", x + 16, y + kLabel + 136, 1, 255, 255, 255);
    DrawText(sheet, bits, "the lazy dog. 0123456789 {[(<>)]}", x + 16, y + kLabel + 152, 1, 255, 255, 255);
    DrawText(sheet, bits, "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG", x + 16, y + kLabel + 168, 1, 255, 255, 255);
    DrawText(sheet, bits, "glyph jumpy quays? #$%&*+-/=@\\^_`|~", x + 16, y + kLabel + 184, 1, 255, 255, 255);
}

// The last row at y, in play: one wing's three pieces tinted (230, 230, 230), and the road's
// arrow at alpha 0.25 over a 100-pixel-wide segment in red, blue and white.
void DrawInPlay(Rgba& sheet, TSheetContents& in, int y) {
    const int x = kGap;
    DrawText(sheet, in.font, "in play: wing pieces (4x); sky road segments (2x: red, blue, passed)", x, y, 1,
             kLight, kLight, kLight);
    Fill(sheet, x, y + kLabel, sheet.width - 2 * kGap, kInUse, 0, 96, 200);
    const double wingTint[3] = {230, 230, 230}, red[3] = {255, 0, 0}, blue[3] = {0, 0, 255}, white[3] = {255, 255, 255};
    for (int piece = 0; piece < 3; ++piece)
        DrawStretched(sheet, in.wing, x + 16 + piece * 22 * 4, y + kLabel + 16, 22, 26, 4, wingTint, 1.0, 255, 0, 255);
    const double* roadTints[3] = {red, blue, white};
    for (int i = 0; i < 3; ++i)
        DrawStretched(sheet, in.arrow, x + 320 + i * 104 * 2 + (i > 0 ? 16 * i : 0), y + kLabel + 8, 100, 52, 2,
                      roadTints[i], 0.25);
    for (int i = 0; i < 3; ++i)
        DrawStretched(sheet, in.arrow, x + 320 + i * 104 * 2 + (i > 0 ? 16 * i : 0), y + kLabel + 8 + 104, 100, 52,
                      2, roadTints[i], 0.25);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrava-contact-sheet <out.png>\n");
        return 2;
    }
    TSheetContents in;
    TEmbeddedFile font = EmbeddedFile("quorbfont.bin");
    in.font = font.data;
    if (!DecodeEmbedded("wing2.png", in.wing) || !DecodeEmbedded("spark.png", in.spark) ||
        !DecodeEmbedded("island.png", in.island) || !DecodeEmbedded("arrow.png", in.arrow) || font.length != 1536) {
        std::fprintf(stderr, "kestrava-contact-sheet: an embedded file is missing or unreadable\n");
        return 1;
    }

    Rgba sheet;
    sheet.width = kGap + 4 * (kCell + kGap);
    sheet.height = kGap + kLabel + kCell + kGap + kLabel + 512 + kGap + kLabel + kInUse + kGap;
    sheet.pixels.assign(static_cast<size_t>(sheet.width) * sheet.height * 4, 255);
    Fill(sheet, 0, 0, sheet.width, sheet.height, 40, 44, 52);
    int y = kGap;
    DrawSmallPictures(sheet, in, y);
    y += kLabel + kCell + kGap;
    DrawIslandAndTexts(sheet, in, y);
    y += kLabel + 512 + kGap;
    DrawInPlay(sheet, in, y);

    if (!WriteSheet(argv[1], sheet)) {
        std::fprintf(stderr, "kestrava-contact-sheet: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
