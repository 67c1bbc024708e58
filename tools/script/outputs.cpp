#include "tools/script/outputs.h"

namespace {

void Put32(std::string& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>(v >> shift);
}

void Put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v);
    out += static_cast<char>(v >> 8);
}

std::string WavHeader(uint32_t frames) {
    const uint32_t bytes = frames * 4;
    std::string out = "RIFF";
    Put32(out, 36 + bytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);          // PCM
    Put16(out, 2);          // stereo
    Put32(out, 44100);
    Put32(out, 44100 * 4);
    Put16(out, 4);
    Put16(out, 16);
    out += "data";
    Put32(out, bytes);
    return out;
}

}  // namespace

bool TWavWriter::Open(const std::string& path, std::string* error) {
    frames_ = 0;
    return file_.Open(path, "the audio capture", TOutputFile::TMode::Whole, error) && file_.Write(WavHeader(0));
}

bool TWavWriter::Append(const int16_t* samples, int frames) {
    bytes_.clear();
    for (int i = 0; i < frames * 2; ++i) Put16(bytes_, static_cast<uint16_t>(samples[i]));
    frames_ += static_cast<uint32_t>(frames);
    return file_.Write(bytes_);
}

bool TWavWriter::Close(std::string* error) {
    if (file_.IsOpen()) file_.WriteAt(0, WavHeader(frames_));
    return file_.Close(error);
}
