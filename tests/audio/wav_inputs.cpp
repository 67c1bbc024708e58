#include "audio/wav_inputs.h"

#include <cmath>
#include <initializer_list>

#include "audio/sample.h"

namespace {

void Put16(TBytes& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(TBytes& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutTag(TBytes& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(tag[i]));
}

TBytes Join(std::initializer_list<TBytes> parts) {
    TBytes out;
    for (const TBytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A chunk with a declared size; the body may be shorter or longer than the size says.
TBytes Chunk(const char* tag, uint32_t size, const TBytes& body) {
    TBytes out;
    PutTag(out, tag);
    Put32(out, size);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

TBytes Chunk(const char* tag, const TBytes& body) { return Chunk(tag, uint32_t(body.size()), body); }

// The body of a "fmt " chunk: the 16 bytes every format has, then any extra bytes.
TBytes FmtBody(int formatTag, int channels, uint32_t hertz, int bits, const TBytes& extra = {}) {
    TBytes out;
    int align = channels * ((bits + 7) / 8);
    Put16(out, uint32_t(formatTag));
    Put16(out, uint32_t(channels));
    Put32(out, hertz);
    Put32(out, hertz * uint32_t(align));
    Put16(out, uint32_t(align));
    Put16(out, uint32_t(bits));
    out.insert(out.end(), extra.begin(), extra.end());
    return out;
}

TBytes Fmt(int formatTag, int channels, uint32_t hertz, int bits, const TBytes& extra = {}) {
    return Chunk("fmt ", FmtBody(formatTag, channels, hertz, bits, extra));
}

// "RIFF", the size of the rest, "WAVE", then the chunks.
TBytes Riff(std::initializer_list<TBytes> chunks, const char* riff = "RIFF", const char* wave = "WAVE") {
    TBytes body = Join(chunks), out;
    PutTag(out, riff);
    Put32(out, uint32_t(body.size() + 4));
    PutTag(out, wave);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// A metadata list as sound editors write it: the name of the program that made the file.
TBytes InfoList() {
    TBytes name = {'K', 'e', 's', 't', 'r', 'a', 'v', 'a', ' ', 't', 'e', 's', 't', 0};
    return Chunk("LIST", Join({{'I', 'N', 'F', 'O'}, Chunk("ISFT", name)}));
}

// count bytes of a pattern that differs from byte to byte and from file to file.
TBytes PatternBytes(size_t count, int seed) {
    TBytes out;
    for (size_t i = 0; i < count; ++i) out.push_back(uint8_t(i * 37 + (i >> 8) * 11 + size_t(seed) * 101));
    return out;
}

// 441 frames of 16-bit stereo: left = trunc(8000 sin(2 pi 440 i / 22050)), right the same at 660 Hz.
TBytes ToneFrames() {
    TBytes out;
    for (int i = 0; i < 441; ++i) {
        Put16(out, uint32_t(int16_t(8000 * std::sin(2 * M_PI * 440 * i / 22050))) & 0xFFFF);
        Put16(out, uint32_t(int16_t(8000 * std::sin(2 * M_PI * 660 * i / 22050))) & 0xFFFF);
    }
    return out;
}

TWavFile Loads(const char* name, TBytes bytes, int format, int hertz, int frames, TBytes samples, const char* why) {
    return TWavFile{name, std::move(bytes), format, hertz, frames, std::move(samples), why};
}

TWavFile Refused(const char* name, TBytes bytes, const char* why) {
    return TWavFile{name, std::move(bytes), 0, 0, 0, {}, why};
}

}  // namespace

std::vector<TWavFile> WavFiles() {
    const TBytes tone = ToneFrames();
    const TBytes mono8 = PatternBytes(1103, 1), stereo8 = PatternBytes(2206, 2);
    const TBytes mono16 = PatternBytes(2206, 3), stereo16 = PatternBytes(2205 * 4, 4);
    const TBytes stereoFmt = Fmt(1, 2, 22050, 16);
    const TBytes guidPcm = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                            0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    auto extensible = [&](int bits) {   // cbSize 22, valid bits, channel mask front left and right, PCM
        TBytes extra;
        Put16(extra, 22);
        Put16(extra, uint32_t(bits));
        Put32(extra, 3);
        extra.insert(extra.end(), guidPcm.begin(), guidPcm.end());
        return Fmt(0xFFFE, 2, 44100, bits, extra);
    };
    TBytes oddData = tone;
    oddData.push_back(0x5A);
    TBytes aiff;
    for (const char* tag : {"FORM", "\0\0\0\x2E", "AIFF", "COMM", "\0\0\0\x12"}) PutTag(aiff, tag);
    for (uint8_t b : {0, 2, 0, 0, 0, 100, 0, 16, 0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}) aiff.push_back(b);
    for (const char* tag : {"SSND", "\0\0\0\x08"}) PutTag(aiff, tag);
    aiff.resize(aiff.size() + 8, 0);

    std::vector<TWavFile> files = {
        // Plain PCM as sound editors write it, with a metadata list after the samples.
        Loads("pcm8-mono", Riff({Fmt(1, 1, 22050, 8), Chunk("data", mono8), {0}, InfoList()}), SF_MONO8, 22050,
              1103, mono8, "the data chunk has an odd size and a pad byte after it"),
        Loads("pcm8-stereo", Riff({Fmt(1, 2, 22050, 8), Chunk("data", stereo8), InfoList()}), SF_STEREO8, 22050,
              1103, stereo8, "8-bit stereo: two bytes per frame"),
        Loads("pcm16-mono", Riff({Fmt(1, 1, 22050, 16), Chunk("data", mono16), InfoList()}), SF_MONO16LE, 22050,
              1103, mono16, "16-bit mono"),
        Loads("pcm16-stereo", Riff({Fmt(1, 2, 44100, 16), Chunk("data", stereo16)}), SF_STEREO16LE, 44100, 2205,
              stereo16, "16-bit stereo at 44100 Hz"),
        // Chunks in other orders and sizes.
        Loads("pcm16-stereo-list-before-data", Riff({stereoFmt, InfoList(), Chunk("data", tone)}), SF_STEREO16LE,
              22050, 441, tone, "the LIST chunk before \"data\" is skipped"),
        Loads("pcm16-stereo-fmt18", Riff({Fmt(1, 2, 22050, 16, {0, 0}), Chunk("data", tone)}), SF_STEREO16LE, 22050,
              441, tone, "the 2 extra bytes of the 18-byte \"fmt \" chunk are skipped"),
        Loads("pcm16-stereo-data-then-metadata",
              Riff({stereoFmt, Chunk("data", tone), InfoList(), Chunk("junk", 0xFFFFFFF0u, {1, 2, 3})}),
              SF_STEREO16LE, 22050, 441, tone, "the chunks after \"data\" are never read"),
        Loads("odd-data-size", Riff({stereoFmt, Chunk("data", oddData)}), SF_STEREO16LE, 22050, 441, tone,
              "the data size is one byte more than 441 whole frames: the part frame is left out"),
        Loads("odd-chunk-before-data", Riff({stereoFmt, Chunk("note", {'o', 'd', 'd'}), Chunk("data", tone)}),
              SF_STEREO16LE, 22050, 441, tone, "chunk sizes are used as they stand: no pad byte after an odd one"),
        // Sample rates: up to 384000 Hz loads; none, negative or beyond that is refused.
        Loads("rate-384000", Riff({Fmt(1, 1, 384000, 16), Chunk("data", mono16)}), SF_MONO16LE, 384000, 1103,
              mono16, "the highest sample rate that loads"),
        Refused("rate-zero", Riff({Fmt(1, 1, 0, 16), Chunk("data", mono16)}),
                "a sample rate of 0: a one-shot of it would never end"),
        Refused("rate-negative", Riff({Fmt(1, 2, 0x80000000u, 16), Chunk("data", tone)}),
                "a sample rate negative as a signed 32-bit number"),
        Refused("rate-all-ones", Riff({Fmt(1, 1, 0xFFFFFFFFu, 8), Chunk("data", mono8)}),
                "a sample rate of -1 as a signed 32-bit number"),
        Refused("rate-over-384000", Riff({Fmt(1, 1, 384001, 16), Chunk("data", mono16)}),
                "a sample rate above 384000 Hz"),
        // Formats the reader does not play.
        Refused("pcm24-stereo", Riff({extensible(24), Chunk("data", PatternBytes(600, 5))}),
                "WAVE_FORMAT_EXTENSIBLE (tag 65534), 24 bits"),
        Refused("pcm16-stereo-extensible", Riff({extensible(16), Chunk("data", tone)}),
                "WAVE_FORMAT_EXTENSIBLE (tag 65534) even around 16-bit PCM"),
        Refused("float32-stereo", Riff({Fmt(3, 2, 44100, 32, {0, 0}), Chunk("data", PatternBytes(800, 6))}),
                "format tag 3 (IEEE float)"),
        Refused("alaw-mono", Riff({Fmt(6, 1, 8000, 8, {0, 0}), Chunk("data", PatternBytes(400, 7))}),
                "format tag 6 (A-law)"),
        Refused("ima-adpcm-mono", Riff({Fmt(17, 1, 22050, 4, {2, 0, 0xF9, 0x01}), Chunk("data", PatternBytes(512, 8))}),
                "format tag 17 (IMA ADPCM)"),
        Refused("pcm16-three-channels", Riff({Fmt(1, 3, 22050, 16), Chunk("data", PatternBytes(600, 9))}),
                "three channels"),
        Refused("pcm12-mono", Riff({Fmt(1, 1, 22050, 12), Chunk("data", PatternBytes(600, 10))}), "12 bits"),
        Refused("zero-channels", Riff({Fmt(1, 0, 22050, 16), Chunk("data", tone)}), "0 channels"),
        // Files that are not RIFF WAVE.
        Refused("riff-bigendian.aiff", aiff, "an AIFF file, not RIFF"),
        Refused("not-riff", Riff({stereoFmt, Chunk("data", tone)}, "RIFX"), "\"RIFX\" instead of \"RIFF\""),
        Refused("not-wave", Riff({stereoFmt, Chunk("data", tone)}, "RIFF", "AVI "), "a RIFF file of another kind"),
        Refused("empty", {}, "no bytes at all"),
        // Damaged or hostile chunks.
        Refused("junk-before-fmt", Riff({Chunk("JUNK", TBytes(28, 0)), stereoFmt, Chunk("data", tone)}),
                "\"fmt \" must be the first chunk"),
        Refused("no-data-chunk", Riff({stereoFmt, InfoList()}), "no \"data\" chunk"),
        Refused("truncated-data", Riff({stereoFmt, Chunk("data", 441 * 4, TBytes(tone.begin(), tone.begin() + 1000))}),
                "\"data\" declares more bytes than the file holds"),
        Refused("huge-data-size", Riff({stereoFmt, Chunk("data", 0x7FFFFFF0u, TBytes(tone.begin(), tone.begin() + 64))}),
                "refused at once, without allocating anything near the declared 2 GiB"),
        Refused("data-size-over-2-gib", Riff({stereoFmt, Chunk("data", 0xFFFFFFF0u, TBytes(tone.begin(), tone.begin() + 64))}),
                "a data size that does not fit in a signed 32-bit number"),
        Refused("huge-chunk-before-data", Riff({stereoFmt, Chunk("LIST", 0xFFFFFFF0u, {}), Chunk("data", tone)}),
                "a chunk size of 0xFFFFFFF0 is a huge skip to the end, never a step backwards"),
        Refused("fmt-too-short",
                Riff({Chunk("fmt ", TBytes(stereoFmt.begin() + 8, stereoFmt.begin() + 8 + 8)), Chunk("data", tone)}),
                "the \"fmt \" chunk is shorter than 16 bytes"),
        Refused("fmt-size-huge", Riff({Chunk("fmt ", 0xFFFFFFF0u, FmtBody(1, 2, 22050, 16)), Chunk("data", tone)}),
                "the \"fmt \" chunk declares more bytes than the file holds"),
    };
    return files;
}

TWavFile WavFileNamed(const std::string& name) {
    for (TWavFile& file : WavFiles())
        if (file.name == name) return file;
    return {};
}
