// The WAV reader and the loader chain, against WAV files made in memory (audio/wav_inputs.h);
// then against a corpus of WAV files written by an audio tool and by hand (tests/data/wav, whose
// README says what each must give).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/sample.h"
#include "audio/wav_inputs.h"
#include "platform/error.h"
#include "platform/stream.h"
#include "support/temp_dir.h"

namespace {

TAudioSamplePtr LoadBytes(const TBytes& bytes) {
    TStreamPtr stream = CreateRamStream(bytes.data(), static_cast<int>(bytes.size()), 1, 0);
    return LoadAudioSample(*stream);
}

// Plain PCM in 8 and 16 bits, mono and stereo; metadata before and after the samples, a longer
// "fmt " chunk, odd sizes and padding: each loads with exactly the frames it was written with.
// Compressed, extensible and float formats, other channel counts and bit depths, other file
// kinds, missing, misplaced, truncated and hugely declared chunks: each is refused.
TEST(WavReader, EveryFileLoadsItsFramesOrIsRefused) {
    std::vector<TWavFile> files = WavFiles();
    ASSERT_GE(files.size(), 28u);
    for (const TWavFile& file : files) {
        SCOPED_TRACE(file.name + ": " + file.why);
        TAudioSamplePtr sample = LoadBytes(file.bytes);
        if (!file.format) {
            EXPECT_EQ(sample, nullptr);
            continue;
        }
        ASSERT_NE(sample, nullptr);
        EXPECT_EQ(sample->format, file.format);
        EXPECT_EQ(sample->hertz, file.hertz);
        EXPECT_EQ(sample->length, file.frames);
        EXPECT_EQ(sample->owned.size(), size_t(file.frames) * BytesPerSample(file.format));
        ASSERT_EQ(file.samples.size(), size_t(file.frames) * BytesPerSample(file.format));
        EXPECT_TRUE(std::equal(file.samples.begin(), file.samples.end(), sample->samples)) << "sample values";
    }
}

// A file cut anywhere before its last byte is refused: in the header a short read ends the
// reader, in the samples the declared size is more than the file holds.
TEST(WavReader, EveryCutOfAFileIsRefused) {
    for (const char* name : {"pcm16-stereo", "pcm16-stereo-fmt18"}) {
        TWavFile file = WavFileNamed(name);
        ASSERT_FALSE(file.bytes.empty()) << name;
        ASSERT_NE(LoadBytes(file.bytes), nullptr) << name;
        for (size_t n = 0; n < file.bytes.size(); n += n < 64 ? 1 : 97)
            EXPECT_EQ(LoadBytes(TBytes(file.bytes.begin(), file.bytes.begin() + n)), nullptr) << name << " cut at " << n;
    }
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

// The file is read from disk by its path, as the game reads its sounds.
TEST(LoaderChain, NewestLoaderIsAskedFirstAndAShortReadMeansNotThisLoader) {
    StartAudioLoaders();
    TTempDir dir;
    std::string path = dir.Write("pcm8-mono.wav", WavFileNamed("pcm8-mono").bytes);
    ASSERT_NE(LoadAudioSample(path), nullptr) << path;
    FixedLoader older;
    older.answer = TAudioSample::Create(7, 8000, SF_MONO8);
    FixedLoader newer;
    newer.shortread = true;
    TAudioSamplePtr sample = LoadAudioSample(path);
    EXPECT_EQ(newer.calls, 1);
    EXPECT_EQ(older.calls, 1);
    EXPECT_EQ(sample, older.answer);
}

// ---- The WAV corpus in tests/data/wav -----------------------------------------------------

const std::string kCorpus = std::string(KESTRAVA_TESTDATA) + "/wav/";
TEST(WavReaderCorpus, EveryTestFileLoadsOrIsRefusedAsItsReadmeSays) {
    ASSERT_TRUE(std::filesystem::is_directory(kCorpus)) << kCorpus;
    const struct { const char* file; int format, hertz, frames; } loads[] = {
        {"pcm8-mono.wav", SF_MONO8, 22050, 1103},
        {"pcm8-stereo.wav", SF_STEREO8, 22050, 1103},
        {"pcm16-mono.wav", SF_MONO16LE, 22050, 1103},
        {"pcm16-stereo.wav", SF_STEREO16LE, 44100, 2205},
        {"pcm16-stereo-list-before-data.wav", SF_STEREO16LE, 22050, 441},
        {"pcm16-stereo-fmt18.wav", SF_STEREO16LE, 22050, 441},
        {"pcm16-stereo-data-then-metadata.wav", SF_STEREO16LE, 22050, 441},
        {"odd-data-size.wav", SF_STEREO16LE, 22050, 441}};
    const TBytes tone = WavFileNamed("pcm16-stereo-fmt18").samples;   // the same 441 frames
    ASSERT_EQ(tone.size(), 441u * 4);
    for (const auto& e : loads) {
        SCOPED_TRACE(e.file);
        TAudioSamplePtr sample = LoadAudioSample(kCorpus + e.file);
        ASSERT_NE(sample, nullptr);
        EXPECT_EQ(sample->format, e.format);
        EXPECT_EQ(sample->hertz, e.hertz);
        EXPECT_EQ(sample->length, e.frames);
        EXPECT_EQ(sample->owned.size(), size_t(e.frames) * BytesPerSample(e.format));
        if (e.frames == 441) { EXPECT_TRUE(std::equal(tone.begin(), tone.end(), sample->samples)) << "tone values"; }
    }
    for (const char* refused : {"pcm24-stereo.wav", "float32-stereo.wav", "alaw-mono.wav", "ima-adpcm-mono.wav",
                                "riff-bigendian.aiff", "junk-before-fmt.wav", "no-data-chunk.wav",
                                "truncated-data.wav", "huge-data-size.wav", "huge-chunk-before-data.wav",
                                "fmt-too-short.wav", "zero-channels.wav", "not-riff.wav", "empty.wav"})
        EXPECT_EQ(LoadAudioSample(kCorpus + refused), nullptr) << refused;
}

}  // namespace
