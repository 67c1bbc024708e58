// The system output opens on a thread of its own: the game goes on meanwhile, the sounds it plays
// wait for the device, a device that never comes leaves the game silent, and quitting in the
// middle waits for the opening and closes what it opened.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/mixora.h"
#include "audio/sample.h"
#include "audio/sound.h"
#include "audio_clock.h"
#include "platform/platform.h"

namespace {

// An output whose opening lasts until the test answers it. Opened on the test's own thread it
// answers "open" at once (so a start-up that waits for it fails the test instead of hanging).
struct TSlowOutput : TAudioOutputDriver {
    std::mutex lock;
    std::condition_variable changed;
    const std::thread::id testThread = std::this_thread::get_id();
    std::thread::id openThread;
    bool entered = false;               // Open was called
    bool answered = false;              // the test answered ...
    bool answer = false;                // ... with this
    bool openEnded = false;             // Open returned
    bool open = false;                  // between a successful Open and Close
    bool closedWhileOpening = false;    // Close came before Open returned
    int closes = 0;
    TAudioFeed feed = nullptr;
    void* context = nullptr;

    bool Open(TAudioFeed f, void* c) override {
        std::unique_lock<std::mutex> hold(lock);
        entered = true;
        openThread = std::this_thread::get_id();
        changed.notify_all();
        if (openThread != testThread) changed.wait(hold, [&] { return answered; });
        bool ok = openThread == testThread || answer;
        if (ok) {
            feed = f;
            context = c;
            open = true;
        }
        openEnded = true;
        return ok;
    }
    void Close() override {
        std::lock_guard<std::mutex> hold(lock);
        closedWhileOpening |= !openEnded;
        ++closes;
        open = false;
        feed = nullptr;
    }

    // Waits until the opening has begun.
    void AwaitOpening() {
        std::unique_lock<std::mutex> hold(lock);
        changed.wait(hold, [&] { return entered; });
    }
    // Lets the opening end, with a device (true) or without.
    void Answer(bool ok) {
        std::lock_guard<std::mutex> hold(lock);
        answered = true;
        answer = ok;
        changed.notify_all();
    }
    // Pulls frames frames on a thread of its own, as the device's thread does; the left values.
    std::vector<int> PullLeft(int frames) {
        std::vector<int16_t> out(size_t(frames) * 2);
        std::thread device([&] { feed(context, out.data(), frames); });
        device.join();
        std::vector<int> left;
        for (int i = 0; i < frames; ++i) left.push_back(out[size_t(2 * i)]);
        return left;
    }
};

// A 44100 Hz 16-bit mono sound holding value for frames frames.
TSoundPtr ConstantSound(int value, int frames) {
    TAudioSamplePtr sample = TAudioSample::Create(frames, 44100, SF_MONO16LE);
    auto* data = reinterpret_cast<int16_t*>(sample->samples);
    for (int i = 0; i < frames; ++i) data[i] = static_cast<int16_t>(value);
    return LoadSound(sample, 0);
}

// Installs output as the system's audio output for a test, and the headless platform after it.
struct OutputOpening : ::testing::Test {
    TSlowOutput output;
    TMixerClock clock;

    void SetUp() override { InstallPlatform({nullptr, nullptr, &output}); }
    void TearDown() override {
        StopAudio();
        InstallPlatform(TPlatform{});
    }
};

TEST_F(OutputOpening, SoundsPlayedWhileTheDeviceOpensAreHeardWhenItPulls) {
    ASSERT_TRUE(StartAudio(TAudioOutputMode::System, clock.Source()));
    output.AwaitOpening();
    ASSERT_NE(output.openThread, std::this_thread::get_id()) << "the start-up waited for the device";
    EXPECT_EQ(mxo_OutputState(), TAudioOutputState::Opening);

    // The game loads and plays while the device is still being reached.
    TSoundPtr loud = ConstantSound(1000, 441);
    TSoundPtr soft = ConstantSound(300, 441);
    ASSERT_TRUE(loud && soft);
    TChannelPtr first = PlaySound(loud);
    TChannelPtr second = PlaySound(soft);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(ChannelPlaying(first) + ChannelPlaying(second), 2);

    clock.Advance(150);   // the device takes its time
    output.Answer(true);
    ASSERT_TRUE(mxo_AwaitOutput());
    EXPECT_EQ(mxo_OutputState(), TAudioOutputState::Open);
    // Both waited in the ring and start together, from their first frame, at the first block.
    EXPECT_EQ(output.PullLeft(441), std::vector<int>(441, 1300));
    EXPECT_EQ(output.PullLeft(64), std::vector<int>(64, 0));
    EXPECT_EQ(ChannelPlaying(first) + ChannelPlaying(second), 0);

    TChannelPtr later = PlaySound(loud);   // and the open device goes on taking new ones
    ASSERT_TRUE(later);
    clock.Advance(20);
    EXPECT_EQ(output.PullLeft(8), std::vector<int>(8, 1000));

    StopAudio();
    EXPECT_EQ(output.closes, 1);
    EXPECT_FALSE(output.open);
}

TEST_F(OutputOpening, NoDeviceAfterAllLeavesTheGameSilentAsIfNoneHadOpened) {
    ASSERT_TRUE(StartAudio(TAudioOutputMode::System, clock.Source()));
    output.AwaitOpening();
    TSoundPtr loaded = ConstantSound(1000, 441);   // loaded while it looked hopeful
    ASSERT_TRUE(loaded);
    TChannelPtr playing = PlaySound(loaded);
    ASSERT_TRUE(playing);

    output.Answer(false);
    EXPECT_FALSE(mxo_AwaitOutput());
    // The game's next audio call finds the services stopped: nothing loads, plays or waits.
    EXPECT_EQ(PlaySound(loaded), nullptr);
    EXPECT_EQ(AudioDriver(), nullptr);
    EXPECT_EQ(mxo_Mixer(), nullptr);
    EXPECT_EQ(ChannelPlaying(playing), 0);
    EXPECT_EQ(LoadSound(TAudioSample::Create(10, 44100, SF_MONO16LE)), nullptr);
    EXPECT_EQ(AllocChannel(), nullptr);
    EXPECT_EQ(output.closes, 0);   // nothing was opened, so nothing is closed
    loaded.reset();                // the sound outlives the mixer harmlessly

    // A later start tries again.
    output.entered = false;
    output.answered = false;
    ASSERT_TRUE(StartAudio(TAudioOutputMode::System, clock.Source()));
    output.Answer(true);
    EXPECT_TRUE(mxo_AwaitOutput());
    EXPECT_TRUE(AudioDriver());
}

TEST_F(OutputOpening, QuittingWhileTheDeviceOpensWaitsForItAndClosesWhatOpened) {
    for (bool device : {true, false}) {
        SCOPED_TRACE(device ? "the device opens" : "no device");
        output.entered = false;
        output.answered = false;
        output.openEnded = false;
        output.closes = 0;
        ASSERT_TRUE(StartAudio(TAudioOutputMode::System, clock.Source()));
        output.AwaitOpening();
        TChannelPtr channel = PlaySound(ConstantSound(1000, 44100));
        ASSERT_TRUE(channel);
        // The answer comes while the game is quitting (the pause only makes that the likely
        // order; either order must end the same).
        std::thread answer([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            output.Answer(device);
        });
        StopAudio();
        answer.join();
        EXPECT_TRUE(output.openEnded);
        EXPECT_FALSE(output.closedWhileOpening);
        EXPECT_EQ(output.closes, device ? 1 : 0);
        EXPECT_FALSE(output.open);
        EXPECT_EQ(mxo_Mixer(), nullptr);
        EXPECT_EQ(mxo_OutputState(), TAudioOutputState::None);
        EXPECT_EQ(PlaySound(ConstantSound(1000, 10)), nullptr);
    }
}

TEST(OutputOpeningHeadless, TheHeadlessOutputStartsNoMixerAndNoOpening) {
    InstallPlatform(TPlatform{});   // what a muted game installs
    EXPECT_FALSE(StartAudio(TAudioOutputMode::System));
    EXPECT_EQ(AudioDriver(), nullptr);
    EXPECT_EQ(mxo_Mixer(), nullptr);
    EXPECT_EQ(mxo_OutputState(), TAudioOutputState::None);
}

}  // namespace
