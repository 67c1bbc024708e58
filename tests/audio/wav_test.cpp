// The WAV reader against the WAV files of tests/data/wav (whose README says what each must give)
// and the few made at its own limits (wav_inputs.h); then the loader chain around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>

#include "audio/sample.h"
#include "audio/wav_inputs.h"
#include "platform/error.h"
#include "platform/stream.h"
#include "support/temp_dir.h"

namespace {

const std::string kCorpus = std::string(KESTRAVA_TESTDATA) + "/wav/";

TBytes ReadBytes(const std::string& path) {
    const std::string bytes = ReadFile(path);
    return TBytes(bytes.begin(), bytes.end());
}

TAudioSamplePtr LoadBytes(const TBytes& bytes) {
    TStreamPtr stream = CreateRamStream(bytes.data(), static_cast<int>(bytes.size()), 1, 0);
    return LoadAudioSample(*stream);
}

// A file that loads holds the frames at the start of its first "data" chunk, in a copy of its own
// (the stream's bytes may go away); format 0: refused.
void ExpectLoadsAs(const TAudioSamplePtr& sample, const TBytes& file, int format, int hertz, int frames) {
    if (!format) {
        EXPECT_EQ(sample, nullptr);
        return;
    }
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->format, format);
    EXPECT_EQ(sample->hertz, hertz);
    ASSERT_EQ(sample->length, frames);
    const char tag[] = "data";
    auto data = std::search(file.begin(), file.end(), tag, tag + 4) + 8;
    ASSERT_LE(size_t(frames) * BytesPerSample(format), size_t(file.end() - data));
    EXPECT_TRUE(std::equal(data, data + frames * BytesPerSample(format), sample->samples)) << "sample values";
    EXPECT_EQ(sample->samples, sample->owned.data());
}

// What a file must load as (format 0: refused).
struct TOutcome {
    const char* file;
    int format = 0, hertz = 0, frames = 0;
};

TEST(WavReader, EveryTestFileLoadsItsFramesOrIsRefusedAsItsReadmeSays) {
    const TOutcome outcomes[] = {
        {"pcm8-mono.wav", SF_MONO8, 22050, 1103},
        {"pcm8-stereo.wav", SF_STEREO8, 22050, 1103},
        {"pcm16-mono.wav", SF_MONO16LE, 22050, 1103},
        {"pcm16-stereo.wav", SF_STEREO16LE, 44100, 2205},
        {"pcm16-stereo-list-before-data.wav", SF_STEREO16LE, 22050, 441},
        {"pcm16-stereo-fmt18.wav", SF_STEREO16LE, 22050, 441},
        {"pcm16-stereo-data-then-metadata.wav", SF_STEREO16LE, 22050, 441},
        {"odd-data-size.wav", SF_STEREO16LE, 22050, 441},
        {"pcm24-stereo.wav"}, {"float32-stereo.wav"}, {"alaw-mono.wav"}, {"ima-adpcm-mono.wav"},
        {"riff-bigendian.aiff"}, {"junk-before-fmt.wav"}, {"no-data-chunk.wav"}, {"truncated-data.wav"},
        {"huge-data-size.wav"}, {"huge-chunk-before-data.wav"}, {"fmt-too-short.wav"}, {"zero-channels.wav"},
        {"not-riff.wav"}, {"empty.wav"}};
    // Every file of the folder but its README is in the table.
    auto files = std::distance(std::filesystem::directory_iterator(kCorpus), std::filesystem::directory_iterator());
    EXPECT_EQ(size_t(files) - 1, std::size(outcomes));
    for (const auto& e : outcomes) {
        SCOPED_TRACE(e.file);
        ExpectLoadsAs(LoadAudioSample(kCorpus + e.file), ReadBytes(kCorpus + e.file), e.format, e.hertz, e.frames);
    }
}

TEST(WavReader, FilesAtTheReadersOwnLimitsLoadOrAreRefused) {
    for (const TWavFile& file : WavFiles()) {
        SCOPED_TRACE(file.name + ": " + file.why);
        ExpectLoadsAs(LoadBytes(file.bytes), file.bytes, file.format, file.hertz, file.frames);
    }
}

// In the header a short read ends the reader; in the samples the declared size is more than the
// file holds.
TEST(WavReader, EveryCutOfAFileIsRefused) {
    for (const char* name : {"pcm16-stereo.wav", "pcm16-stereo-fmt18.wav"}) {
        TBytes file = ReadBytes(kCorpus + name);
        ASSERT_NE(LoadBytes(file), nullptr) << name;
        for (size_t n = 0; n < file.size(); n += n < 64 ? 1 : 97)
            EXPECT_EQ(LoadBytes(TBytes(file.begin(), file.begin() + n)), nullptr) << name << " cut at " << n;
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
    bool shortRead = false;
    int calls = 0;
    TAudioSamplePtr LoadAudioSample(TStream& stream) override {
        ++calls;
        EXPECT_EQ(stream.Pos(), 0);                 // every loader starts at the noted position
        stream.ReadByte();
        if (shortRead) throw TStreamReadError();
        return answer;
    }
};

TEST(LoaderChain, NewestLoaderIsAskedFirstAndAShortReadMeansNotThisLoader) {
    StartAudioLoaders();
    const std::string path = kCorpus + "pcm8-mono.wav";
    FixedLoader older;
    older.answer = TAudioSample::Create(7, 8000, SF_MONO8);
    FixedLoader newer;
    newer.shortRead = true;
    TAudioSamplePtr sample = LoadAudioSample(path);
    EXPECT_EQ(newer.calls, 1);
    EXPECT_EQ(older.calls, 1);
    EXPECT_EQ(sample, older.answer);
}

}  // namespace
