// The process-wide pseudo-random generator (Park-Miller, multiplier 48271, Schrage's method).
#pragma once

// Restarts the sequence from seed (sign bit cleared; 0 and 2^31 - 1 give the start state 4660).
void SeedRnd(int seed);
// The generator's current state.
int RndSeed();
// A float in [0, 1), one step.
float RndFloat();
// A double in [0, 1), two steps.
double RndDouble();
// A double between the two bounds, in either order; two steps.
double Rnd(double min, double max);
// An int between the two bounds, in either order, two steps; the bound is added before truncating toward zero.
int Rand(int min, int max);
