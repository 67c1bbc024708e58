// The game program's command line. Run with none, the game is exactly itself: a 640x480
// window, no files read or written. Every flag asks for something beside the game.
#pragma once

#include <string>

struct TCommandLine {
    bool help = false;               // --help: print the usage and exit
    bool version = false;            // --version: print the version and exit
    int scale = 1;                   // --scale N: the window opens at N times 640x480
    bool resizable = false;          // --resizable: the player may resize and maximise it
    bool smooth = false;             // --smooth: linear scaling instead of crisp pixels
    bool fullscreen = false;         // --fullscreen: start in desktop full screen
    int volume = 100;                // --volume N: output loudness, 0 to 100
    bool mute = false;               // --mute: no sound at all
    bool pauseWhenAway = false;      // --pause-when-away: pause when the window loses the focus
    std::string recordPath;          // --record FILE: save the game for kestrava-script --replay
    std::string tracePath;           // --trace FILE: the per-pass trace, as the runner writes it
    std::string frameLogPath;        // --frame-log FILE: the time of every present, in us
};

// Parses argv; on a mistake returns false with a one-line message in *error.
bool ParseCommandLine(int argc, char** argv, TCommandLine* line, std::string* error);

// The usage text --help prints and a mistake is followed by.
extern const char* const kKestravaUsage;
