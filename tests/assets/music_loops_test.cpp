// The eight embedded music loops: their files, their levels, and how they layer.
#include "assets/embedded.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// What the game relies on for each loop file.
struct Expected {
    int frames;
    int fileSize;
};
const Expected kExpected[8] = {{352000, 1414492}, {351744, 1413570}, {352000, 1414672},
                               {351744, 1413726}, {351744, 1413468}, {352256, 1415618},
                               {352000, 1414492}, {351232, 1411698}};

constexpr int kFullScale = 32767;

// A loop file read back: its chunks in order and its samples.
struct Loop {
    std::string name;
    const unsigned char* data = nullptr;
    int size = 0;
    std::vector<std::pair<std::string, int>> chunks;  // tag and offset of its body
    std::vector<int16_t> samples;                     // interleaved left, right
    int frames() const { return static_cast<int>(samples.size() / 2); }
};

uint32_t U32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t U16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// Reads loop n from the embedded files; chunk walking stops at the first one that overruns.
Loop ReadLoop(int n) {
    Loop loop;
    loop.name = "sound" + std::to_string(n) + ".wav";
    const TEmbeddedFile file = EmbeddedFile(loop.name.c_str());
    loop.data = file.data;
    loop.size = file.length;
    if (!file.data || file.length < 12) return loop;
    for (int at = 12; at + 8 <= file.length;) {
        const std::string tag(reinterpret_cast<const char*>(file.data + at), 4);
        const uint32_t size = U32(file.data + at + 4);
        if (size > uint32_t(file.length - at - 8)) {
            loop.chunks.push_back({"overrun", at});
            break;
        }
        loop.chunks.push_back({tag, at + 8});
        if (tag == "data") {
            for (uint32_t i = 0; i + 1 < size; i += 2)
                loop.samples.push_back(static_cast<int16_t>(U16(file.data + at + 8 + i)));
        }
        at += 8 + size + (size & 1);
    }
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

// Largest |sample| of a loop.
int Peak(const Loop& loop) {
    int peak = 0;
    for (int16_t s : loop.samples) peak = std::max(peak, std::abs(int(s)));
    return peak;
}

// Root mean square of all samples of a loop.
double Rms(const Loop& loop) {
    double energy = 0;
    for (int16_t s : loop.samples) energy += double(s) * s;
    return std::sqrt(energy / loop.samples.size());
}

// Body offset of a chunk, or -1.
int ChunkBody(const Loop& loop, const std::string& tag) {
    for (const auto& [t, at] : loop.chunks)
        if (t == tag) return at;
    return -1;
}

TEST(MusicLoops, AreStereo16BitPcmAt22050WithDataRightAfterFmt) {
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE("sound" + std::to_string(n));
        const Loop& loop = Loops()[n - 1];
        ASSERT_NE(loop.data, nullptr);
        ASSERT_GE(loop.size, 44);
        const unsigned char* d = loop.data;
        EXPECT_EQ(std::memcmp(d, "RIFF", 4), 0);
        EXPECT_EQ(U32(d + 4), uint32_t(loop.size - 8));
        EXPECT_EQ(std::memcmp(d + 8, "WAVEfmt ", 8), 0);
        EXPECT_EQ(U32(d + 16), 16u);
        EXPECT_EQ(U16(d + 20), 1);      // PCM
        EXPECT_EQ(U16(d + 22), 2);      // channels
        EXPECT_EQ(U32(d + 24), 22050u);
        EXPECT_EQ(U32(d + 28), 88200u);
        EXPECT_EQ(U16(d + 32), 4);      // block align
        EXPECT_EQ(U16(d + 34), 16);     // bits
        EXPECT_EQ(std::memcmp(d + 36, "data", 4), 0);
        EXPECT_EQ(U32(d + 40), uint32_t(kExpected[n - 1].frames * 4));
        EXPECT_EQ(loop.frames(), kExpected[n - 1].frames);
        EXPECT_EQ(loop.size, kExpected[n - 1].fileSize);

        // After the samples come only whole metadata chunks, up to the very last byte.
        ASSERT_GE(loop.chunks.size(), 3u);
        EXPECT_EQ(loop.chunks[0].first, "fmt ");
        EXPECT_EQ(loop.chunks[1].first, "data");
        EXPECT_NE(ChunkBody(loop, "LIST"), -1);
        EXPECT_EQ(ChunkBody(loop, "overrun"), -1);
        const auto& last = loop.chunks.back();
        const uint32_t lastSize = U32(d + last.second - 4);
        EXPECT_EQ(last.second + lastSize + (lastSize & 1), uint32_t(loop.size));
    }
}

TEST(MusicLoops, BedIsMarkedAsThirtyTwoBeatsOfFourFourAt120WithRootC) {
    const Loop& bed = Loops()[7];
    const int acid = ChunkBody(bed, "acid");
    ASSERT_NE(acid, -1);
    const unsigned char* a = bed.data + acid;
    EXPECT_EQ(U32(a - 4), 24u);
    EXPECT_EQ(U32(a) & 0x01, 0u);  // not a one-shot
    EXPECT_EQ(U32(a) & 0x02, 2u);  // root note set
    EXPECT_EQ(U16(a + 4), 60);
    EXPECT_EQ(U16(a + 6), 0x8000);
    EXPECT_EQ(U32(a + 12), 32u);
    EXPECT_EQ(U16(a + 16), 4);
    EXPECT_EQ(U16(a + 18), 4);
    float tempo = 0;
    std::memcpy(&tempo, a + 20, 4);
    EXPECT_EQ(tempo, 120.0f);

    const int smpl = ChunkBody(bed, "smpl");
    ASSERT_NE(smpl, -1);
    EXPECT_EQ(U32(bed.data + smpl + 12), 60u);  // MIDI unity note
}

TEST(MusicLoops, SitAtSimilarQuietLevelsWithoutDcOffset) {
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE("sound" + std::to_string(n));
        const Loop& loop = Loops()[n - 1];
        ASSERT_FALSE(loop.samples.empty());
        const double rms = Rms(loop);
        EXPECT_GT(Peak(loop), 2000);
        EXPECT_LE(Peak(loop), kFullScale / 5);
        EXPECT_GT(rms, 900.0);
        EXPECT_LT(rms, 1500.0);
        for (int side = 0; side < 2; ++side) {
            double sum = 0;
            for (size_t i = side; i < loop.samples.size(); i += 2) sum += loop.samples[i];
            EXPECT_LT(std::abs(sum / loop.frames()), 10.0);
        }
    }
}

TEST(MusicLoops, StartColdAndAreSilentForTheirLastTenthOfASecond) {
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE("sound" + std::to_string(n));
        const Loop& loop = Loops()[n - 1];
        ASSERT_GT(loop.frames(), 22050);
        // Each loop rises from silence rather than jumping in: no click when it starts.
        EXPECT_LE(std::abs(int(loop.samples[0])), 16);
        EXPECT_LE(std::abs(int(loop.samples[1])), 16);
        for (int i = 2; i < 2 * 4; ++i) EXPECT_LE(std::abs(int(loop.samples[i])), Peak(loop) / 20) << i;
        // The last 2205 frames stay below -60 dBFS, so no note is cut off.
        int tail = 0;
        for (size_t i = loop.samples.size() - 2 * 2205; i < loop.samples.size(); ++i)
            tail = std::max(tail, std::abs(int(loop.samples[i])));
        EXPECT_LE(tail, 32);
    }
}

// Onsets of the plucked and struck loops: windows whose energy is four times that of
// each of the three before (a jump of 6 dB, well above the beating of held notes).
std::vector<int> Onsets(const Loop& loop) {
    constexpr int kWindow = 256;
    std::vector<double> energy;
    for (int w = 0; (w + 1) * kWindow <= loop.frames(); ++w) {
        double e = 0;
        for (int i = 2 * w * kWindow; i < 2 * (w + 1) * kWindow; ++i)
            e += double(loop.samples[i]) * loop.samples[i];
        energy.push_back(e / (2 * kWindow));
    }
    std::vector<int> onsets;
    for (size_t w = 0; w < energy.size(); ++w) {
        double before = 0;
        for (size_t k = w < 3 ? 0 : w - 3; k < w; ++k) before = std::max(before, energy[k]);
        if (energy[w] > 4 * before && energy[w] > 150.0 * 150.0)
            onsets.push_back(static_cast<int>(w) * kWindow);
    }
    return onsets;
}

TEST(MusicLoops, NotesStartOnTheSixteenthNoteGridAt120Bpm) {
    const double sixteenth = 22050 * 60.0 / 120.0 / 4.0;
    for (int n = 2; n <= 7; ++n) {
        SCOPED_TRACE("sound" + std::to_string(n));
        const std::vector<int> onsets = Onsets(Loops()[n - 1]);
        EXPECT_GE(onsets.size(), 5u);
        for (int at : onsets) {
            // The jump shows in the window where the note starts or in the one after.
            const double grid = std::round(at / sixteenth) * sixteenth;
            EXPECT_GE(grid, at - 256 - 64) << at;
            EXPECT_LE(grid, at + 256 + 64) << at;
        }
    }
}

// The loops a music step starts: how many copies of each of sound1 ... sound8.
using Layering = std::array<int, 8>;

// Largest sum any layering could reach: the sum of its loops' peaks.
int PeakBound(const Layering& copies) {
    static const std::array<int, 8> peaks = [] {
        std::array<int, 8> p{};
        for (int n = 0; n < 8; ++n) p[n] = Peak(Loops()[n]);
        return p;
    }();
    int bound = 0;
    for (int n = 0; n < 8; ++n) bound += copies[n] * peaks[n];
    return bound;
}

// Number of samples that clip when these loops start together, summed sample by sample.
int64_t ClippedSamples(const Layering& copies) {
    size_t longest = 0;
    for (int n = 0; n < 8; ++n)
        if (copies[n]) longest = std::max(longest, Loops()[n].samples.size());
    std::vector<int> sum(longest, 0);
    for (int n = 0; n < 8; ++n) {
        const std::vector<int16_t>& samples = Loops()[n].samples;
        for (int c = 0; c < copies[n]; ++c)
            for (size_t i = 0; i < samples.size(); ++i) sum[i] += samples[i];
    }
    int64_t clipped = 0;
    for (int v : sum) clipped += v > kFullScale || v < -kFullScale - 1;
    return clipped;
}

// Every layering of five the game can start: sound8 first, then any four more loops.
std::vector<Layering> LayeringsOfFive() {
    std::vector<Layering> all;
    Layering copies{};
    copies[7] = 1;
    auto add = [&](auto&& self, int from, int left) -> void {
        if (left == 0) {
            all.push_back(copies);
            return;
        }
        for (int n = from; n < 8; ++n) {
            ++copies[n];
            self(self, n, left - 1);
            --copies[n];
        }
    };
    add(add, 0, 4);
    return all;
}

TEST(MusicLoops, NoLayeringOfFiveTheGameCanStartClips) {
    std::vector<Layering> layerings = LayeringsOfFive();
    ASSERT_EQ(layerings.size(), 330u);
    // Loudest first: the mixes whose peaks could add up highest are summed sample by
    // sample, and so is every mix whose peaks could reach full scale at all.
    std::sort(layerings.begin(), layerings.end(),
              [](const Layering& a, const Layering& b) { return PeakBound(a) > PeakBound(b); });
    const int64_t limit = 2 * int64_t(kExpected[7].frames) / 10000;  // 0.01 %, shortest loop
    for (size_t i = 0; i < layerings.size(); ++i) {
        const Layering& copies = layerings[i];
        if (i >= 16 && PeakBound(copies) <= kFullScale) break;
        const int64_t clipped = ClippedSamples(copies);
        std::string name;
        for (int n = 0; n < 8; ++n)
            if (copies[n]) name += " sound" + std::to_string(n + 1) + " x" + std::to_string(copies[n]);
        EXPECT_LE(clipped, limit) << name;
    }
}

TEST(MusicLoops, FiveCopiesOfTheBedStayInsideSixteenBits) {
    Layering copies{};
    copies[7] = 5;
    EXPECT_EQ(ClippedSamples(copies), 0);
    EXPECT_LE(5 * Peak(Loops()[7]), kFullScale);
}

}  // namespace
