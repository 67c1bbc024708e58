// Sounds and channels through the process-wide mixer, mixed by hand.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "audio/mixora.h"
#include "audio/sample.h"
#include "audio/sound.h"
#include "audio_clock.h"
#include "platform/sdl/sdl_platform.h"
#include "support/fake_platform.h"

namespace {

// A 44100 Hz 16-bit mono sound holding value for frames frames.
TSoundPtr ConstantSound(int value, int frames, int flags = 0) {
    TAudioSamplePtr sample = TAudioSample::Create(frames, 44100, SF_MONO16LE);
    auto* data = reinterpret_cast<int16_t*>(sample->samples);
    for (int i = 0; i < frames; ++i) data[i] = static_cast<int16_t>(value);
    return LoadSound(sample, flags);
}

int HandleOf(const TChannelPtr& channel) {
    return static_cast<TMixoraChannel&>(*channel).handle;
}

struct ChannelTest : ::testing::Test {
    TMixerClock clock;

    void SetUp() override { ASSERT_TRUE(StartAudio(TAudioOutputMode::Manual, clock.Source())); }
    void TearDown() override { StopAudio(); }

    // Lets the 20 ms start latency pass, then mixes frames frames; the left values.
    std::vector<int> MixLeft(int frames) {
        clock.Advance(20);
        std::vector<int16_t> out(size_t(frames) * 2);
        MixAudioFrames(out.data(), frames);
        std::vector<int> left;
        for (int i = 0; i < frames; ++i) left.push_back(out[2 * i]);
        return left;
    }
};

TEST_F(ChannelTest, EachPlayGetsItsOwnHandleAndAReusedSlotsOldHandleNamesNothing) {
    TSoundPtr sound = ConstantSound(1000, 10);
    TChannelPtr old = PlaySound(sound);
    MixLeft(64);
    MixLeft(64);                                    // ended, then handed back to the game
    EXPECT_EQ(ChannelPlaying(old), 0);
    TChannelPtr second = PlaySound(sound);          // recycles the voice, freeing the old slot
    TChannelPtr reused = PlaySound(sound);          // takes the old slot again
    ASSERT_TRUE(old && second && reused);
    EXPECT_NE(HandleOf(second), HandleOf(reused));
    EXPECT_EQ(HandleOf(reused) & 4095, HandleOf(old) & 4095);
    EXPECT_NE(HandleOf(reused), HandleOf(old));
    EXPECT_EQ(mxo_ChannelStatus(HandleOf(old)), 0);
    SetChannelVolume(old, 0.0f);
    StopChannel(old);
    EXPECT_EQ(ChannelPlaying(second) + ChannelPlaying(reused), 2);
    EXPECT_EQ(MixLeft(1)[0], 2000);
    StopChannel(reused);                            // a stopped channel falls silent at once
    EXPECT_EQ(ChannelPlaying(reused), 0);
    EXPECT_EQ(MixLeft(1)[0], 1000);
}

TEST_F(ChannelTest, PlayingOnAGivenChannelKeepsItsHandleAndSettings) {
    TChannelPtr channel = PlaySound(ConstantSound(1000, 4, 1));
    ASSERT_TRUE(channel);
    int handle = HandleOf(channel);
    EXPECT_EQ(PlaySound(ConstantSound(300, 100), channel), channel);   // stops the old voice
    EXPECT_EQ(HandleOf(channel), handle);
    EXPECT_EQ(MixLeft(2), (std::vector<int>{300, 300}));
    EXPECT_EQ(ChannelPlaying(channel), 1);

    TChannelPtr allocated = AllocChannel();         // settings made before anything plays
    ASSERT_TRUE(allocated);
    EXPECT_EQ(ChannelPlaying(allocated), 0);
    SetChannelVolume(allocated, 0.5f);
    SetChannelPan(allocated, -1.0f);
    StopChannel(channel);
    EXPECT_EQ(PlaySound(ConstantSound(1000, 100), allocated), allocated);
    clock.Advance(20);
    std::vector<int16_t> out(2);
    MixAudioFrames(out.data(), 1);
    EXPECT_EQ(out, (std::vector<int16_t>{500, 0}));
}

// A channel whose one-shot ended, or that was stopped, plays again on its own handle: it reports
// playing, answers Stop, and the next channel started gets a slot of its own.
TEST_F(ChannelTest, ReplayingAChannelWhoseVoiceEndedOrWasStoppedKeepsTheChannel) {
    TSoundPtr shortsound = ConstantSound(1000, 10);
    TSoundPtr longsound = ConstantSound(1000, 1000);
    TSoundPtr other = ConstantSound(300, 1000);
    for (bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "stopped" : "ended");
        TChannelPtr channel = PlaySound(stop ? longsound : shortsound);
        ASSERT_TRUE(channel);
        int handle = HandleOf(channel);
        if (stop) StopChannel(channel);
        MixLeft(64);
        MixLeft(64);                                // ended, then handed back to the game
        EXPECT_EQ(ChannelPlaying(channel), 0);
        EXPECT_EQ(PlaySound(longsound, channel), channel);
        EXPECT_EQ(HandleOf(channel), handle);
        EXPECT_EQ(ChannelPlaying(channel), 1);
        TChannelPtr unrelated = PlaySound(other);
        ASSERT_TRUE(unrelated);
        EXPECT_NE(HandleOf(unrelated) & 4095, handle & 4095);
        EXPECT_EQ(MixLeft(1)[0], 1300);
        StopChannel(channel);
        EXPECT_EQ(ChannelPlaying(channel), 0);
        EXPECT_EQ(MixLeft(1)[0], 300);
        StopChannel(unrelated);
        MixLeft(1);
    }
}

// Allocating a channel and playing on it, thousands of times over, keeps reusing a few voices:
// the idle voice the channel held before its first sound is given back, not lost.
TEST_F(ChannelTest, AllocatedChannelsPlayedOnReuseTheirVoices) {
    TSoundPtr sound = ConstantSound(1000, 10);
    for (int i = 0; i < 3000; ++i) {
        TChannelPtr channel = AllocChannel();
        ASSERT_TRUE(channel) << i;
        ASSERT_EQ(PlaySound(sound, channel), channel) << i;
        StopChannel(channel);
        MixLeft(64);
        MixLeft(64);
    }
    EXPECT_LE(mxo_Mixer()->voices.size(), 4u);
}

// The mixer keeps volume, pan and depth as 16-bit values: the mxo_ setters take whole ints and
// keep their low 16 bits, as the channel objects do, so an out-of-range value cannot overflow
// the gains on the audio thread.
TEST_F(ChannelTest, MixerSettersKeepSixteenBitsOfVolumePanAndDepth) {
    TSoundPtr sound = ConstantSound(1000, 1000, 1);
    const struct { int volume, pan, depth; std::vector<int16_t> expected; } cases[] = {
        {4096 + 65536, 0, 0, {1000, 1000}},          // volume 1.0
        {4096, 65536 + 4096, 0, {0, 1000}},          // pan full right
        {4096, 0, 65536 - 4096, {1000, -1000}},      // depth -1.0 inverts the right side
        {2048 - 131072, -65536, 0, {500, 500}},      // volume 0.5, centred
    };
    for (const auto& c : cases) {
        TChannelPtr channel = CueSound(sound);
        ASSERT_TRUE(channel);
        int handle = HandleOf(channel);
        mxo_SetChannelVolume(handle, c.volume);
        mxo_SetChannelPan(handle, c.pan);
        mxo_SetChannelDepth(handle, c.depth);
        ResumeChannel(channel);
        clock.Advance(20);
        std::vector<int16_t> out(4);
        MixAudioFrames(out.data(), 2);              // the first block takes pan and depth
        MixAudioFrames(out.data(), 1);
        EXPECT_EQ(std::vector<int16_t>(out.begin(), out.begin() + 2), c.expected) << c.volume << " " << c.pan;
        StopChannel(channel);
    }
}

TEST_F(ChannelTest, PausedChannelCountsAsPlayingUntilItsSoundEnds) {
    TChannelPtr channel = CueSound(ConstantSound(1000, 30));
    ASSERT_TRUE(channel);
    EXPECT_EQ(ChannelPlaying(channel), 1);
    EXPECT_EQ(MixLeft(4), std::vector<int>(4, 0));
    ResumeChannel(channel);
    EXPECT_EQ(MixLeft(4), std::vector<int>(4, 1000));
    PauseChannel(channel);
    EXPECT_EQ(ChannelPlaying(channel), 1);
    ResumeChannel(channel);
    MixLeft(64);
    EXPECT_EQ(ChannelPlaying(channel), 0);
    PauseChannel(channel);                          // a finished channel does not come back
    EXPECT_EQ(ChannelPlaying(channel), 0);
}

// A streaming voice gives out the frames written to it in order, across many turns of its ring;
// where the writer falls behind it gives silence, never data played before, and it goes on with
// the next written frame. A writer cannot get further ahead than the ring holds.
TEST_F(ChannelTest, StreamGivesWrittenFramesInOrderAndSilenceWhenTheWriterFallsBehind) {
    mixora::sample* stream = mxo_CreateSound(-1, 16, 1, 44100, nullptr, 0);
    ASSERT_NE(stream, nullptr);
    int handle = mxo_PlaySound(stream, 0, 0);
    ASSERT_NE(handle, 0);
    EXPECT_EQ(mxo_ChannelStatus(handle), mixora::VOICE_STREAM);
    int next = 0;                                   // the value of the next frame to write
    auto write = [&](int frames) {
        std::vector<int16_t> values;
        for (int i = 0; i < frames; ++i) values.push_back(int16_t(next++ % 20000 - 10000));
        return mxo_WriteSound(stream, values.data(), frames);
    };
    int expected = 0;                               // the value of the next frame to hear
    for (int turn = 0; turn < 40; ++turn) {         // 94600 frames: the ring turns over
        int written = 1000 + turn * 70;             // the writer falls behind by less each turn
        ASSERT_EQ(write(written), written);
        std::vector<int> heard = MixLeft(4000);
        for (int i = 0; i < 4000; ++i) {
            int want = i < written ? int16_t(expected++ % 20000 - 10000) : 0;
            ASSERT_EQ(heard[size_t(i)], want) << "turn " << turn << " frame " << i;
        }
    }
    EXPECT_EQ(write(mixora::kStreamFrames + 100), mixora::kStreamFrames);   // as much as the ring holds
    EXPECT_EQ(write(1), 0);
    std::vector<int> heard = MixLeft(2);
    EXPECT_EQ(heard, (std::vector<int>{expected % 20000 - 10000, (expected + 1) % 20000 - 10000}));
    EXPECT_EQ(write(2), 2);                         // played frames make room again
    EXPECT_EQ(ChannelPlaying(std::make_shared<TMixoraChannel>(handle)), 1);
    mxo_StopChannel(handle);
    EXPECT_EQ(mxo_ChannelStatus(handle), mixora::VOICE_STOPPED);
    mxo_FreeSound(stream);
}

TEST(SystemOutput, DeviceThreadMixesASoundToItsEnd) {
    InstallPlatform(SDLPlatform());   // the system's output is SDL's
    ASSERT_TRUE(StartAudio(TAudioOutputMode::System));
    TChannelPtr channel = PlaySound(ConstantSound(1000, 441));   // perhaps while SDL still opens
    ASSERT_TRUE(channel);
    if (!mxo_AwaitOutput()) {
        StopAudio();
        GTEST_SKIP() << "no audio device";
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ChannelPlaying(channel) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(ChannelPlaying(channel), 0);
    std::vector<int16_t> out(4, 7);
    MixAudioFrames(out.data(), 2);                  // the device mixes; by hand gives silence
    EXPECT_EQ(out, std::vector<int16_t>(4, 0));
    StopAudio();
}

TEST(AudioClock, VoicesKeepTheSystemClockInstalledAtStartEvenWhenTheDriverIsSwapped) {
    TFakeClock atStart(5000);
    ASSERT_TRUE(StartAudio(TAudioOutputMode::Manual));
    TFakeClock later(5000);                         // the mixer must not follow the swap
    TChannelPtr channel = PlaySound(ConstantSound(1000, 100));
    ASSERT_TRUE(channel);
    atStart.now += 20;                              // the start latency passes on the mixer's clock
    std::vector<int16_t> out(2);
    MixAudioFrames(out.data(), 1);
    EXPECT_EQ(out[0], 1000);
    StopAudio();
}

TEST(AudioWithoutOutput, EverythingIsHarmless) {
    StopAudio();
    EXPECT_EQ(LoadSound(TAudioSample::Create(10, 44100, SF_MONO16LE)), nullptr);
    EXPECT_EQ(PlaySound(nullptr), nullptr);
    EXPECT_EQ(AllocChannel(), nullptr);
    EXPECT_EQ(ChannelPlaying(nullptr), 0);
    StopChannel(nullptr);
    std::vector<int16_t> out(8, 7);
    MixAudioFrames(out.data(), 4);
    EXPECT_EQ(out, std::vector<int16_t>(8, 0));
    EXPECT_EQ(mxo_PlaySound(nullptr, 0, 5), 5);
    EXPECT_EQ(mxo_ChannelStatus(4097), 0);
}

}  // namespace
