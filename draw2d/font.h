// The built-in 8 by 16 bitmap font and text drawing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "draw2d/image.h"

struct TImageGlyph {
    TImagePtr image;            // none for a glyph without pixels
    float advance = 0;
    int rect_x = 0, rect_y = 0, rect_w = 0, rect_h = 0;
};

struct TImageFont;
using TImageFontPtr = std::shared_ptr<TImageFont>;

// A line of the built-in font's glyphs that is drawn again and again, and once it has been
// drawn often enough, its own image: the glyphs' atlas cells side by side.
struct TKeptLine {
    std::u16string glyphs;   // the glyph indices, in order
    int uses = 0;
    uint64_t lastUse = 0;
    TImagePtr image;
    // The rectangle round the image's ink (its texels with alpha), right and bottom edges
    // excluded; empty for a line without ink.
    int inkLeft = 0, inkTop = 0, inkRight = 0, inkBottom = 0;
};

struct TImageFont {
    std::vector<std::shared_ptr<TImageGlyph>> glyphs;
    int src_flags = 0;
    // The built-in font's glyphs side by side in one image, so a line of text is drawn from
    // one texture instead of binding a texture per character (at whole pixels, unscaled and
    // unturned, where it gives the glyphs' own pixels); none for other fonts.
    TImagePtr atlas;
    // The lines of text drawn most recently from the atlas. A software renderer spends far
    // more on many small quads than on one long one with the same pixels, so a line drawn
    // frame after frame (a title, the score between changes) becomes one quad of its own
    // image; a line drawn only a few times, such as a score that changes every frame, stays
    // a quad per glyph and is never made into an image.
    std::vector<TKeptLine> keptLines;
    uint64_t lineUses = 0;
    // The height of a line of text in pixels.
    int Height() const { return 16; }
    // How many glyphs the font has.
    int CountGlyphs() const { return static_cast<int>(glyphs.size()); }
    // The glyph index of a character code; -1 when not drawable.
    int CharToGlyph(int code) const;
    // The glyph at an index; none when it has none.
    std::shared_ptr<TImageGlyph> LoadGlyph(int index);
    // Draws each drawable character as its glyph image at the pen (x, y), moving the pen along
    // the matrix (ix, iy, jx, jy).
    void Draw(const std::u16string& text, float x, float y, float ix, float iy, float jx, float jy);
    // The glyph indices of a line drawn cell by cell from the atlas: every drawable character
    // a whole atlas cell one after the other (no offset, an advance of one cell); empty when not.
    std::u16string AtlasLine(const std::u16string& text);
    // The kept line of these glyphs, counting this use: remembered anew when it is not (in
    // place of the line used least recently), and given its image once used often enough.
    const TKeptLine& UseLine(const std::u16string& line);
    // Gives the kept line its image and the rectangle round its ink.
    void MakeLineImage(TKeptLine& kept);
    // Draws the kept line with its image's frame at the pen.
    void DrawLine(const TKeptLine& kept, TImageFrame& frame, float x, float y);
    // The built-in font, from the embedded "quorbfont.bin".
    static TImageFontPtr CreateDefault();
};

// Draws UTF-8 text with its top-left at (x, y) under the drawing state: the pen starts at the
// handle moved through the matrix.
void DrawText(const std::string& text, float x, float y);
// The width and height of the text in the current font, in pixels.
int TextWidth(const std::string& text);
int TextHeight(const std::string& text);
// The font text is drawn with (none: the built-in font).
void SetImageFont(const TImageFontPtr& font);
TImageFontPtr GetImageFont();

// Registers the built-in font's data, "quorbfont.bin", with the embedded files (once).
void StartFontModule();

// Text is taken as UTF-8 and drawn as 16-bit character codes; codes outside 32..127 are skipped.
// A byte that does not start a well-formed sequence, and a character beyond 16 bits, becomes
// U+FFFD, which no font here draws.
std::u16string ToCharCodes(const std::string& utf8);
