// The process-wide pseudo-random generator (Park-Miller, multiplier 48271, Schrage's method).
#pragma once

void SeedRnd(int seed);
int RndSeed();
float RndFloat();                   // [0, 1), one step
double RndDouble();                 // [0, 1), two steps
double Rnd(double min, double max); // two steps
int Rand(int min, int max);         // two steps; the bound is added before truncating toward zero
