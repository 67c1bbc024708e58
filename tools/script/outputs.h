// What the scripted runner writes beside the trace (game/trace.h): the mixed audio (the
// screenshots are tools/script/display.h's). It takes its place only when complete
// (platform/output_file.h).
#pragma once

#include <cstdint>
#include <string>

#include "platform/output_file.h"

// A 44100 Hz 16-bit stereo WAV written as frames arrive; the sizes are filled in by Close.
class TWavWriter {
  public:
    // Starts the file with a header of no frames yet; false with a message when it cannot be written.
    bool Open(const std::string& path, std::string* error);
    // Whether the file was opened and is not closed yet.
    bool IsOpen() const { return file_.IsOpen(); }
    // Adds interleaved left-right frames; false once a write has failed (Error() says why).
    bool Append(const int16_t* samples, int frames);
    // Writes the sizes into the header and puts the complete file in place; false with a
    // message when a write failed. True when it was never opened.
    bool Close(std::string* error);
    // The first write that failed; empty while none has.
    const std::string& Error() const { return file_.Error(); }

  private:
    TOutputFile file_;
    uint32_t frames_ = 0;
    std::string bytes_;   // the frames of one Append, as the file holds them
};
