#include "noise.h"

#include <cmath>

uint64_t Rng::Next() {
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Rng::Range(double lo, double hi) {
    double unit = static_cast<double>(Next() >> 11) / 9007199254740992.0;
    return lo + (hi - lo) * unit;
}

double LatticeValue(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x27D4EB2Du;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return static_cast<double>(h) / 4294967296.0;
}

double ValueNoise(double x, double y, uint32_t seed) {
    double fx = std::floor(x), fy = std::floor(y);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    double tx = SmoothStep(0.0, 1.0, x - fx), ty = SmoothStep(0.0, 1.0, y - fy);
    double top = Mix(LatticeValue(ix, iy, seed), LatticeValue(ix + 1, iy, seed), tx);
    double bottom = Mix(LatticeValue(ix, iy + 1, seed), LatticeValue(ix + 1, iy + 1, seed), tx);
    return Mix(top, bottom, ty);
}

double FractalNoise(double x, double y, int octaves, uint32_t seed) {
    double sum = 0.0, weight = 1.0, total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += ValueNoise(x, y, seed + static_cast<uint32_t>(i) * 101u) * weight;
        total += weight;
        x *= 2.0;
        y *= 2.0;
        weight *= 0.5;
    }
    return sum / total;
}

double ClampTo(double v, double lo, double hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

double SmoothStep(double e0, double e1, double v) {
    double t = ClampTo((v - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

double Mix(double a, double b, double t) {
    return a + (b - a) * t;
}
