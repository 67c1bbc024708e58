// What the scripted runner writes beside the trace (game/trace.h): screenshots, the mixed audio.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Saves 8-bit RGBA rows (top row first) as an RGB PNG; false on failure.
bool WritePng(const std::string& path, const uint8_t* rgba, int width, int height);

// A 44100 Hz 16-bit stereo WAV written as frames arrive; the sizes are filled in by Close.
class TWavWriter {
  public:
    // Creates the file with a header of no frames yet; false when it cannot be written.
    bool Open(const std::string& path);
    // Adds interleaved left-right frames (nothing when the file is not open).
    void Append(const int16_t* samples, int frames);
    // Writes the sizes into the header and closes the file; false when any write failed.
    bool Close();
    ~TWavWriter();

  private:
    std::FILE* file_ = nullptr;
    uint32_t frames_ = 0;
    bool ok_ = true;
};
