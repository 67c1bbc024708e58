// Stretching a whole image over four free corners, tinted with the current colour and alpha.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "draw2d/draw.h"
#include "draw2d/poly.h"
#include "game/game.h"
#include "platform/numeric.h"

// The float whose 32-bit pattern is `bits` (a reinterpretation, not a conversion).
float FloatInt(int bits) {
    float value;   // by memcpy: the web's C++ library (libc++ 13) has no std::bit_cast
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Packs a colour as 0xAARRGGBB, alpha scaled to 0..255 and truncated. Components are clamped
// into range first so that no value can spill into a neighbouring byte.
uint32_t packedColour(int red, int green, int blue, float alpha) {
    red = std::clamp(red, 0, 255);
    green = std::clamp(green, 0, 255);
    blue = std::clamp(blue, 0, 255);
    double a = alpha;
    if (!(a >= 0.0)) a = 0.0;   // NaN counts as transparent
    if (a > 1.0) a = 1.0;
    const uint32_t alphaByte = static_cast<uint32_t>(TruncInt(a * 255.0));
    return alphaByte << 24 | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
           static_cast<uint32_t>(blue);
}

// Draws `image` over the quad whose left edge runs (x1, y1)-(x2, y2) and right edge
// (x3, y3)-(x4, y4); the outline is walked 1, 2, 4, 3.
int drawTextPoly(const TImagePtr& image, int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                 int y4) {
    if (!image) return 0;
    int red, green, blue;
    GetColor(&red, &green, &blue);
    const float colour =
        FloatInt(static_cast<int>(packedColour(red, green, blue, GetAlpha())));

    // x, y, z, normal x, y, z, colour, u, v
    const float vertices[36] = {
        float(x1), float(y1), 0.0f, 0.0f, 0.0f, 1.0f, colour, 0.0f, 0.0f,
        float(x2), float(y2), 0.0f, 0.0f, 0.0f, 1.0f, colour, 0.0f, 1.0f,
        float(x4), float(y4), 0.0f, 0.0f, 0.0f, 1.0f, colour, 1.0f, 1.0f,
        float(x3), float(y3), 0.0f, 0.0f, 0.0f, 1.0f, colour, 1.0f, 0.0f,
    };
    TPoly::_Begin();
    TPoly::Draw(image, 0, vertices, 36, POLY_POLYGON, 0);
    TPoly::_End();
    return 0;
}
