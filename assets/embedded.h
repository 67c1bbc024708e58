// The files linked into the program, looked up by name. The web build makes its music loops
// at start-up instead (assets/music/musicgen.h): the first call of any function here makes them.
#pragma once

#include <span>

struct TEmbeddedFile {
    const char* name;
    const unsigned char* data;
    int length;
};

// The embedded file with this name, or {name, nullptr, 0} when there is none.
TEmbeddedFile EmbeddedFile(const char* name);

// Every embedded file, in the build's order (the drawing layer's fonts first).
std::span<const TEmbeddedFile> EmbeddedFiles();

// The files the game's start-up registers for "incbin::" paths (its music loops and
// pictures, not the drawing layer's fonts), in the build's order.
std::span<const TEmbeddedFile> GameEmbeddedFiles();
