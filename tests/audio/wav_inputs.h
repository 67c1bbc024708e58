// WAV files made in memory for the WAV reader's tests and the fuzz seeds: plain PCM in 8 and 16
// bits, mono and stereo; chunks in odd orders, odd sizes and padding; compressed and extensible
// formats; and damaged, truncated and hostile headers. What each must load as comes from the
// samples it was made of.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using TBytes = std::vector<uint8_t>;

struct TWavFile {
    std::string name;        // e.g. "pcm16-stereo-fmt18"
    TBytes bytes;
    int format = 0;          // the sample format it loads as (SF_*); 0 when it must be refused
    int hertz = 0;
    int frames = 0;
    TBytes samples;          // the bytes of the frames it must hold (frames * bytes per frame)
    std::string why;         // what the case is about
};

// Every case, loading ones first.
std::vector<TWavFile> WavFiles();

// The case of that name; an empty file named "" when there is none.
TWavFile WavFileNamed(const std::string& name);
