// What the game writes about itself beside playing: the per-pass trace (kestrava --trace,
// kestrava-script --trace) and the recording of a game (kestrava --record).
#pragma once

#include <fstream>
#include <string>

#include "game/kestrava.h"

class TRecordingSystemDriver;

// The trace file both programs write: after every pass, one JSON line with the pass number,
// the game globals, the generator state and the list lengths. Floats have 9 significant
// digits, so they read back to the same 32-bit value. Flushed every 30 passes, so a program
// that is killed leaves a trace of whole lines up to a recent pass.
class TTraceFile {
public:
    // Creates (or empties) the file; false with a one-line message when it cannot be written.
    bool Open(const std::string& path, std::string* error);
    // Whether the file was opened and is not closed yet.
    bool IsOpen() const { return file_.is_open(); }
    // Appends the line of this pass.
    void Write(int pass);
    // Closes the file; false with a message when a write failed. True when it was never opened.
    bool Close(std::string* error);

private:
    std::ofstream file_;
    std::string path_;
};

// The desktop game's --record and --trace files, written pass by pass as the game goes.
class TFlightLog {
public:
    // Creates the files asked for (an empty path asks for none), puts the recorder in front
    // of the installed platform's events and clock, and sets the hooks that write each pass.
    // False with a one-line message when a file cannot be written.
    bool Start(const std::string& recordPath, const std::string& tracePath, TGameHooks* hooks,
               std::string* error);
    // Writes the recording's end and closes the files; false with a message when a write failed.
    bool Finish(std::string* error);

private:
    // Never freed: the audio thread's clock reads through it until the program ends.
    TRecordingSystemDriver* recorder_ = nullptr;
    TTraceFile trace_;
};
