// The files linked into the program, looked up by name.
#pragma once

struct TEmbeddedFile {
    const char* name;
    const unsigned char* data;
    int length;
};

// The embedded file with this name, or {name, nullptr, 0} when there is none.
TEmbeddedFile EmbeddedFile(const char* name);
