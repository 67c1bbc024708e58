// The scripted runner's command line.
#pragma once

#include <string>
#include <vector>

// --shot F:FILE: the picture after pass F, saved as a PNG.
struct TScriptShot {
    int frame = 0;
    std::string path;
};

struct TScriptOptions {
    bool help = false;            // --help: print the usage and exit
    bool version = false;         // --version: print the version and exit
    int clockStart = 100000;      // --clock-start S: the virtual clock's first reading, in ms
    bool clockStartGiven = false;
    std::string keysPath;         // --keys FILE: the keys, pass by pass
    std::string replayPath;       // a recorded game: its clock and events instead of the above
    int frames = 0;               // 0: run until the game ends by itself
    std::string tracePath;        // --trace FILE: the per-pass trace (game/trace.h)
    std::vector<TScriptShot> shots;
    bool stats = false;           // --stats: time every pass and print the figures at the end
    bool gles = false;            // --gles: draw with the OpenGL ES 2 driver
    std::string audioPath;        // --audio FILE: the mixed sound as a WAV
    std::vector<int> memoryAt;    // passes after which to print the memory in use
};

// Parses argv; on a mistake returns false with a message in *error.
bool ParseScriptOptions(int argc, char** argv, TScriptOptions* options, std::string* error);

// The usage text --help prints and a mistake is followed by.
extern const char* const kScriptUsage;
