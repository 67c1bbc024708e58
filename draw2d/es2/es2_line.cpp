// A line along its major axis runs from end to end, half its width either side across; an end
// is moved half a pixel along the line where the diamond-exit rule and the end's place in its
// pixel disagree on whether the end's pixel is lit.
#include "draw2d/es2/es2_line.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Zero (either zero) counts as positive, as in the rasteriser.
float Sign(float v) { return v >= 0 ? 1.0f : -1.0f; }

float Frac(float v) { return v - std::floor(v); }

// How far each end sits from its pixel's centre.
struct TEndOffsets {
    float x1, y1, x2, y2;
};

TEndOffsets Offsets(TES2Point a, TES2Point b) {
    return {a.x - std::floor(a.x) - 0.5f, a.y - std::floor(a.y) - 0.5f, b.x - std::floor(b.x) - 0.5f,
            b.y - std::floor(b.y) - 0.5f};
}

// A line wider than it is tall. d is the first end less the second.
void XMajor(TES2Point a, TES2Point b, float half, TES2Point c[4]) {
    const float dx = a.x - b.x, dy = a.y - b.y, dydx = dy / dx;
    TEndOffsets o = Offsets(a, b);
    if (o.y2 == -0.5f && dy < 0) o.y2 = 0.5f;
    bool drawStart, drawEnd;
    if (std::fabs(o.x1) + std::fabs(o.y1) < 0.5f) drawStart = true;
    else if (Sign(o.x1) == Sign(-dx)) drawStart = false;
    else if (Sign(-o.y1) != Sign(dy)) drawStart = true;
    else drawStart = Frac(a.y) + o.x1 * dydx < 1.0f && Frac(a.y) + o.x1 * dydx > 0.0f;
    if (std::fabs(o.x2) + std::fabs(o.y2) < 0.5f) drawEnd = false;
    else if (Sign(o.x2) != Sign(-dx)) drawEnd = false;
    else if (Sign(-o.y2) == Sign(dy)) drawEnd = true;
    else drawEnd = Frac(b.y) + o.x2 * dydx < 1.0f && Frac(b.y) + o.x2 * dydx > 0.0f;
    const bool willStart = Sign(-o.x1) != Sign(dx);
    const bool willEnd = Sign(o.x2) == Sign(-dx) || o.x2 == 0;
    const float step = dx < 0 ? -0.5f : 0.5f;
    float shiftA = willStart != drawStart ? -o.x1 + step : 0, shiftB = willEnd != drawEnd ? -o.x2 + step : 0;
    if (dx < 0) {
        std::swap(a, b);
        std::swap(shiftA, shiftB);
    }
    c[0] = {a.x + shiftA, a.y + shiftA * dydx - half};
    c[1] = {b.x + shiftB, b.y + shiftB * dydx - half};
    c[2] = {b.x + shiftB, b.y + shiftB * dydx + half};
    c[3] = {a.x + shiftA, a.y + shiftA * dydx + half};
}

// A line taller than it is wide.
void YMajor(TES2Point a, TES2Point b, float half, TES2Point c[4]) {
    const float dx = a.x - b.x, dy = a.y - b.y, dxdy = dx / dy;
    TEndOffsets o = Offsets(a, b);
    if (o.x2 == -0.5f && dx < 0) o.x2 = 0.5f;
    bool drawStart, drawEnd;
    if (std::fabs(o.x1) + std::fabs(o.y1) < 0.5f) drawStart = true;
    else if (Sign(-o.y1) == Sign(dy)) drawStart = false;
    else if (Sign(o.x1) != Sign(-dx)) drawStart = true;
    else drawStart = Frac(a.x) + o.y1 * dxdy < 1.0f && Frac(a.x) + o.y1 * dxdy > 0.0f;
    if (std::fabs(o.x2) + std::fabs(o.y2) < 0.5f) drawEnd = false;
    else if (Sign(-o.y2) != Sign(dy)) drawEnd = false;
    else if (Sign(o.x2) == Sign(-dx)) drawEnd = true;
    else drawEnd = Frac(b.x) + o.y2 * dxdy < 1.0f && Frac(b.x) + o.y2 * dxdy >= 0.0f;
    const bool willStart = Sign(o.y1) == Sign(dy);
    const bool willEnd = Sign(-o.y2) == Sign(dy) || o.y2 == 0;
    const float step = dy > 0 ? 0.5f : -0.5f;
    float shiftA = willStart != drawStart ? -o.y1 + step : 0, shiftB = willEnd != drawEnd ? -o.y2 + step : 0;
    if (dy > 0) {
        std::swap(a, b);
        std::swap(shiftA, shiftB);
    }
    c[0] = {a.x + shiftA * dxdy - half, a.y + shiftA};
    c[1] = {b.x + shiftB * dxdy - half, b.y + shiftB};
    c[2] = {b.x + shiftB * dxdy + half, b.y + shiftB};
    c[3] = {a.x + shiftA * dxdy + half, a.y + shiftA};
}

}  // namespace

bool ES2LineCorners(TES2Point a, TES2Point b, float width, TES2Point corners[4]) {
    const float dx = a.x - b.x, dy = a.y - b.y;
    if (dx == 0 && dy == 0) return false;
    const float half = static_cast<float>(std::max(1L, std::lround(std::max(width, 1.0f)))) * 0.5f;
    if (std::fabs(dx) >= std::fabs(dy))
        XMajor(a, b, half, corners);
    else
        YMajor(a, b, half, corners);
    return true;
}
