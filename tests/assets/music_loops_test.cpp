// The eight embedded music loops: their files, and the headroom of the layerings the game starts.
#include "assets/embedded.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kFullScale = 32767;
constexpr int kRate = 22050;
// -60 dBFS: a sample below this is silence to the ear over the rest of the music.
constexpr int kQuiet = 33;
const int kFrames[8] = {352000, 351744, 352000, 351744, 351744, 352256, 352000, 351232};

uint32_t U32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t U16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// A loop file read back: its chunk tags in order ("overrun" for one running past the end), its
// samples, interleaved left and right, and the last frame of the loop its "smpl" chunk marks.
struct Loop {
    TEmbeddedFile file;
    std::vector<std::string> chunks;
    std::vector<int16_t> samples;
    int peak = 0;
    int64_t loopEnd = -1;
};

Loop ReadLoop(int n) {
    Loop loop;
    loop.file = EmbeddedFile(("sound" + std::to_string(n) + ".wav").c_str());
    const unsigned char* d = loop.file.data;
    for (int at = 12; d && at + 8 <= loop.file.length;) {
        const uint32_t size = U32(d + at + 4);
        if (size > uint32_t(loop.file.length - at - 8)) {
            loop.chunks.push_back("overrun");
            break;
        }
        loop.chunks.emplace_back(reinterpret_cast<const char*>(d + at), 4);
        for (uint32_t i = 0; loop.chunks.back() == "data" && i + 1 < size; i += 2)
            loop.samples.push_back(static_cast<int16_t>(U16(d + at + 8 + i)));
        if (loop.chunks.back() == "smpl" && size >= 52) loop.loopEnd = U32(d + at + 8 + 48);
        at += 8 + size + (size & 1);
    }
    for (int16_t s : loop.samples) loop.peak = std::max(loop.peak, std::abs(int(s)));
    return loop;
}

// All eight loops, read once for the whole test program.
const std::array<Loop, 8>& Loops() {
    static const std::array<Loop, 8> loops = [] {
        std::array<Loop, 8> all;
        for (int n = 1; n <= 8; ++n) all[n - 1] = ReadLoop(n);
        return all;
    }();
    return loops;
}

TEST(MusicLoops, AreStereo16BitPcmAt22050WithDataRightAfterFmtAndWholeChunksToTheEnd) {
    for (int n = 0; n < 8; ++n) {
        SCOPED_TRACE("sound" + std::to_string(n + 1));
        const Loop& loop = Loops()[n];
        ASSERT_GE(loop.file.length, 44);
        const unsigned char* d = loop.file.data;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(d), 16).erase(4, 4), "RIFFWAVEfmt ");
        // The file's length, fmt's size, PCM, two channels, the rate, bytes a second and a frame,
        // bits a sample, and the data's size.
        EXPECT_EQ((std::vector<uint32_t>{U32(d + 4), U32(d + 16), U16(d + 20), U16(d + 22), U32(d + 24), U32(d + 28),
                                         U16(d + 32), U16(d + 34), U32(d + 40)}),
                  (std::vector<uint32_t>{uint32_t(loop.file.length - 8), 16, 1, 2, 22050, 88200, 4, 16,
                                         uint32_t(kFrames[n] * 4)}));
        EXPECT_EQ(int(loop.samples.size()), 2 * kFrames[n]);
        // Only sound8 marks its loop for sample editors: the whole sound, its last frame inclusive.
        EXPECT_EQ(loop.loopEnd, n == 7 ? kFrames[n] - 1 : -1);
        ASSERT_GE(loop.chunks.size(), 3u);
        EXPECT_EQ(loop.chunks[0] + loop.chunks[1], "fmt data");
        EXPECT_NE(std::find(loop.chunks.begin(), loop.chunks.end(), "LIST"), loop.chunks.end());
        EXPECT_EQ(std::find(loop.chunks.begin(), loop.chunks.end(), "overrun"), loop.chunks.end());
    }
}

// Frames at the end of a loop's samples (interleaved left, right) after the last one where
// either channel is at or above -60 dBFS.
int TrailingSilence(const std::vector<int16_t>& samples) {
    int frames = static_cast<int>(samples.size() / 2);
    int silent = 0;
    while (silent < frames && std::abs(int(samples[2 * (frames - 1 - silent)])) < kQuiet &&
           std::abs(int(samples[2 * (frames - 1 - silent) + 1])) < kQuiet)
        ++silent;
    return silent;
}

// Each loop plays once per music step and the next step starts about 16 s later, a few tens
// of milliseconds after the loop has ended: a loop that fell silent long before its end would
// leave a hole in the music at every step. Yet the file stops where the sound stops: whatever
// still sounds must have faded to nothing on the last frames, or the cut clicks. Over the last
// 5 ms every channel stays below -60 dBFS at the last frame, moves by less than that from one
// sample to the next, and is no louder than over the 5 ms before (a fade, not a note running
// into the cut).
TEST(MusicLoops, EverySoundsUntilItsLastTenthOfASecondAndFadesOutWithoutAClick) {
    constexpr int kFiveMs = kRate / 200;
    for (int n = 0; n < 8; ++n) {
        SCOPED_TRACE("sound" + std::to_string(n + 1));
        const std::vector<int16_t>& s = Loops()[n].samples;
        const int frames = static_cast<int>(s.size() / 2);
        ASSERT_GT(frames, 2 * kFiveMs);
        EXPECT_LE(TrailingSilence(s), kRate / 10);
        for (int c = 0; c < 2; ++c) {
            SCOPED_TRACE(c == 0 ? "left" : "right");
            EXPECT_LT(std::abs(int(s[2 * (frames - 1) + c])), kQuiet);
            int step = 0, lastPeak = 0, before = 0;
            for (int f = frames - kFiveMs; f < frames; ++f) {
                step = std::max(step, std::abs(s[2 * f + c] - s[2 * (f - 1) + c]));
                lastPeak = std::max(lastPeak, std::abs(int(s[2 * f + c])));
                before = std::max(before, std::abs(int(s[2 * (f - kFiveMs) + c])));
            }
            EXPECT_LT(step, kQuiet);
            EXPECT_LE(lastPeak, before);
        }
    }
}

// The title screen plays one loop at a time: nowhere, its end run into its start, may the loudest
// sample of either channel over 50 ms stay below -45 dBFS (185) for over 0.3 s: the music stops.
TEST(MusicLoops, NoneFallsBelowMinus45DbfsForMoreThanThreeTenthsOfASecond) {
    for (int n = 0; n < 8; ++n) {
        const std::vector<int16_t>& s = Loops()[n].samples;
        int last = 0, longest = 0;  // the last frame where a channel reached -45 dBFS; the longest gap
        for (size_t i = 0; i < 2 * s.size(); i += 2)  // twice round, so the end runs into the start
            if (std::max(std::abs(int(s[i % s.size()])), std::abs(int(s[(i + 1) % s.size()]))) >= 185)
                longest = std::max(longest, int(i / 2) - std::exchange(last, int(i / 2)));
        EXPECT_LE(std::max(longest, 2 * kFrames[n] - last) - kRate / 20, kRate * 3 / 10) << "sound" << n + 1;
    }
}

// The loops a music step starts: how many copies of each of sound1 ... sound8.
using Layering = std::array<int, 8>;

// Number of samples that clip when these loops start together, summed sample by sample.
int64_t ClippedSamples(const Layering& copies) {
    std::vector<int> sum(2 * 352256, 0);
    for (int n = 0; n < 8; ++n)
        for (size_t i = 0; copies[n] && i < Loops()[n].samples.size(); ++i) sum[i] += copies[n] * Loops()[n].samples[i];
    int64_t clipped = 0;
    for (int v : sum) clipped += v > kFullScale || v < -kFullScale - 1;
    return clipped;
}

// Largest sum a layering could reach: the sum of its loops' peaks.
int PeakBound(const Layering& copies) {
    int bound = 0;
    for (int n = 0; n < 8; ++n) bound += copies[n] * Loops()[n].peak;
    return bound;
}

// The loudest layering the game can start is sound8 and four more loops. Every one of the 330
// whose peaks could reach full scale (and at least the 16 loudest) is summed sample by sample.
TEST(MusicLoops, NoLayeringOfFiveTheGameCanStartClipsMoreThanOneSampleInTenThousand) {
    std::vector<Layering> layerings;
    for (int a = 0; a < 8; ++a)
        for (int b = a; b < 8; ++b)
            for (int c = b; c < 8; ++c)
                for (int d = c; d < 8; ++d) {
                    Layering copies{};
                    ++copies[7], ++copies[a], ++copies[b], ++copies[c], ++copies[d];
                    layerings.push_back(copies);
                }
    ASSERT_EQ(layerings.size(), 330u);
    std::sort(layerings.begin(), layerings.end(),
              [](const Layering& x, const Layering& y) { return PeakBound(x) > PeakBound(y); });
    const int64_t limit = 2 * int64_t(kFrames[7]) / 10000;
    for (size_t i = 0; i < layerings.size() && (i < 16 || PeakBound(layerings[i]) > kFullScale); ++i) {
        std::string name;
        for (int n = 0; n < 8; ++n) name += " x" + std::to_string(layerings[i][n]);
        EXPECT_LE(ClippedSamples(layerings[i]), limit) << "copies of sound1..8:" << name;
    }
    EXPECT_EQ(ClippedSamples(Layering{0, 0, 0, 0, 0, 0, 0, 5}), 0);   // five copies of the bed
}

}  // namespace
