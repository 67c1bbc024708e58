// The process-wide Park-Miller generator (multiplier 48271), stepped with Schrage's method
// so no intermediate value leaves the signed 32-bit range.
#include "platform/rng.h"

#include "platform/numeric.h"

namespace {

constexpr int kA = 48271;
constexpr int kM = 2147483647;
constexpr int kQ = kM / kA;   // 44488
constexpr int kR = kM % kA;   // 3399
constexpr int kStartState = 0x1234;

int rndState = kStartState;

// One step of the generator: rndState = (48271 * rndState) mod (2^31 - 1).
void Step() {
    int q = rndState / kQ;
    int m = rndState - q * kQ;
    rndState = kA * m - kR * q;
    if (rndState < 0) rndState += kM;
}

}  // namespace

// Sets the state from seed with the sign bit cleared; the two fixed points fall back to 4660.
void SeedRnd(int seed) {
    rndState = seed & 0x7fffffff;
    if (rndState == 0 || rndState == kM) rndState = kStartState;
}

int RndSeed() { return rndState; }

float RndFloat() {
    Step();
    return static_cast<float>((rndState & 0x0ffffff0) / 268435456.0);
}

double RndDouble() {
    Step();
    int h = rndState & 0x1ffffffc;
    Step();
    int l = rndState & 0x1ffffff8;
    return (h + l / 134217728.0) / 536870912.0;
}

double Rnd(double min, double max) {
    double r = RndDouble();
    if (max > min) return r * (max - min) + min;
    return r * (min - max) + max;
}

// An int from the smaller to the larger bound. The bound is added before truncating toward
// zero, so intervals reaching below zero round their negative part up.
int Rand(int min, int max) {
    double range = static_cast<double>(max) - static_cast<double>(min);
    double r = RndDouble();
    if (range > 0) return TruncInt(r * (range + 1) + min);
    return TruncInt(r * (1 - range) + max);
}
