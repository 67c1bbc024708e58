// The master volume at the output stage: every sample scaled by volume / 100, truncating toward
// zero, in the device's feed and in the runner's manual mixing alike; at 100 the bytes are
// exactly the mixer's own.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "audio/mixer.h"
#include "audio/mixora.h"
#include "audio_clock.h"
#include "platform/platform.h"
#include "support/fake_platform.h"

namespace {

// A loud looping sample with odd values of both signs, so truncation toward zero shows.
const std::vector<int16_t> kWave = {32767, -32768, 12345, -12345, 3, -3, 1, -1, 0, 29999, -29999, 101};

// Frames mixed by the process-wide mixer with the master volume at volume: through the
// output's feed (System) or mxo_Mix16 (Manual).
std::vector<int16_t> MixAtVolume(int volume, TAudioOutputMode mode, TFakeAudioOutput& output) {
    TMixerClock clock;
    mxo_SetMasterVolume(volume);
    EXPECT_EQ(mxo_Init(clock.Source(), mode), 0);
    if (mode == TAudioOutputMode::System) {
        EXPECT_TRUE(mxo_AwaitOutput());   // the output opens on a thread of its own
    }
    mixora::sample* s = mxo_CreateSound(int(kWave.size()), 16, 1, 44100, kWave.data(), 1);
    EXPECT_NE(mxo_PlaySound(s, 0, 0), 0);
    clock.Advance(20);
    std::vector<int16_t> out(2 * 1024);
    if (mode == TAudioOutputMode::Manual)
        EXPECT_TRUE(mxo_Mix16(out.data(), 1024));
    else
        output.Pull(out.data(), 1024);
    mxo_FreeSound(s);
    mxo_Close();
    mxo_SetMasterVolume(100);
    return out;
}

}  // namespace

TEST(MasterVolume, ScalesEverySampleTowardZeroAndLeavesFullVolumeBitExact) {
    TFakeAudioOutput output;
    InstallPlatform({nullptr, nullptr, &output});
    for (TAudioOutputMode mode : {TAudioOutputMode::Manual, TAudioOutputMode::System}) {
        // The mixer's own output, with no master volume step at all.
        TMixerClock clock;
        mixora::mixer plain(clock.Source());
        mixora::sample* s = mixora::CreateSample(int(kWave.size()), 16, 1, 44100, kWave.data(), 1);
        plain.play(s, nullptr, mixora::VOICE_LOOP);
        clock.Advance(20);
        std::vector<int16_t> own(2 * 1024);
        plain.mix16(own.data(), 2 * 1024);
        mixora::ReleaseSample(s);

        const std::vector<int16_t> full = MixAtVolume(100, mode, output);
        EXPECT_TRUE(full == own) << "volume 100 changed the bytes";
        int loud = 0;
        for (int16_t v : own) loud += v > 1000 || v < -1000;
        ASSERT_GT(loud, 100);

        for (int volume : {0, 1, 37, 50, 99}) {
            const std::vector<int16_t> scaled = MixAtVolume(volume, mode, output);
            ASSERT_EQ(scaled.size(), own.size());
            int wrong = 0;
            for (size_t i = 0; i < own.size(); ++i) wrong += scaled[i] != own[i] * volume / 100;
            EXPECT_EQ(wrong, 0) << "volume " << volume;
        }
    }
    InstallPlatform(TPlatform{});
}

TEST(MasterVolume, ApplyTruncatesTowardZeroAndClampsTheSetting) {
    int16_t values[] = {32767, -32768, 3, -3, 1, -1, 0, 199, -199};
    mxo_ApplyVolume(values, 9, 50);
    EXPECT_EQ(std::vector<int16_t>(values, values + 9), (std::vector<int16_t>{16383, -16384, 1, -1, 0, 0, 0, 99, -99}));
    mxo_SetMasterVolume(-5);
    EXPECT_EQ(mxo_MasterVolume(), 0);
    mxo_SetMasterVolume(250);
    EXPECT_EQ(mxo_MasterVolume(), 100);
}
