// The desktop icon: the bird seen from above, wings spread, gliding over the noon sea, on a
// rounded tile. The wings and the tail fan wear the game's own wing picture (PaintWing), the
// sea takes the sky's noon and afternoon colours with the light wavelets the game draws, and
// the bird throws a soft shadow on it. Every size is painted afresh from the same shapes with
// many samples per pixel, so even the 32-pixel icon keeps a clean pale bird on blue.
//
//   kestrava_icongen <size> <out.png>     size: 16 to 1024 pixels, RGBA
#include "assets/pictures/noise.h"
#include "assets/pictures/picture.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The shapes are laid out on a 256-unit square.
const double kCanvas = 256.0;
const double kCentre = 128.0;

// A colour with coverage, premultiplied when summed.
struct Colour {
    double r = 0.0, g = 0.0, b = 0.0, a = 0.0;
};

// The feathers, looked up by nearest texel; the magenta below the feather tips is no wing.
struct WingTexture {
    Picture picture = PaintWing();

    // Whether (u, v) (u wraps, v in [0, 1] from leading to trailing edge) lies on a feather;
    // its colour in *c when it does.
    bool At(double u, double v, Colour* c) const {
        int x = static_cast<int>(std::floor(u * picture.width)) % picture.width;
        if (x < 0) x += picture.width;
        int y = static_cast<int>(ClampTo(std::floor(v * picture.height), 0.0, picture.height - 1.0));
        const unsigned char* p = &picture.pixels[(static_cast<size_t>(y) * picture.width + x) * 3];
        if (p[0] == 255 && p[1] == 0 && p[2] == 255) return false;
        c->r = p[0];
        c->g = p[1];
        c->b = p[2];
        c->a = 1.0;
        return true;
    }
};

// One light wavelet on the sea: a flat oval, as the game's wavelets are.
struct Wavelet {
    double x, y, halfWidth, halfHeight, light;
};

std::vector<Wavelet> Wavelets() {
    Rng rng(0x5345414Cull);
    std::vector<Wavelet> out;
    for (int i = 0; i < 70; ++i) {
        Wavelet w;
        w.x = rng.Range(0.0, kCanvas);
        w.y = rng.Range(0.0, kCanvas);
        w.halfWidth = rng.Range(4.0, 9.0);
        w.halfHeight = rng.Range(1.0, 1.8);
        w.light = rng.Range(0.25, 0.6);
        out.push_back(w);
    }
    return out;
}

// The rounded tile the icon sits on: inside when true.
bool OnTile(double x, double y) {
    const double margin = 8.0, radius = 44.0;
    double lo = margin + radius, hi = kCanvas - margin - radius;
    double dx = x < lo ? lo - x : (x > hi ? x - hi : 0.0);
    double dy = y < lo ? lo - y : (y > hi ? y - hi : 0.0);
    if (x < margin || x > kCanvas - margin || y < margin || y > kCanvas - margin) return false;
    return dx * dx + dy * dy <= radius * radius;
}

// The span of the right wing at distance t (0 at the body, 1 at the tip) and its leading and
// trailing edges there; the left wing is its mirror. The leading edge rises to the wrist and
// sweeps back to a narrow tip, as the game's wing pieces do.
const double kWingRoot = 10.0, kWingTip = 116.0;
double LeadingEdge(double t) {
    return t < 0.38 ? Mix(104.0, 92.0, SmoothStep(0.0, 1.0, t / 0.38))
                    : Mix(92.0, 132.0, SmoothStep(0.0, 1.0, (t - 0.38) / 0.62));
}
double TrailingEdge(double t) {
    return t < 0.38 ? Mix(156.0, 150.0, t / 0.38) : Mix(150.0, 140.0, SmoothStep(0.0, 1.0, (t - 0.38) / 0.62));
}

// Whether (x, y) lies on either wing; the feather colour in *c when it does.
bool OnWing(const WingTexture& texture, double x, double y, Colour* c) {
    double side = std::fabs(x - kCentre);
    if (side < kWingRoot || side > kWingTip) return false;
    double t = (side - kWingRoot) / (kWingTip - kWingRoot);
    double lead = LeadingEdge(t), trail = TrailingEdge(t);
    // The tip is rounded off: the last stretch narrows to nothing.
    if (t > 0.9) {
        double k = (t - 0.9) / 0.1;
        double middle = (lead + trail) / 2.0, half = (trail - lead) / 2.0 * std::sqrt(ClampTo(1.0 - k * k, 0.0, 1.0));
        lead = middle - half;
        trail = middle + half;
    }
    if (y < lead || y > trail) return false;
    double v = (y - lead) / (TrailingEdge(t) - LeadingEdge(t));
    // Three lengths of the feather picture along each wing, as the game's three pieces have.
    if (!texture.At(t * 3.0, v, c)) return false;
    // A faint darker rim along the leading edge keeps the outline crisp when small.
    double rim = 1.0 - 0.18 * (1.0 - SmoothStep(0.0, 3.0, y - lead));
    c->r *= rim;
    c->g *= rim;
    c->b *= rim;
    return true;
}

// Whether (x, y) lies on the fanned tail; its colour in *c when it does.
bool OnTail(const WingTexture& texture, double x, double y, Colour* c) {
    const double apexY = 150.0, baseY = 200.0, halfBase = 24.0;
    if (y < apexY || y > baseY) return false;
    double v = (y - apexY) / (baseY - apexY);
    double half = 5.0 + (halfBase - 5.0) * v;
    double dx = x - kCentre;
    if (std::fabs(dx) > half) return false;
    return texture.At(0.5 + dx / (2.0 * halfBase), 0.35 + 0.65 * v, c);
}

// The pale body, the grey head with its dark eyes, and the white spine.
bool OnBody(double x, double y, Colour* c) {
    double dx = x - kCentre;
    double hx = dx / 7.5, hy = (y - 86.0) / 8.5;
    if (hx * hx + hy * hy <= 1.0) {
        bool eye = std::pow(std::fabs(dx) - 3.6, 2) + std::pow(y - 83.0, 2) <= 2.2 * 2.2;
        double grey = eye ? 20.0 : 140.0 - 25.0 * (hx * hx + hy * hy);
        *c = {grey, grey, grey, 1.0};
        return true;
    }
    double bx = dx / 12.0, by = (y - 122.0) / 34.0;
    double r = bx * bx + by * by;
    if (r > 1.0) return false;
    double shade = 236.0 - 34.0 * r;
    if (std::fabs(dx) < 1.2 && y > 96.0 && y < 150.0) shade = 252.0;   // the spine
    *c = {shade, shade, shade, 1.0};
    return true;
}

// Whether the bird covers (x, y): what its shadow falls from.
bool OnBird(const WingTexture& texture, double x, double y) {
    Colour ignored;
    return OnBody(x, y, &ignored) || OnWing(texture, x, y, &ignored) || OnTail(texture, x, y, &ignored);
}

// The noon sea: the sky colour from light at the top to deep at the bottom, gently mottled,
// with light wavelets; a little island lies in the lower right corner.
Colour Sea(const std::vector<Wavelet>& waves, double x, double y) {
    double depth = y / kCanvas;
    double mottle = FractalNoise(x / 48.0, y / 48.0, 3, 23u) - 0.5;
    Colour c{Mix(52.0, 22.0, depth) + 30.0 * mottle, Mix(150.0, 86.0, depth) + 30.0 * mottle,
             Mix(226.0, 178.0, depth) + 24.0 * mottle, 1.0};
    double land = FractalNoise(x / 40.0, y / 40.0, 4, 31u);
    double reach = std::hypot(x - 250.0, y - 250.0) / 78.0 + 0.45 * (land - 0.5);
    if (reach < 1.0) {
        double green = FractalNoise(x / 14.0, y / 14.0, 3, 37u);
        if (reach > 0.88) {
            c = {214.0, 200.0, 150.0, 1.0};   // the beach
        } else {
            c = {Mix(40.0, 96.0, green), Mix(96.0, 150.0, green), Mix(38.0, 60.0, green), 1.0};
        }
        return c;
    }
    for (const Wavelet& w : waves) {
        double dx = (x - w.x) / w.halfWidth, dy = (y - w.y) / w.halfHeight;
        if (dx * dx + dy * dy <= 1.0) {
            c.r = Mix(c.r, 235.0, w.light);
            c.g = Mix(c.g, 245.0, w.light);
            c.b = Mix(c.b, 255.0, w.light);
            break;
        }
    }
    return c;
}

// The icon's colour at one point of the canvas.
Colour Sample(const WingTexture& texture, const std::vector<Wavelet>& waves, double x, double y) {
    if (!OnTile(x, y)) return {};
    Colour c;
    if (OnBody(x, y, &c) || OnWing(texture, x, y, &c) || OnTail(texture, x, y, &c)) return c;
    c = Sea(waves, x, y);
    // The shadow lies down and to the right of the bird: the sun is high on the left.
    if (OnBird(texture, x - 9.0, y - 12.0)) {
        c.r *= 0.55;
        c.g *= 0.6;
        c.b *= 0.7;
    }
    return c;
}

Picture PaintIcon(int size) {
    WingTexture texture;
    std::vector<Wavelet> waves = Wavelets();
    // About a thousand units of samples across, whatever the size.
    int perSide = (1024 + size - 1) / size;
    if (perSide < 3) perSide = 3;
    double unit = kCanvas / size;
    Picture picture = BlankPicture(size, size, 4);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            Colour sum;
            for (int sy = 0; sy < perSide; ++sy) {
                for (int sx = 0; sx < perSide; ++sx) {
                    double x = (px + (sx + 0.5) / perSide) * unit;
                    double y = (py + (sy + 0.5) / perSide) * unit;
                    Colour c = Sample(texture, waves, x, y);
                    sum.r += c.r * c.a;
                    sum.g += c.g * c.a;
                    sum.b += c.b * c.a;
                    sum.a += c.a;
                }
            }
            if (sum.a > 0.0) {
                SetPixel(picture, px, py, sum.r / sum.a, sum.g / sum.a, sum.b / sum.a,
                         255.0 * sum.a / (perSide * perSide));
            }
        }
    }
    return picture;
}

}  // namespace

int main(int argc, char** argv) {
    int size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "usage: kestrava_icongen <size 16..1024> <out.png>\n");
        return 2;
    }
    if (!WritePng(PaintIcon(size), argv[2])) {
        std::fprintf(stderr, "kestrava_icongen: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
