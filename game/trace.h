// What the game writes about itself beside playing: the per-pass trace (kestrava --trace,
// kestrava-script --trace) and the recording of a game (kestrava --record).
#pragma once

#include <fstream>
#include <string>

#include "game/kestrava.h"

class TRecordingSystemDriver;

// One JSON object with the game globals, the generator state and the list lengths.
std::string TraceLine(int frame);

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
    std::ofstream trace_;
    std::string tracePath_;
};
