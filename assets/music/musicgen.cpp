// The game's eight music loops as WAV files: each loop's score played, levelled and wrapped.
#include "assets/music/musicgen.h"
#include "assets/music/score.h"
#include "assets/music/wavfile.h"
#include "platform/numeric.h"

#include <stdexcept>
#include <string>

namespace {

// What each loop is, how long its file runs and how loud it is set.
struct LoopFile {
    int frames;
    uint32_t fileSize;
    const char* title;
    const char* comment;
};

const LoopFile kLoops[8] = {
    {352000, 1414492, "Kestrava loop 1: sinking", "A slow descending melody for the body sinking."},
    {351744, 1413570, "Kestrava loop 2: rising", "Arpeggios climbing through each chord for the body rising."},
    {352000, 1414672, "Kestrava loop 3: right wing down", "Low plucks, 3+3+2 rhythm, a little right."},
    {351744, 1413726, "Kestrava loop 4: left wing down", "Low plucks on the off-beats, a little left."},
    {351744, 1413468, "Kestrava loop 5: right wing up", "Marimba figures on the first half of each bar, a little right."},
    {352256, 1415618, "Kestrava loop 6: left wing up", "Marimba answers on the second half of each bar, a little left."},
    {352000, 1414492, "Kestrava loop 7: high", "Bell arpeggios with a ping-pong echo, for the bird high on the screen."},
    {351232, 1411698, "Kestrava loop 8: bed", "Pad chords, round bass and a soft shaker: the bed under every other loop."},
};

// Every loop is this loud on average unless its peak would pass the cap.
constexpr double kTargetRms = 1200.0;
// Five loops at the cap still fit in 16 bits, so no layering the game can start clips.
constexpr double kPeakCap = 6200.0;
// The bed is often stacked five times over itself: it stays a little lower still.
constexpr double kBedPeakCap = 5600.0;

// The loop at its level, as interleaved 16-bit samples of the file's length.
std::vector<int16_t> Level(const Stereo& piece, int frames, double peakCap) {
    // A note cut off by the end of the file would click: every note must have faded by then.
    if (piece.lastFrame > frames) throw std::runtime_error("a note rings past the end");
    double peak = 0, energy = 0;
    for (int i = 0; i < frames; ++i) {
        for (double v : {piece.left[i], piece.right[i]}) {
            if (v > peak) peak = v;
            if (-v > peak) peak = -v;
            energy += v * v;
        }
    }
    if (peak == 0) throw std::runtime_error("the loop is silent");
    double rms = 0;  // square root by Newton's method: no libm, same bits everywhere
    const double meanSquare = energy / (2.0 * frames);
    for (double x = meanSquare > 1 ? meanSquare : 1; ; ) {
        const double next = 0.5 * (x + meanSquare / x);
        if (next >= x) { rms = x; break; }
        x = next;
    }
    double gain = kTargetRms / rms;
    if (gain * peak > peakCap) gain = peakCap / peak;

    std::vector<int16_t> out;
    out.reserve(2 * frames);
    for (int i = 0; i < frames; ++i) {
        for (double v : {piece.left[i], piece.right[i]}) {
            const double scaled = v * gain;
            out.push_back(static_cast<int16_t>(TruncInt(scaled + (scaled < 0 ? -0.5 : 0.5))));
        }
    }
    return out;
}

}  // namespace

std::vector<uint8_t> MusicLoopFile(int n) {
    if (n < 1 || n > 8) throw std::runtime_error("no loop " + std::to_string(n));
    const LoopFile& loop = kLoops[n - 1];
    const std::vector<int16_t> samples =
        Level(ComposeLoop(n, loop.frames), loop.frames, n == 8 ? kBedPeakCap : kPeakCap);
    WavInfo info;
    info.title = loop.title;
    info.artist = "Kestrava";
    info.comment = std::string(loop.comment) + " C major, 120 bpm, 8 bars of 4/4.";
    info.software = "kestrava_musicgen";
    info.loopMarkers = n == 8;
    info.fileSize = loop.fileSize;
    return WavBytes(samples, info);
}
