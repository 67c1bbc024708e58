// Writing a loop as a RIFF WAVE file: "fmt ", "data", then the metadata chunks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What goes into one file besides the samples.
struct WavInfo {
    std::string title;    // INAM
    std::string artist;   // IART
    std::string comment;  // ICMT, padded with spaces to bring the file to its size
    std::string software; // ISFT
    bool loopMarkers = false;  // add "acid" (32 beats of 4/4 at 120 bpm, root C) and "smpl"
    uint32_t fileSize = 0;     // the exact size the whole file must have
};

// The whole file: 16-bit stereo PCM at 22050 Hz, interleaved left then right.
// Throws when the metadata cannot make up the requested size.
std::vector<uint8_t> WavBytes(const std::vector<int16_t>& interleaved, const WavInfo& info);
