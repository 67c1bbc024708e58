#include "assets/music/synth.h"

#include "platform/numeric.h"

#include <array>
#include <stdexcept>

namespace {

constexpr int kTableBits = 12;
constexpr int kTableSize = 1 << kTableBits;
constexpr double kTwoTo32 = 4294967296.0;

// sin(x) for |x| <= pi/2 by its Taylor series (exact to double precision there).
double TaylorSine(double x) {
    double term = x;
    double sum = x;
    for (int k = 1; k < 14; ++k) {
        term = -term * x * x / ((2.0 * k) * (2.0 * k + 1.0));
        sum += term;
    }
    return sum;
}

// One full sine period, plus a guard entry for interpolation.
const std::array<double, kTableSize + 1>& SineTable() {
    static const std::array<double, kTableSize + 1> table = [] {
        std::array<double, kTableSize + 1> t{};
        const double pi = 3.14159265358979323846;
        const int quarter = kTableSize / 4;
        for (int i = 0; i <= quarter; ++i) t[i] = TaylorSine(2.0 * pi * i / kTableSize);
        for (int i = 0; i <= quarter; ++i) t[2 * quarter - i] = t[i];
        for (int i = 1; i < 2 * quarter; ++i) t[2 * quarter + i] = -t[i];
        t[kTableSize] = 0.0;
        return t;
    }();
    return table;
}

// The sine of a 32-bit phase (a full turn is 2^32), linearly interpolated.
double SinePhase(uint32_t phase) {
    const auto& t = SineTable();
    const uint32_t i = phase >> (32 - kTableBits);
    const double frac = (phase & ((1u << (32 - kTableBits)) - 1)) / double(1u << (32 - kTableBits));
    return t[i] + (t[i + 1] - t[i]) * frac;
}

// The phase step of a frequency, in 2^-32 turns per frame.
uint32_t PhaseStep(double hz) {
    return static_cast<uint32_t>(TruncInt(hz / kRate * kTwoTo32 + 0.5));
}

// A smooth 0 -> 1 rise over u in [0, 1] with flat ends, so notes never click.
double Smooth(double u) {
    if (u <= 0.0) return 0.0;
    if (u >= 1.0) return 1.0;
    return u * u * (3.0 - 2.0 * u);
}

// Left and right gains of a pan position, at constant power.
void PanGains(double pan, double& left, double& right) {
    const double angle = (pan + 1.0) / 8.0;  // 0 ... a quarter turn
    left = SineTurns(angle + 0.25);
    right = SineTurns(angle);
}

// One channel of a note: the partials under the envelope, `detune` as a frequency factor.
std::vector<double> RenderVoice(const Tone& tone, int gateFrames, double hz, double detune) {
    const int attackFrames = TruncInt(tone.attack * kRate) + 1;
    const int releaseFrames = TruncInt(tone.release * kRate) + 1;
    const int frames = gateFrames + releaseFrames;
    std::vector<double> out(frames, 0.0);

    for (const Partial& p : tone.partials) {
        const double f = hz * detune * p.ratio;
        if (f * (1.0 + tone.vibratoDepth) >= kHighestPartial) continue;
        // Partials near the top fade out rather than stop at a hard edge.
        const double edge = f > 7000.0 ? (kHighestPartial - f) / (kHighestPartial - 7000.0) : 1.0;
        const double fall = p.decay > 0 ? Exp(-1.0 / (p.decay * kRate)) : 1.0;
        const double step = f / kRate * kTwoTo32;
        double level = p.level * edge;
        uint32_t phase = 0;
        for (int i = 0; i < frames; ++i) {
            out[i] += level * SinePhase(phase);
            level *= fall;
            if (tone.vibratoDepth > 0) {
                const double t = double(i) / kRate;
                const double depth = tone.vibratoDepth * Smooth(t / tone.vibratoDelay);
                const double wobble = 1.0 + depth * SineTurns(tone.vibratoHz * t);
                phase += static_cast<uint32_t>(TruncInt(step * wobble + 0.5));
            } else {
                phase += PhaseStep(f);
            }
        }
    }
    for (int i = 0; i < frames; ++i) {
        const double rise = Smooth(double(i) / attackFrames);
        const double fall = 1.0 - Smooth(double(i - gateFrames) / releaseFrames);
        out[i] *= rise * fall;
    }
    return out;
}

// Adds `voice` times `gain` into one channel from frame `start` on.
void Mix(std::vector<double>& channel, const std::vector<double>& voice, int start, double gain,
         int& lastFrame) {
    for (size_t i = 0; i < voice.size(); ++i) {
        const size_t at = start + i;
        if (at < channel.size()) channel[at] += voice[i] * gain;
    }
    const int end = start + static_cast<int>(voice.size());
    if (end > lastFrame) lastFrame = end;
}

}  // namespace

Stereo SilentPiece(int endFrame) {
    if (endFrame <= 0 || endFrame > kPieceFrames) throw std::runtime_error("bad loop length");
    Stereo s;
    s.endFrame = endFrame;
    s.left.assign(kPieceFrames, 0.0);
    s.right.assign(kPieceFrames, 0.0);
    return s;
}

double SineTurns(double turns) {
    const double whole = static_cast<double>(TruncInt(turns));
    double frac = turns - whole;
    if (frac < 0) frac += 1.0;
    // The 32-bit phase in two 16-bit halves, each a plain truncation.
    const int high = TruncInt(frac * 65536.0);
    const int low = TruncInt((frac * 65536.0 - high) * 65536.0);
    return SinePhase((static_cast<uint32_t>(high & 0xffff) << 16) | static_cast<uint32_t>(low));
}

double Exp(double x) {
    // e^x = (e^(x / 1024))^1024: a short series for the small argument, then ten squarings.
    const double y = x / 1024.0;
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k < 12; ++k) {
        term = term * y / k;
        sum += term;
    }
    for (int k = 0; k < 10; ++k) sum *= sum;
    return sum;
}

double NoteHz(int midi) {
    // Equal-tempered semitone ratios 2^(k/12).
    static const double semitone[12] = {
        1.0,                1.0594630943592953, 1.1224620483093730, 1.1892071150027210,
        1.2599210498948732, 1.3348398541700344, 1.4142135623730951, 1.4983070768766815,
        1.5874010519681994, 1.6817928305074290, 1.7817974362806785, 1.8877486253633868};
    const int fromA = midi - 69 + 120;  // kept non-negative for the division
    double hz = 440.0 * semitone[fromA % 12];
    for (int octave = fromA / 12; octave < 10; ++octave) hz /= 2.0;
    for (int octave = 10; octave < fromA / 12; ++octave) hz *= 2.0;
    return hz;
}

int BeatFrame(double beat) {
    return TruncInt(beat * kBeatFrames + 0.5);
}

namespace {

// One note from frame `start`, its gate open for `gateFrames`, into both channels.
void AddVoices(Stereo& out, const Tone& tone, int start, int gateFrames, int midi,
               Placement where) {
    const double hz = NoteHz(midi);
    double gainLeft = 0, gainRight = 0;
    PanGains(where.pan, gainLeft, gainRight);
    gainLeft *= where.velocity;
    gainRight *= where.velocity;

    // The side away from the pan hears the note a little later, for width.
    const int lateLeft = where.pan > 0 ? tone.widthFrames : 0;
    const int lateRight = where.pan > 0 ? 0 : tone.widthFrames;
    if (tone.detuneCents == 0) {
        const std::vector<double> voice = RenderVoice(tone, gateFrames, hz, 1.0);
        Mix(out.left, voice, start + lateLeft, gainLeft, out.lastFrame);
        Mix(out.right, voice, start + lateRight, gainRight, out.lastFrame);
    } else {
        const double cents = tone.detuneCents / 1200.0 * 0.69314718055994531;  // ln 2
        Mix(out.left, RenderVoice(tone, gateFrames, hz, Exp(-cents)), start + lateLeft, gainLeft,
            out.lastFrame);
        Mix(out.right, RenderVoice(tone, gateFrames, hz, Exp(cents)), start + lateRight,
            gainRight, out.lastFrame);
    }
}

}  // namespace

void AddNote(Stereo& out, const Tone& tone, double beat, double gateBeats, int midi,
             Placement where) {
    AddVoices(out, tone, BeatFrame(beat), TruncInt(gateBeats * kBeatFrames + 0.5), midi, where);
}

void AddNoteToEnd(Stereo& out, const Tone& tone, double beat, int midi, Placement where) {
    const int start = BeatFrame(beat);
    const int releaseFrames = TruncInt(tone.release * kRate) + 1;
    // The later side's voice is the one that must end on the last frame.
    const int gateFrames = out.endFrame - start - tone.widthFrames - releaseFrames;
    if (gateFrames <= 0) throw std::runtime_error("a note held to the end starts too late");
    AddVoices(out, tone, start, gateFrames, midi, where);
}

void AddShake(Stereo& out, double beat, Placement where, uint32_t& noiseState) {
    const int start = BeatFrame(beat);
    const int frames = kRate / 8;
    const double fall = Exp(-1.0 / (0.022 * kRate));
    std::vector<double> burst(frames, 0.0);
    double level = 1.0;
    double low = 0.0;
    double a = 0, b = 0, c = 0;
    for (int i = 0; i < frames; ++i) {
        noiseState ^= noiseState << 13;
        noiseState ^= noiseState >> 17;
        noiseState ^= noiseState << 5;
        const double white = double(noiseState) / 2147483648.0 - 1.0;
        // Take away the lows (a one-pole high-pass), then three two-tap averages
        // that close the band well before the top of the spectrum.
        low += 0.3 * (white - low);
        const double high = white - low;
        const double x1 = 0.5 * (high + a);
        const double x2 = 0.5 * (x1 + b);
        const double x3 = 0.5 * (x2 + c);
        a = high;
        b = x1;
        c = x2;
        const double rise = Smooth(i / (0.004 * kRate));
        const double tail = 1.0 - Smooth((i - (frames - 0.03 * kRate)) / (0.03 * kRate));
        burst[i] = x3 * level * rise * tail;
        level *= fall;
    }
    double gainLeft = 0, gainRight = 0;
    PanGains(where.pan, gainLeft, gainRight);
    Mix(out.left, burst, start, gainLeft * where.velocity, out.lastFrame);
    Mix(out.right, burst, start, gainRight * where.velocity, out.lastFrame);
}
