// The game's version, set once by the build (the project version): the window title, the
// command line's --version and the packages all take it from here.
#pragma once

// The full version, "0.4.0".
extern const char* const kKestravaVersion;
// The window title, "Kestrava v.0.4": the name and the version's first two numbers.
extern const char* const kKestravaTitle;
