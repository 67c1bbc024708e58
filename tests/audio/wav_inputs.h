// WAV files made in memory at the WAV reader's own limits, which the corpus in tests/data/wav
// does not reach: the highest sample rate and the rates beyond it, channel counts and bit depths
// other than 1-2 and 8-16, a RIFF file of another kind, and sizes beyond 2 GiB. The WAV tests
// and the fuzz seeds use them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using TBytes = std::vector<uint8_t>;

struct TWavFile {
    std::string name;        // e.g. "rate-zero"
    TBytes bytes;
    int format = 0;          // the sample format it loads as (SF_*); 0 when it must be refused
    int hertz = 0;
    int frames = 0;
    std::string why;         // what the case is about
};

// Every case.
std::vector<TWavFile> WavFiles();
