// A sound embedded in the program plays from its embedded bytes, not from a copy.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "audio/sample.h"
#include "audio/sound.h"
#include "audio_clock.h"
#include "platform/stream.h"

namespace {

const std::vector<int16_t> kValues = {100, -200, 300, 32767, -32768};

// A 44100 Hz 16-bit mono WAV of kValues whose "data" chunk starts at an odd offset (after a
// one-byte chunk, with no pad byte), as the embedded files' chunks may; *dataOffset tells where.
std::vector<uint8_t> OddlyPlacedWav(size_t* dataOffset) {
    std::vector<uint8_t> file;
    file.reserve(64);
    auto bytes = [&](const void* p, size_t n) {
        auto* b = static_cast<const uint8_t*>(p);
        file.insert(file.end(), b, b + n);
    };
    auto u32 = [&](uint32_t v) { bytes(&v, 4); };
    auto u16 = [&](uint16_t v) { bytes(&v, 2); };
    uint32_t dataBytes = uint32_t(kValues.size() * 2);
    bytes("RIFF", 4); u32(4 + 24 + 9 + 8 + dataBytes); bytes("WAVE", 4);
    bytes("fmt ", 4); u32(16); u16(1); u16(1); u32(44100); u32(88200); u16(2); u16(16);
    bytes("note", 4); u32(1); file.push_back('x');
    bytes("data", 4); u32(dataBytes);
    *dataOffset = file.size();
    bytes(kValues.data(), dataBytes);
    return file;
}

TEST(SoundLoading, AnEmbeddedLoopIsPlayedFromItsEmbeddedBytes) {
    StartStreams();
    static size_t offset = 0;
    static const std::vector<uint8_t> file = OddlyPlacedWav(&offset);   // registered for the whole run
    static const bool registered = IncbinAdd("held-once.wav", file.data(), int(file.size())) != 0;
    ASSERT_TRUE(registered);
    ASSERT_EQ(offset % 2, 1u);

    TAudioSamplePtr sample = LoadAudioSample("incbin::held-once.wav");
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->samples, file.data() + offset);          // no copy at load
    EXPECT_TRUE(sample->owned.empty());

    TMixerClock clock;
    ASSERT_TRUE(StartAudio(TAudioOutputMode::Manual, clock.Source()));
    TSoundPtr sound = LoadSound("incbin::held-once.wav");
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(static_cast<TMixoraSound&>(*sound).sample->data, file.data() + offset);   // nor in the mixer
    ASSERT_NE(PlaySound(sound), nullptr);
    clock.Advance(20);
    std::vector<int16_t> out(2 * 7);
    MixAudioFrames(out.data(), 7);
    std::vector<int> left;
    for (int i = 0; i < 7; ++i) left.push_back(out[2 * i]);
    EXPECT_EQ(left, (std::vector<int>{100, -200, 300, 32767, -32768, 0, 0}));
    StopAudio();
}

}  // namespace
