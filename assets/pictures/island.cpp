// The island seen from above: a noise-shaped coastline with a bay, a beach ring, meadows and
// woods in varied greens, hills shaded from the north-west with a rocky ridge, a lake with a
// river to the sea, and boulders on the shore. Everything off the island is pure white, which
// the game's mask colour removes; nothing on it is pure white.
#include "noise.h"
#include "picture.h"

#include <cmath>
#include <vector>

namespace {

const int kSize = 512;

struct Colour {
    double r, g, b;
};

Colour Blend(Colour a, Colour b, double t) {
    return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)};
}

// Height above the sea: positive on the island, zero at the coast.
double LandHeight(double x, double y) {
    double wx = x + 70.0 * (FractalNoise(x / 150.0, y / 150.0, 4, 21u) - 0.5);
    double wy = y + 70.0 * (FractalNoise(x / 150.0, y / 150.0, 4, 22u) - 0.5);
    double dx = (wx - 250.0) / 200.0, dy = (wy - 262.0) / 170.0;
    double h = 1.0 - std::sqrt(dx * dx + dy * dy);
    h += 0.45 * (FractalNoise(x / 95.0, y / 95.0, 5, 23u) - 0.5);
    h += 0.16 * (FractalNoise(x / 28.0, y / 28.0, 3, 24u) - 0.5);
    // A headland reaching out to the north-east.
    double px = x - 426.0, py = y - 128.0;
    h += 0.7 * (1.0 - SmoothStep(0.0, 64.0, std::sqrt(px * px * 0.6 + py * py * 1.8)));
    // A bay biting into the south-east shore.
    double bx = x - 368.0, by = y - 372.0;
    h -= 0.55 * (1.0 - SmoothStep(0.0, 62.0, std::sqrt(bx * bx + by * by)));
    // The sea all along the picture's border.
    double edge = std::fmax(std::fabs(x - 256.0), std::fabs(y - 256.0)) / 256.0;
    h -= 2.0 * SmoothStep(0.82, 0.96, edge);
    return h;
}

// Elevation of the relief on land: rising inland, lifted further along a winding ridge.
double Elevation(double x, double y, double h) {
    double n = FractalNoise(x / 110.0, y / 110.0, 5, 31u);
    double ridge = 1.0 - std::fabs(2.0 * n - 1.0);
    ridge = ridge * ridge * ridge;
    double hills = FractalNoise(x / 45.0, y / 45.0, 4, 32u);
    return h * (0.5 + 1.1 * ridge) + 0.12 * hills * SmoothStep(0.0, 0.15, h);
}

// Distance from (x, y) to the segment from a to b.
double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
    double ex = bx - ax, ey = by - ay;
    double t = ClampTo(((x - ax) * ex + (y - ay) * ey) / (ex * ex + ey * ey), 0.0, 1.0);
    double dx = x - ax - ex * t, dy = y - ay - ey * t;
    return std::sqrt(dx * dx + dy * dy);
}

const double kLakeX = 200.0, kLakeY = 236.0;

// The river's course from the lake down to the bay, as a meandering polyline.
std::vector<double> RiverCourse() {
    Rng rng(0x52495645ull);
    std::vector<double> points;
    const double endX = 352.0, endY = 356.0;
    const int steps = 14;
    for (int i = 0; i <= steps; ++i) {
        double t = static_cast<double>(i) / steps;
        double wobble = (i == 0 || i == steps) ? 0.0 : rng.Range(-9.0, 9.0);
        // Sideways to the course, which runs to the south-east.
        points.push_back(Mix(kLakeX, endX, t) + wobble * 0.7);
        points.push_back(Mix(kLakeY, endY, t) - wobble * 0.7);
    }
    return points;
}

// How far (x, y) lies inside the lake (positive) or outside it (negative), in pixels.
double LakeDepth(double x, double y) {
    double wobble = 10.0 * (FractalNoise(x / 20.0, y / 20.0, 3, 41u) - 0.5);
    double dx = (x - kLakeX) / 1.4, dy = y - kLakeY;
    return 20.0 + wobble - std::sqrt(dx * dx + dy * dy);
}

// The land's height and relief, sampled at every pixel's centre, row by row.
struct TLand {
    std::vector<double> height, relief;
};

TLand SurveyLand() {
    TLand land{std::vector<double>(kSize * kSize), std::vector<double>(kSize * kSize)};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            double h = LandHeight(x + 0.5, y + 0.5);
            land.height[y * kSize + x] = h;
            land.relief[y * kSize + x] = h > 0.0 ? Elevation(x + 0.5, y + 0.5, h) : 0.0;
        }
    }
    return land;
}

// Boulders along the shore, as x, y and radius in turn.
std::vector<double> ShoreRocks() {
    Rng rockRng(0x524F434Bull);
    std::vector<double> rocks;
    for (int tries = 0; tries < 4000 && rocks.size() < 3 * 16; ++tries) {
        double rx = rockRng.Range(20.0, 492.0), ry = rockRng.Range(20.0, 492.0), rr = rockRng.Range(1.6, 3.2);
        double h = LandHeight(rx, ry);
        if (h > 0.012 && h < 0.04) rocks.insert(rocks.end(), {rx, ry, rr});
    }
    return rocks;
}

// The vegetation noise at a point: where woods grow, and the texture of their canopy.
struct TCover {
    double grow, canopy;
};

// The ground at a point of land h high with relief e: meadow, woods, heath and rock by
// elevation, then sand and wet sand down to the coast.
Colour GroundColour(double px, double py, double h, double e, TCover cover) {
    const Colour wetSand{190, 172, 128}, sand{228, 212, 160}, meadow{138, 184, 86}, wood{56, 116, 50};
    const Colour heath{118, 132, 78}, rock{148, 138, 120};
    Colour ground = Blend(meadow, Colour{112, 166, 74}, FractalNoise(px / 18.0, py / 18.0, 3, 53u));
    Colour trees = Blend(wood, Colour{40, 96, 44}, cover.canopy);
    ground = Blend(ground, trees, SmoothStep(0.50, 0.58, cover.grow));
    ground = Blend(ground, heath, SmoothStep(0.62, 0.82, e));
    ground = Blend(ground, Blend(rock, Colour{120, 112, 100}, cover.canopy), SmoothStep(0.88, 1.02, e));
    Colour c = Blend(ground, sand, 1.0 - SmoothStep(0.035, 0.06, h));
    return Blend(c, wetSand, 1.0 - SmoothStep(0.004, 0.014, h));
}

// Fresh water, kept well inside the shore: the lake and the river take the point's colour in
// *c and make it wet; their reedy banks only tint it.
bool Freshwater(const std::vector<double>& river, double px, double py, Colour* c) {
    const Colour water{66, 128, 184}, shallow{120, 172, 196};
    double lake = LakeDepth(px, py);
    double riverDist = 1e9;
    for (size_t i = 0; i + 3 < river.size(); i += 2) {
        riverDist = std::fmin(riverDist, SegmentDistance(px, py, river[i], river[i + 1], river[i + 2], river[i + 3]));
    }
    double riverWidth = 1.6 + 2.2 * SmoothStep(kLakeY, 356.0, py);
    if (lake > 0.0 || riverDist < riverWidth) {
        double depth = lake > 0.0 ? lake : riverWidth - riverDist;
        *c = Blend(shallow, water, SmoothStep(0.0, 6.0, depth));
        return true;
    }
    if (lake > -2.0 || riverDist < riverWidth + 1.5) *c = Blend(*c, Colour{96, 120, 70}, 0.6);
    return false;
}

// A boulder's stone where one lies on the point, each lit from the north-west.
Colour Boulders(const std::vector<double>& rocks, double px, double py, Colour c) {
    for (size_t i = 0; i < rocks.size(); i += 3) {
        double dx = px - rocks[i], dy = py - rocks[i + 1];
        double d = std::sqrt(dx * dx + dy * dy);
        if (d < rocks[i + 2]) {
            double lit = 1.0 - 0.35 * ClampTo((dx + dy) / (2.0 * rocks[i + 2]) + 0.5, 0.0, 1.0);
            c = {150 * lit, 146 * lit, 138 * lit};
        }
    }
    return c;
}

// The light on dry land from the slope of the relief, darker in the woods' canopy.
double ReliefShade(const TLand& land, int x, int y, TCover cover) {
    const double lightX = -0.55, lightY = -0.55, lightZ = 0.63;
    int x0 = x > 0 ? x - 1 : x, x1 = x < kSize - 1 ? x + 1 : x;
    int y0 = y > 0 ? y - 1 : y, y1 = y < kSize - 1 ? y + 1 : y;
    double gx = (land.relief[y * kSize + x1] - land.relief[y * kSize + x0]) * 90.0;
    double gy = (land.relief[y1 * kSize + x] - land.relief[y0 * kSize + x]) * 90.0;
    double n = std::sqrt(gx * gx + gy * gy + 1.0);
    double lit = (-gx * lightX - gy * lightY + lightZ) / n;
    double shade = ClampTo(0.30 + 0.70 * lit / lightZ, 0.55, 1.25);
    return shade * (1.0 - 0.10 * (cover.canopy - 0.5) * SmoothStep(0.50, 0.58, cover.grow));
}

}  // namespace

Picture PaintIsland() {
    const TLand land = SurveyLand();
    const std::vector<double> river = RiverCourse();
    const std::vector<double> rocks = ShoreRocks();
    Picture picture = BlankPicture(kSize, kSize, 3);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            double h = land.height[y * kSize + x];
            if (h <= 0.0) {
                SetPixel(picture, x, y, 255.0, 255.0, 255.0);
                continue;
            }
            double px = x + 0.5, py = y + 0.5;
            TCover cover{FractalNoise(px / 38.0, py / 38.0, 4, 51u), ValueNoise(px / 2.5, py / 2.5, 52u)};
            Colour c = GroundColour(px, py, h, land.relief[y * kSize + x], cover);
            bool wet = Freshwater(river, px, py, &c);
            if (!wet) c = Boulders(rocks, px, py, c);
            double shade = wet ? 1.0 : ReliefShade(land, x, y, cover);
            double fine = 1.0 + 0.06 * (ValueNoise(px / 1.5, py / 1.5, 61u) - 0.5);
            shade *= fine;
            SetPixel(picture, x, y, std::fmin(c.r * shade, 254.0), std::fmin(c.g * shade, 254.0),
                     std::fmin(c.b * shade, 254.0));
        }
    }
    return picture;
}
