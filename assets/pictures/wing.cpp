// The wing texture. The bird stretches it over each wing piece with the image's top along the
// leading edge and its bottom along the trailing edge, so feathers run down the picture: rows of
// coverts near the top, long flight feathers below, and magenta under the ragged feather tips,
// which the mask colour removes. The pattern repeats across the width so the pieces join.
#include "noise.h"
#include "picture.h"

#include <cmath>
#include <vector>

namespace {

const int kSize = 256;

struct Feather {
    double baseX, baseY, tipX, tipY;
    double halfWidth;
    double shaft;      // offset of the shaft from the centre line, in pixels
    double r, g, b;    // colour of the vane
    bool flight;       // a long flight feather, with a slightly darker tip
};

// Where a point lies relative to a feather, in the feather's own frame.
struct Hit {
    bool inside = false;
    double along = 0.0;   // distance from the base along the feather
    double across = 0.0;  // signed distance from the centre line
    double edge = 0.0;    // inside: distance to the outline; outside: distance beyond it
};

// Locates (x, y) against the feather, with the outline rounded at the tip.
Hit Locate(const Feather& f, double x, double y) {
    Hit hit;
    double ax = f.tipX - f.baseX, ay = f.tipY - f.baseY;
    double length = std::sqrt(ax * ax + ay * ay);
    ax /= length;
    ay /= length;
    double px = x - f.baseX, py = y - f.baseY;
    hit.along = px * ax + py * ay;
    hit.across = px * ay - py * ax;
    hit.edge = 1e9;
    if (hit.along < 0.0 || hit.along > length) return hit;
    double round = f.halfWidth * (f.flight ? 2.0 : 1.2);
    double half = f.halfWidth;
    if (hit.along > length - round) {
        double k = (hit.along - (length - round)) / round;
        half = f.halfWidth * std::sqrt(ClampTo(1.0 - k * k, 0.0, 1.0));
    }
    hit.inside = std::fabs(hit.across) < half;
    hit.edge = std::fabs(std::fabs(hit.across) - half);
    return hit;
}

// One row of feathers across the whole width, evenly spaced so the row repeats seamlessly.
void AddRow(std::vector<Feather>& feathers, Rng& rng, int count, double offset, double baseY, double tipY,
            double tipJitter, double halfWidth, double slant, bool flight) {
    double spacing = static_cast<double>(kSize) / count;
    // Outer feathers first, so each inner one lies over its outer neighbour.
    for (int i = count - 1; i >= 0; --i) {
        Feather f;
        f.baseX = offset + i * spacing + rng.Range(-1.5, 1.5);
        f.baseY = baseY + rng.Range(-4.0, 4.0);
        f.tipY = tipY + rng.Range(0.0, tipJitter);
        f.tipX = f.baseX + slant;
        f.halfWidth = halfWidth * rng.Range(0.95, 1.05);
        f.shaft = -0.25 * halfWidth;
        double cream = rng.Range(0.0, 1.0);
        double grey = flight ? 0.6 : 0.15;
        f.r = Mix(Mix(247.0, 238.0, cream), 224.0, grey);
        f.g = Mix(Mix(243.0, 236.0, cream), 227.0, grey);
        f.b = Mix(Mix(230.0, 236.0, cream), 233.0, grey);
        f.flight = flight;
        feathers.push_back(f);
    }
}

// The feathers from the trailing edge up to the leading edge, in drawing order.
std::vector<Feather> WingFeathers() {
    Rng rng(0x57494E47ull);
    std::vector<Feather> feathers;
    AddRow(feathers, rng, 7, 0.0, 60.0, 226.0, 22.0, 24.0, 40.0, true);     // flight feathers
    AddRow(feathers, rng, 7, 18.0, 0.0, 122.0, 14.0, 22.0, 18.0, false);    // greater coverts
    AddRow(feathers, rng, 9, 6.0, -30.0, 64.0, 10.0, 17.0, 8.0, false);     // lesser coverts
    AddRow(feathers, rng, 12, 10.0, -40.0, 24.0, 8.0, 12.0, 4.0, false);    // marginal coverts
    return feathers;
}

// The shade of a feather at a point inside it: rounded vanes, faint barbs, a shaft, a dark rim.
double FeatherShade(const Feather& f, const Hit& hit) {
    double length = std::sqrt((f.tipX - f.baseX) * (f.tipX - f.baseX) + (f.tipY - f.baseY) * (f.tipY - f.baseY));
    double s = std::fabs(hit.across - f.shaft);
    double q = ClampTo(s / f.halfWidth, 0.0, 1.4);
    double shade = 1.0 - 0.10 * q * q;
    double phase = (hit.along * 0.55 + s) / 7.0;
    double barb = std::fabs(2.0 * (phase - std::floor(phase)) - 1.0);
    shade *= 1.0 - 0.025 * barb;
    double shaft = (1.0 - SmoothStep(1.0, 2.4, s)) * (1.0 - SmoothStep(0.75, 0.95, hit.along / length));
    shade *= 1.0 - 0.22 * shaft;
    shade *= 1.0 - (f.flight ? 0.34 : 0.28) * (1.0 - SmoothStep(0.0, 8.0, hit.edge));
    shade *= 1.0 - 0.06 * (hit.along / length);
    if (f.flight) shade *= 1.0 - 0.12 * SmoothStep(0.78, 0.98, hit.along / length);
    return shade;
}

}  // namespace

Picture PaintWing() {
    std::vector<Feather> feathers = WingFeathers();
    Picture picture = BlankPicture(kSize, kSize, 3);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const Feather* top = nullptr;
            Hit topHit;
            double shadow = 0.0;
            for (const Feather& f : feathers) {
                // The copies one width to each side make the pattern wrap around.
                for (int copy = -1; copy <= 1; ++copy) {
                    Hit hit = Locate(f, x + 0.5 - copy * kSize, y + 0.5);
                    if (hit.inside) {
                        top = &f;
                        topHit = hit;
                        shadow = 0.0;
                    } else if (hit.edge < 6.0) {
                        shadow = std::fmax(shadow, 1.0 - hit.edge / 6.0);
                    }
                }
            }
            if (!top) {
                if (y < 200) {
                    SetPixel(picture, x, y, 200.0, 196.0, 188.0);  // down showing between coverts
                } else {
                    SetPixel(picture, x, y, 255.0, 0.0, 255.0);    // masked away
                }
                continue;
            }
            double shade = FeatherShade(*top, topHit);
            shade *= 1.0 - 0.22 * shadow * std::sqrt(shadow);
            shade *= 1.0 - 0.05 * (y / static_cast<double>(kSize));
            shade = std::fmax(shade, 0.62);  // the darkest creases stay light grey: a pale wing
            SetPixel(picture, x, y, top->r * shade, top->g * shade, top->b * shade);
        }
    }
    return picture;
}
