// The mixer itself: bit-exact mixing, gains and ramps, start alignment and the hand-over rings.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "audio/mixer.h"
#include "audio_clock.h"

using namespace mixora;

namespace {

// A 16-bit sample from interleaved values.
sample* Sample16(const std::vector<int16_t>& values, int channels, int hertz, int loop = 0) {
    return CreateSample(int(values.size()) / channels, 16, channels, hertz, values.data(), loop);
}

struct MixerTest : ::testing::Test {
    TMixerClock clock;
    std::unique_ptr<mixer> m = std::make_unique<mixer>(clock.Source());
    std::vector<sample*> samples;

    ~MixerTest() override {
        m.reset();
        for (sample* s : samples) ReleaseSample(s);
    }
    sample* Keep(sample* s) { return samples.push_back(s), s; }
    // Starts s now and lets 20 ms pass, so the voice sounds from the next block's first frame.
    sound* PlayNow(sample* s) {
        sound* voice = m->play(s, nullptr, s->loop ? VOICE_LOOP : VOICE_ONCE);
        clock.Advance(20);
        return voice;
    }
    // Mixes frames stereo frames through mix16.
    std::vector<int16_t> MixFrames(int frames) {
        std::vector<int16_t> out(size_t(frames) * 2);
        m->mix16(out.data(), frames * 2);
        return out;
    }
    // The left values of the mixed frames.
    std::vector<int> Left(int frames) {
        std::vector<int16_t> out = MixFrames(frames);
        std::vector<int> values;
        for (int i = 0; i < frames; ++i) values.push_back(out[2 * i]);
        return values;
    }
};

// A half-rate voice sounds every frame twice, the second time halfway to the next frame; its
// last frame interpolates toward the copy after it (itself, or the first frame when looping).
TEST_F(MixerTest, HalfRateSamplesInterpolateBetweenNeighbours) {
    const uint8_t bytes[] = {138, 148, 28};   // 8-bit data is centred and scaled to 16 bits
    const int16_t inPlace[] = {0, 1000, -2000, 3000};    // played where it lies, not copied
    const struct { sample* s; std::vector<int> expected; } cases[] = {
        {Sample16({0, 1000, -2000, 3000}, 1, 22050), {0, 500, 1000, -500, -2000, 500, 3000, 3000, 0, 0}},
        {CreateSampleOver(4, 16, 1, 22050, inPlace, nullptr, 0), {0, 500, 1000, -500, -2000, 500, 3000, 3000, 0, 0}},
        {Sample16({0, 1000, -2000, 3000}, 1, 22050, -1), {0, 500, 1000, -500, -2000, 500, 3000, 1500, 0, 500}},
        {CreateSample(3, 8, 1, 22050, bytes, 0), {2560, 3840, 5120, -10240, -25600, -25600, 0, 0, 0, 0}}};
    for (const auto& c : cases) {
        m = std::make_unique<mixer>(clock.Source());
        PlayNow(Keep(c.s));
        EXPECT_EQ(Left(10), c.expected);
    }
}

TEST_F(MixerTest, TwoFullScaleVoicesClipInsteadOfWrapping) {
    sample* s = Keep(Sample16({32767, -32768, 32767, -32768}, 2, 44100));
    PlayNow(s);
    PlayNow(s);
    EXPECT_EQ(MixFrames(1), (std::vector<int16_t>{32767, -32768}));
}

// A negative rate would walk out of the front of the data: the voice holds still instead.
TEST_F(MixerTest, ANegativeRateHoldsTheVoiceOnItsFrame) {
    sound* voice = PlayNow(Keep(Sample16({1000, 2000, 3000, 4000}, 1, 44100, -1)));
    voice->setrate(-65536);
    Left(64);   // the rate ramps down over one block
    const std::vector<int> held = Left(64);
    EXPECT_EQ(held, std::vector<int>(64, held[0]));
}

TEST_F(MixerTest, VolumeRampsToItsTargetOverOneBlockThenHolds) {
    sound* voice = PlayNow(Keep(Sample16({16000, 16000}, 1, 44100, -1)));
    EXPECT_EQ(Left(64), std::vector<int>(64, 16000));

    voice->setvolume(2048);
    std::vector<int> ramp = Left(64);
    EXPECT_EQ(ramp.front(), 16000);
    for (size_t i = 1; i < ramp.size(); ++i) EXPECT_LT(ramp[i], ramp[i - 1]) << i;
    EXPECT_GT(ramp.back(), 8000);
    EXPECT_EQ(voice->getvolume(0), 2048);
    EXPECT_EQ(Left(64), std::vector<int>(64, 8000));

    voice->setvolume(0);
    Left(64);
    EXPECT_EQ(Left(64), std::vector<int>(64, 0));
}

TEST_F(MixerTest, PanAppliesFromTheNextBlockWithoutRamp) {
    sound* voice = PlayNow(Keep(Sample16({1000, 1000}, 1, 44100, -1)));
    EXPECT_EQ(MixFrames(2), (std::vector<int16_t>{1000, 1000, 1000, 1000}));
    voice->setpan(4096);
    EXPECT_EQ(MixFrames(2), (std::vector<int16_t>{0, 1000, 0, 1000}));
    voice->setpan(-2048);
    voice->setdepth(-4096);
    EXPECT_EQ(MixFrames(1), (std::vector<int16_t>{1000, -500}));
}

TEST_F(MixerTest, VoicesStartAlignedTo20msAfterTheirGameFrame) {
    sample* low = Keep(Sample16({100, 100}, 1, 44100, -1));
    sample* high = Keep(Sample16({1000, 1000}, 1, 44100, -1));
    m->play(low, nullptr, VOICE_LOOP);
    std::vector<int> first = Left(441);                  // the first voice waits 441 more frames
    m->play(high, nullptr, VOICE_LOOP);                  // same game frame, next output block
    clock.Advance(10);                                   // which the audio thread mixes 10 ms on
    std::vector<int> second = Left(1000);
    EXPECT_EQ(first, std::vector<int>(441, 0));
    EXPECT_EQ(second[440], 0);
    EXPECT_EQ(second[441], 1100);                        // 20 ms = 882 frames after the request
    EXPECT_EQ(second[999], 1100);

    m = std::make_unique<mixer>(clock.Source());                       // started 30 ms before the block: no delay
    m->play(high, nullptr, VOICE_LOOP);
    clock.Advance(30);
    EXPECT_EQ(Left(1)[0], 1000);
}

TEST_F(MixerTest, FullRequestRingRefusesTheStartWithoutOverwriting) {
    sample* s = Keep(Sample16({1, 1}, 1, 44100));
    for (int i = 0; i < kRingSize - 1; ++i) ASSERT_NE(m->play(s, nullptr, VOICE_ONCE), nullptr) << i;
    EXPECT_EQ(m->play(s, nullptr, VOICE_ONCE), nullptr);
    EXPECT_EQ(m->voices.size(), size_t(kRingSize - 1));
    EXPECT_EQ(s->references, kRingSize);
    m->mix(2);                                           // the audio thread takes the requests
    EXPECT_NE(m->play(s, nullptr, VOICE_ONCE), nullptr);
}

TEST_F(MixerTest, VoicesTravelBothRingsBetweenThreadsWithoutLossOrDuplication) {
    sample* s = Keep(Sample16({5, 6, 7, 8, 9, 10}, 1, 44100));
    constexpr int kPlays = 20000;
    std::atomic<bool> done{false};
    std::thread game([&] {
        for (int i = 0; i < kPlays;) {
            if (m->play(s, nullptr, VOICE_ONCE)) ++i;
            else std::this_thread::yield();
        }
        done = true;
    });
    std::thread audio([&] {
        std::vector<int16_t> out(512);
        while (!done) m->mix16(out.data(), 512);
        for (int i = 0; i < 8; ++i) m->mix16(out.data(), 512);   // let the last voices end
    });
    game.join();
    audio.join();

    // Back on one thread: collect every voice, mixing on while some wait for room in the free ring.
    std::set<sound*> returned;
    std::vector<int16_t> out(512);
    for (int block = 0; block < 16; ++block) {
        while (sound* voice = m->TakeFree()) EXPECT_TRUE(returned.insert(voice).second);
        if (!m->active) break;
        m->mix16(out.data(), 512);
    }
    EXPECT_EQ(m->active, nullptr);
    EXPECT_EQ(returned.size(), m->voices.size());
    EXPECT_EQ(s->references, 1);
}

// A stream written on one thread and mixed on another: every frame is heard once, in the order it
// was written, with silence wherever the writer was behind.
TEST_F(MixerTest, StreamWrittenAndMixedOnTwoThreadsPlaysEveryFrameInOrder) {
    sample* s = Keep(CreateSample(-1, 16, 1, 44100, nullptr, 0));
    ASSERT_NE(s, nullptr);
    ASSERT_NE(m->play(s, nullptr, VOICE_STREAM), nullptr);
    constexpr int kFrames = 300000;                   // more than four turns of the ring
    auto value = [](int i) { return int16_t(1 + i % 30000); };
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        std::vector<int16_t> chunk;
        for (int i = 0; i < kFrames && !stop;) {
            chunk.clear();
            for (int k = 0; k < 1000 + i % 3001 && i + k < kFrames; ++k) chunk.push_back(value(i + k));
            int written = WriteSample(s, chunk.data(), int(chunk.size()));
            if (written == 0) std::this_thread::yield();
            i += written;
        }
    });
    std::vector<int16_t> heard;
    std::vector<int16_t> out(512);
    // Mixes until every frame was heard (a fault that loses frames gives up after many blocks).
    for (int block = 0; int(heard.size()) < kFrames && block < 20000000; ++block) {
        m->mix16(out.data(), 512);
        for (int i = 0; i < 256; ++i)
            if (out[2 * i]) heard.push_back(out[2 * i]);
    }
    stop = true;
    writer.join();
    ASSERT_EQ(heard.size(), size_t(kFrames));
    for (int i = 0; i < kFrames; ++i) ASSERT_EQ(heard[size_t(i)], value(i)) << i;
}

}  // namespace
