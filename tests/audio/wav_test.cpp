// The WAV reader and the loader chain, against real files and a few hand-made ones.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "audio/sample.h"
#include "platform/error.h"
#include "platform/stream.h"

namespace {

std::string wavpath(const std::string& name) {
    return std::string(KESTRAVA_TESTDATA) + "/wav/" + name;
}

TEST(WavReader, EveryTestFileLoadsOrIsRefusedAsItsReadmeSays) {
    const struct { const char* file; int format, hertz, frames; } loads[] = {
        {"pcm8-mono.wav", SF_MONO8, 22050, 1103},
        {"pcm8-stereo.wav", SF_STEREO8, 22050, 1103},
        {"pcm16-mono.wav", SF_MONO16LE, 22050, 1103},
        {"pcm16-stereo.wav", SF_STEREO16LE, 44100, 2205},
        {"pcm16-stereo-list-before-data.wav", SF_STEREO16LE, 22050, 441},
        {"pcm16-stereo-fmt18.wav", SF_STEREO16LE, 22050, 441},
        {"pcm16-stereo-data-then-metadata.wav", SF_STEREO16LE, 22050, 441},
        {"odd-data-size.wav", SF_STEREO16LE, 22050, 441}};
    for (const auto& e : loads) {
        SCOPED_TRACE(e.file);
        TAudioSamplePtr sample = LoadAudioSample(wavpath(e.file));
        ASSERT_NE(sample, nullptr);
        EXPECT_EQ(sample->format, e.format);
        EXPECT_EQ(sample->hertz, e.hertz);
        EXPECT_EQ(sample->length, e.frames);
        EXPECT_EQ(sample->owned.size(), size_t(e.frames) * BytesPerSample(e.format));
        if (e.frames != 441) continue;
        const auto* values = reinterpret_cast<const int16_t*>(sample->samples);
        int mismatches = 0;   // the tone files hold their exact sample values
        for (int i = 0; i < 441; ++i) {
            mismatches += values[2 * i] != static_cast<int>(8000 * std::sin(2 * M_PI * 440 * i / 22050));
            mismatches += values[2 * i + 1] != static_cast<int>(8000 * std::sin(2 * M_PI * 660 * i / 22050));
        }
        EXPECT_EQ(mismatches, 0);
    }
    for (const char* refused : {"pcm24-stereo.wav", "float32-stereo.wav", "alaw-mono.wav", "ima-adpcm-mono.wav",
                                "riff-bigendian.aiff", "junk-before-fmt.wav", "no-data-chunk.wav",
                                "truncated-data.wav", "huge-data-size.wav", "huge-chunk-before-data.wav",
                                "fmt-too-short.wav", "zero-channels.wav", "not-riff.wav", "empty.wav"})
        EXPECT_EQ(LoadAudioSample(wavpath(refused)), nullptr) << refused;
}

// A stream that cannot tell its position.
struct UnseekableStream : TRamStream {
    int Pos() override { return -1; }
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

}  // namespace
