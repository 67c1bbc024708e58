// The WAV reader and the loader chain, against real files and a few hand-made ones.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "assets/embedded.h"
#include "audio/driver.h"
#include "audio/sample.h"
#include "platform/error.h"
#include "platform/stream.h"

namespace {

std::string wavpath(const std::string& name) {
    return std::string(KESTRAVA_TESTDATA) + "/wav/" + name;
}

struct Expected {
    const char* file;
    int format;     // 0: refused
    int hertz;
    int frames;
};

TEST(WavReader, EveryTestFileLoadsOrIsRefusedAsItsReadmeSays) {
    const Expected files[] = {
        {"pcm8-mono.wav", SF_MONO8, 22050, 1103},
        {"pcm8-stereo.wav", SF_STEREO8, 22050, 1103},
        {"pcm16-mono.wav", SF_MONO16LE, 22050, 1103},
        {"pcm16-stereo.wav", SF_STEREO16LE, 44100, 2205},
        {"pcm16-stereo-list-before-data.wav", SF_STEREO16LE, 22050, 441},
        {"pcm16-stereo-fmt18.wav", SF_STEREO16LE, 22050, 441},
        {"pcm16-stereo-data-then-metadata.wav", SF_STEREO16LE, 22050, 441},
        {"odd-data-size.wav", SF_STEREO16LE, 22050, 441},
        {"pcm24-stereo.wav", 0, 0, 0},
        {"float32-stereo.wav", 0, 0, 0},
        {"alaw-mono.wav", 0, 0, 0},
        {"ima-adpcm-mono.wav", 0, 0, 0},
        {"riff-bigendian.aiff", 0, 0, 0},
        {"junk-before-fmt.wav", 0, 0, 0},
        {"no-data-chunk.wav", 0, 0, 0},
        {"truncated-data.wav", 0, 0, 0},
        {"huge-data-size.wav", 0, 0, 0},
        {"huge-chunk-before-data.wav", 0, 0, 0},
        {"fmt-too-short.wav", 0, 0, 0},
        {"zero-channels.wav", 0, 0, 0},
        {"not-riff.wav", 0, 0, 0},
        {"empty.wav", 0, 0, 0},
    };
    for (const Expected& e : files) {
        SCOPED_TRACE(e.file);
        TAudioSamplePtr sample = LoadAudioSample(wavpath(e.file));
        if (!e.format) {
            EXPECT_EQ(sample, nullptr);
            continue;
        }
        ASSERT_NE(sample, nullptr);
        EXPECT_EQ(sample->format, e.format);
        EXPECT_EQ(sample->hertz, e.hertz);
        EXPECT_EQ(sample->length, e.frames);
        EXPECT_EQ(sample->owned.size(), size_t(e.frames) * BytesPerSample[e.format]);
    }
}

TEST(WavReader, ToneFilesHoldTheirExactSampleValues) {
    for (const char* file : {"pcm16-stereo-list-before-data.wav", "pcm16-stereo-fmt18.wav",
                             "pcm16-stereo-data-then-metadata.wav", "odd-data-size.wav"}) {
        SCOPED_TRACE(file);
        TAudioSamplePtr sample = LoadAudioSample(wavpath(file));
        ASSERT_NE(sample, nullptr);
        const auto* values = reinterpret_cast<const int16_t*>(sample->samples);
        int mismatches = 0;
        for (int i = 0; i < sample->length; ++i) {
            int left = static_cast<int>(8000 * std::sin(2 * M_PI * 440 * i / 22050));
            int right = static_cast<int>(8000 * std::sin(2 * M_PI * 660 * i / 22050));
            mismatches += values[2 * i] != left;
            mismatches += values[2 * i + 1] != right;
        }
        EXPECT_EQ(mismatches, 0);
    }
}

// A stream that cannot tell its position.
struct UnseekableStream : TStream {
    int Pos() override { return -1; }
    int Size() override { return 0; }
    int Seek(int) override { return -1; }
    int Read(void*, int) override { return 0; }
    int Write(const void*, int) override { return 0; }
};

TEST(LoaderChain, StreamWithoutPositionIsNotSeekable) {
    UnseekableStream stream;
    try {
        LoadAudioSample(stream);
        FAIL() << "no error raised";
    } catch (const TRuntimeError& error) {
        EXPECT_STREQ(error.what(), "Stream is not seekable");
    }
}

// A loader that reads one byte and answers with a fixed sample, or raises a short read.
struct FixedLoader : TAudioSampleLoader {
    TAudioSamplePtr answer;
    bool shortread = false;
    int calls = 0;
    TAudioSamplePtr LoadAudioSample(TStream& stream) override {
        ++calls;
        EXPECT_EQ(stream.Pos(), 0);                 // every loader starts at the noted position
        stream.ReadByte();
        if (shortread) throw TStreamReadError();
        return answer;
    }
};

TEST(LoaderChain, NewestLoaderIsAskedFirstAndAShortReadMeansNotThisLoader) {
    StartAudioLoaders();
    FixedLoader older;
    older.answer = TAudioSample::Create(7, 8000, SF_MONO8);
    FixedLoader newer;
    newer.shortread = true;
    TAudioSamplePtr sample = LoadAudioSample(wavpath("pcm8-mono.wav"));
    EXPECT_EQ(newer.calls, 1);
    EXPECT_EQ(older.calls, 1);
    EXPECT_EQ(sample, older.answer);
}

TEST(EmbeddedMusic, FirstLoopLoadsAs352000FramesOf22050HzStereoPlayedOnce) {
    StartStreams();
    TEmbeddedFile file = EmbeddedFile("sound1.wav");
    ASSERT_NE(file.data, nullptr);
    IncbinAdd("sound1.wav", file.data, file.length);
    ASSERT_TRUE(StartAudio(TAudioOutputMode::Manual));
    TSoundPtr sound = LoadSound("incbin::sound1.wav", 0);
    ASSERT_NE(sound, nullptr);
    auto& mixed = dynamic_cast<TMixoraSound&>(*sound);
    EXPECT_EQ(mixed.sample->length, 352000);
    EXPECT_EQ(mixed.sample->hertz, 22050);
    EXPECT_EQ(mixed.sample->channels, 2);
    EXPECT_EQ(mixed.sample->bits, 16);
    EXPECT_EQ(mixed.sample->loop, 0);
    sound.reset();
    StopAudio();
}

}  // namespace
