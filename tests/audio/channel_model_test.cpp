// Channels and voices against a model: a long seeded random run of the public channel calls
// (TChannel and mxo_), checked after every step against what each channel must report and
// against bounds on the voices and channel slots alive.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "audio/sample.h"
#include "audio/sound.h"
#include "audio_clock.h"

namespace {

// A 44100 Hz 16-bit mono sound holding value for frames frames.
TSoundPtr ConstantSound(int value, int frames, int flags) {
    TAudioSamplePtr sample = TAudioSample::Create(frames, 44100, SF_MONO16LE);
    auto* data = reinterpret_cast<int16_t*>(sample->samples);
    for (int i = 0; i < frames; ++i) data[i] = static_cast<int16_t>(value);
    return LoadSound(sample, flags);
}

int HandleOf(const TChannelPtr& channel) {
    return static_cast<TMixoraChannel&>(*channel).handle;
}

// What a channel must report.
enum TModelState { MODEL_FRESH, MODEL_ONCE, MODEL_LOOP, MODEL_ENDED };

struct TModelChannel {
    TChannelPtr channel;
    TModelState state = MODEL_FRESH;
    bool paused = false;

    bool Playing() const { return state == MODEL_ONCE || state == MODEL_LOOP; }
};

constexpr int kMaxChannels = 16;
constexpr int kSteps = 20000;
constexpr uint32_t kSeed = 20261206;

TEST(ChannelModel, RandomCallsKeepEveryChannelAsTheModelSaysAndVoicesBounded) {
    TestClock clock;
    ASSERT_TRUE(StartAudio(TAudioOutputMode::Manual, clock.source()));
    // A one-shot ends within one long mix at any rate the run sets (at least 0.5).
    TSoundPtr once = ConstantSound(1000, 100, 0);
    TSoundPtr loop = ConstantSound(300, 50, 1);
    std::mt19937 random(kSeed);
    auto pick = [&](uint32_t n) { return int(random() % n); };
    const float rates[] = {0.5f, 1.0f, 2.0f};

    std::vector<TModelChannel> model;
    int leaked = 0;          // allocated channels dropped before anything played on them
    size_t mostVoices = 0;
    int mostSlots = 0;
    std::vector<int16_t> out(4096 * 2);

    for (int step = 0; step < kSteps; ++step) {
        int action = pick(14);
        std::string what;
        int i = model.empty() ? -1 : pick(uint32_t(model.size()));
        if (action == 0 && model.size() < kMaxChannels) {
            what = "allocate";
            TChannelPtr channel = AllocChannel();
            ASSERT_TRUE(channel) << step;
            model.push_back({channel, MODEL_FRESH, false});
        } else if (action <= 2) {
            bool looping = pick(3) == 0, cue = pick(4) == 0, onChannel = i >= 0 && pick(2) == 0;
            const TSoundPtr& sound = looping ? loop : once;
            what = std::string(cue ? "cue " : "play ") + (looping ? "loop" : "once") + (onChannel ? " on channel" : "");
            if (!onChannel && model.size() >= kMaxChannels) continue;
            TChannelPtr given = onChannel ? model[size_t(i)].channel : nullptr;
            TChannelPtr result = cue ? CueSound(sound, given) : PlaySound(sound, given);
            ASSERT_TRUE(result) << step << " " << what;
            TModelChannel played{result, looping ? MODEL_LOOP : MODEL_ONCE, cue};
            if (onChannel) {
                // A channel keeps its handle while it plays; only one that ended may have lost it.
                if (model[size_t(i)].Playing() || model[size_t(i)].state == MODEL_FRESH) {
                    ASSERT_EQ(result, given) << step << " " << what;
                }
                model[size_t(i)] = played;
            } else {
                model.push_back(played);
            }
        } else if (action == 3 && i >= 0) {
            what = "stop";
            StopChannel(model[size_t(i)].channel);
            if (model[size_t(i)].state != MODEL_FRESH) model[size_t(i)].state = MODEL_ENDED;
        } else if (action == 4 && i >= 0) {
            what = "free";
            // A channel that never played keeps its slot until something plays on it; now and
            // then one is dropped like that, otherwise it is given a sound first.
            if (model[size_t(i)].state == MODEL_FRESH) {
                if (pick(8) == 0) ++leaked;
                else ASSERT_EQ(PlaySound(once, model[size_t(i)].channel), model[size_t(i)].channel) << step;
            }
            StopChannel(model[size_t(i)].channel);
            model.erase(model.begin() + i);
        } else if (action == 5 && i >= 0) {
            what = "pause";
            PauseChannel(model[size_t(i)].channel);
            if (model[size_t(i)].Playing()) model[size_t(i)].paused = true;
        } else if (action == 6 && i >= 0) {
            what = "resume";
            ResumeChannel(model[size_t(i)].channel);
            model[size_t(i)].paused = false;
        } else if (action == 7 && i >= 0) {
            what = "settings";
            const TChannelPtr& channel = model[size_t(i)].channel;
            SetChannelVolume(channel, float(pick(9)) / 4.0f);
            SetChannelPan(channel, float(pick(9)) / 4.0f - 1.0f);
            SetChannelDepth(channel, pick(2) ? 1.0f : -1.0f);
            SetChannelRate(channel, rates[pick(3)]);
        } else if (action == 8 && i >= 0) {
            what = "mxo settings";   // any int: the mixer keeps 16 bits of volume, pan and depth
            int handle = HandleOf(model[size_t(i)].channel);
            mxo_SetChannelVolume(handle, int(random()));
            mxo_SetChannelPan(handle, int(random()));
            mxo_SetChannelDepth(handle, int(random()));
            mxo_SetChannelRate(handle, int(rates[pick(3)] * 65536));
        } else if (action == 9 && i >= 0) {
            what = "mxo pause";
            int paused = pick(2);
            mxo_SetChannelPaused(HandleOf(model[size_t(i)].channel), paused);
            if (model[size_t(i)].Playing()) model[size_t(i)].paused = paused != 0;
        } else if (action >= 10) {
            what = "mix";   // long enough for every one-shot that is not paused to end
            clock.advance(20);
            MixAudioFrames(out.data(), 4096);
            for (TModelChannel& m : model)
                if (m.state == MODEL_ONCE && !m.paused) m.state = MODEL_ENDED;
        } else {
            continue;
        }

        std::set<int> playingSlots;
        for (size_t k = 0; k < model.size(); ++k) {
            const TModelChannel& m = model[k];
            ASSERT_EQ(ChannelPlaying(m.channel), m.Playing() ? 1 : 0)
                << "step " << step << " (" << what << "), channel " << k << " state " << m.state;
            if (m.Playing()) {
                int status = mxo_ChannelStatus(HandleOf(m.channel));
                ASSERT_EQ((status & mixora::VOICE_PAUSED) != 0, m.paused) << "step " << step << " (" << what << ")";
                ASSERT_TRUE(playingSlots.insert(HandleOf(m.channel) & 4095).second)
                    << "step " << step << " (" << what << "): two playing channels share a slot";
            }
        }
        size_t voices = mxo_Mixer()->voices.size();
        int slots = mxo_ChannelsInUse();
        mostVoices = std::max(mostVoices, voices);
        mostSlots = std::max(mostSlots, slots);
        // Each channel holds a voice, old voices wait a block or two to come back, and a dropped
        // channel that never played keeps its placeholder.
        ASSERT_LE(voices, size_t(4 * kMaxChannels + leaked)) << "step " << step << " (" << what << ")";
        ASSERT_LE(slots, int(model.size()) + leaked + int(voices)) << "step " << step << " (" << what << ")";
        ASSERT_LE(slots, 2 * kMaxChannels + leaked) << "step " << step << " (" << what << ")";
    }
    RecordProperty("most_voices", int(mostVoices));
    RecordProperty("most_slots", mostSlots);
    std::printf("most voices %zu, most slots %d, leaked placeholders %d\n", mostVoices, mostSlots, leaked);
    StopAudio();
}

}  // namespace
