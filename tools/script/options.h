// The scripted runner's command line.
#pragma once

#include <string>
#include <vector>

struct TScriptShot {
    int frame = 0;
    std::string path;
};

struct TScriptOptions {
    bool help = false;            // --help: print the usage and exit
    bool version = false;         // --version: print the version and exit
    int clockStart = 100000;
    bool clockStartGiven = false;
    std::string keysPath;
    std::string replayPath;       // a recorded game: its clock and events instead of the above
    int frames = 0;               // 0: run until the game ends by itself
    std::string tracePath;
    std::vector<TScriptShot> shots;
    bool stats = false;
    std::string audioPath;
    std::vector<int> memoryAt;    // passes after which to print the memory in use
};

// Parses argv; on a mistake returns false with a message in *error.
bool ParseScriptOptions(int argc, char** argv, TScriptOptions* options, std::string* error);

extern const char* const kScriptUsage;
