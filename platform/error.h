// Errors the services raise for conditions they cannot go on from.
#pragma once

#include <stdexcept>
#include <string>

// A runtime error with the message text shown to the user, e.g. "Unable to create GL Context".
struct TRuntimeError : std::runtime_error {
    explicit TRuntimeError(const std::string& message) : std::runtime_error(message) {}
};

// Raised by the stream layer on a short read; loaders treat it as "not my file".
struct TStreamReadError : TRuntimeError {
    TStreamReadError() : TRuntimeError("Error reading from stream") {}
};

// Raised by the stream layer when a write cannot be completed.
struct TStreamWriteError : TRuntimeError {
    TStreamWriteError() : TRuntimeError("Error writing to stream") {}
};

// The name the program's messages begin with, "kestrava" until main sets its own.
const char* ProgramName();
// Sets the name messages begin with (a string that lives as long as the program).
void SetProgramName(const char* name);
// The status a program ends with once what it printed is written: status itself, or 1 (having
// said why) when the standard output could not be written (a full disk, a closed pipe).
int FlushStandardOutput(int status);
