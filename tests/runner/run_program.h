// Running the game's programs from a test and reading what they wrote.
#pragma once

#include <string>
#include <vector>

#include "support/temp_dir.h"

struct TProgramResult {
    int status = -1;          // exit status, or -1 when it did not exit normally
    std::string output;       // stdout and stderr together
};

// Runs a shell command line, capturing its output.
TProgramResult RunCommand(const std::string& command);

// Runs kestrava-script with these arguments.
TProgramResult RunScript(const std::string& arguments);

// A fresh folder for one test's files.
std::string TempDir(const std::string& name);

void WriteFile(const std::string& path, const std::string& text);
std::vector<std::string> ReadLines(const std::string& path);

// A keys file: Space to start, then both wings tapped for 6 passes in every 40 up to
// pass `frames` (a climbing, scoring flight).
std::string RhythmicTapping(int frames);

// The start of a shell script that runs the real game (or the command given) with these
// arguments on the display it is given and waits (up to 10 s) for its window: $pid and $w
// hold the process and the window after it, and the script exits with status 3 when no
// window came.
std::string StartGameScript(const std::string& arguments, const std::string& game = "");

// The folder of the Windows build the wine tests run (KESTRAVA_WINDOWS_BUILD, from the source
// folder when relative), "" when none is named.
std::string WindowsBuild();
// The command line that runs this program of the Windows build under wine (tools/wine.sh),
// with a space for the arguments to follow; "" when no Windows build is named.
std::string WineCommand(const std::string& program);

// The value of a number field of a trace line, e.g. TraceValue(line, "hour").
double TraceValue(const std::string& line, const std::string& field);
