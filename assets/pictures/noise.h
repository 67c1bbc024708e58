// A tiny private random generator and value noise: portable results, unlike std::rand and <random>'s
// distributions, so the pictures are byte-identical wherever they are built.
#pragma once

#include <cstdint>

// SplitMix64: a fixed-seed stream of 64-bit values.
struct Rng {
    uint64_t state;
    explicit Rng(uint64_t seed) : state(seed) {}
    // The next 64 random bits.
    uint64_t Next();
    // A double in [lo, hi).
    double Range(double lo, double hi);
};

// A hash of a lattice point, as a double in [0, 1).
double LatticeValue(int x, int y, uint32_t seed);

// Smoothly interpolated lattice values: one unit per lattice cell, result in [0, 1).
double ValueNoise(double x, double y, uint32_t seed);

// Octaves of value noise, each twice the frequency and half the weight of the last; result in [0, 1).
double FractalNoise(double x, double y, int octaves, uint32_t seed);

// Clamps v to [lo, hi].
double ClampTo(double v, double lo, double hi);

// 0 below e0, 1 above e1, a smooth cubic in between.
double SmoothStep(double e0, double e1, double v);

// Linear blend from a (t = 0) to b (t = 1).
double Mix(double a, double b, double t);
