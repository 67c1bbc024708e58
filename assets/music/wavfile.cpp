#include "assets/music/wavfile.h"

#include <stdexcept>

namespace {

// Appends a little-endian number of `bytes` bytes.
void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Appends a four-character tag.
void Tag(std::vector<uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

// Appends a chunk; an odd-sized body gets the pad byte RIFF asks for.
void Chunk(std::vector<uint8_t>& out, const char* tag, const std::vector<uint8_t>& body) {
    Tag(out, tag);
    Put(out, static_cast<uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2) out.push_back(0);
}

// A text of the INFO list, NUL-terminated and filled with NULs to `size` bytes (even).
std::vector<uint8_t> InfoText(const std::string& text, size_t size) {
    std::vector<uint8_t> body(text.begin(), text.end());
    body.resize(size, 0);
    return body;
}

// Size of an INFO text's body: the text, its NUL, and an even length.
size_t InfoSize(const std::string& text) {
    return (text.size() + 2) & ~size_t(1);
}

// The "acid" chunk: a loop, root note set, 32 beats of 4/4 at 120 bpm.
std::vector<uint8_t> AcidBody() {
    std::vector<uint8_t> b;
    Put(b, 0x02, 4);        // flags: not a one-shot, root note set
    Put(b, 60, 2);          // root note: middle C
    Put(b, 0x8000, 2);
    Put(b, 0, 4);           // float 0
    Put(b, 32, 4);          // beats
    Put(b, 4, 2);           // meter denominator
    Put(b, 4, 2);           // meter numerator
    Put(b, 0x42F00000, 4);  // float 120.0: tempo
    return b;
}

// The "smpl" chunk: unity note 60 and one forward loop over the whole sample.
std::vector<uint8_t> SmplBody(uint32_t frames) {
    std::vector<uint8_t> b;
    Put(b, 0, 4);      // manufacturer
    Put(b, 0, 4);      // product
    Put(b, 45351, 4);  // sample period in ns (1e9 / 22050)
    Put(b, 60, 4);     // MIDI unity note
    Put(b, 0, 4);      // pitch fraction
    Put(b, 0, 4);      // SMPTE format
    Put(b, 0, 4);      // SMPTE offset
    Put(b, 1, 4);      // sample loops
    Put(b, 0, 4);      // sampler data
    Put(b, 0, 4);      // cue point id
    Put(b, 0, 4);      // type: forward
    Put(b, 0, 4);      // start frame
    Put(b, frames - 1, 4);  // end frame (inclusive)
    Put(b, 0, 4);      // fraction
    Put(b, 0, 4);      // play count: endless
    return b;
}

}  // namespace

std::vector<uint8_t> WavBytes(const std::vector<int16_t>& interleaved, const WavInfo& info) {
    const uint32_t frames = static_cast<uint32_t>(interleaved.size() / 2);
    std::vector<uint8_t> out;
    Tag(out, "RIFF");
    Put(out, 0, 4);  // filled in at the end
    Tag(out, "WAVE");

    std::vector<uint8_t> fmt;
    Put(fmt, 1, 2);      // PCM
    Put(fmt, 2, 2);      // channels
    Put(fmt, 22050, 4);  // frames per second
    Put(fmt, 88200, 4);  // bytes per second
    Put(fmt, 4, 2);      // bytes per frame
    Put(fmt, 16, 2);     // bits per sample
    Chunk(out, "fmt ", fmt);

    Tag(out, "data");
    Put(out, frames * 4, 4);
    for (int16_t s : interleaved) Put(out, static_cast<uint16_t>(s), 2);

    if (info.loopMarkers) {
        Chunk(out, "acid", AcidBody());
        Chunk(out, "smpl", SmplBody(frames));
    }

    // The comment takes whatever room the other chunks leave, so the file has its size.
    const size_t fixed = 12 + 8 + InfoSize(info.title) + 8 + InfoSize(info.artist) + 8 +
                         InfoSize(info.software) + 8;
    if (info.fileSize < out.size() + fixed + InfoSize(info.comment) ||
        (info.fileSize - out.size() - fixed) % 2 != 0)
        throw std::runtime_error("the metadata cannot make up the file size");
    const size_t commentSize = info.fileSize - out.size() - fixed;

    std::vector<uint8_t> list;
    Tag(list, "INFO");
    Chunk(list, "INAM", InfoText(info.title, InfoSize(info.title)));
    Chunk(list, "IART", InfoText(info.artist, InfoSize(info.artist)));
    const std::string padded = info.comment + std::string(commentSize - info.comment.size() - 1, ' ');
    Chunk(list, "ICMT", InfoText(padded, commentSize));
    Chunk(list, "ISFT", InfoText(info.software, InfoSize(info.software)));
    Chunk(out, "LIST", list);

    const uint32_t riffSize = static_cast<uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(riffSize >> (8 * i));
    return out;
}
