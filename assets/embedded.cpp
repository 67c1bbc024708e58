#include "assets/embedded.h"

#include <cstring>

#define EMBEDDED(i, name, owner)                              \
    extern "C" const unsigned char kestrava_embedded_##i[];   \
    extern "C" const unsigned char kestrava_embedded_##i##_end[];
#include "embedded_table.inc"
#undef EMBEDDED

namespace {

#define EMBEDDED_FILE(i, name) \
    {name, kestrava_embedded_##i, static_cast<int>(kestrava_embedded_##i##_end - kestrava_embedded_##i)},

const TEmbeddedFile kFiles[] = {
#define EMBEDDED(i, name, owner) EMBEDDED_FILE(i, name)
#include "embedded_table.inc"
#undef EMBEDDED
};

// The same files again, keeping only the game's: the owner word picks the macro.
#define EMBEDDED_OWNED_BY_game(i, name) EMBEDDED_FILE(i, name)
#define EMBEDDED_OWNED_BY_draw2d(i, name)
#define EMBEDDED_OWNED_BY_program(i, name)
const TEmbeddedFile kGameFiles[] = {
#define EMBEDDED(i, name, owner) EMBEDDED_OWNED_BY_##owner(i, name)
#include "embedded_table.inc"
#undef EMBEDDED
};
#undef EMBEDDED_OWNED_BY_game
#undef EMBEDDED_OWNED_BY_draw2d
#undef EMBEDDED_OWNED_BY_program
#undef EMBEDDED_FILE

}  // namespace

TEmbeddedFile EmbeddedFile(const char* name) {
    for (const TEmbeddedFile& file : kFiles) {
        if (std::strcmp(file.name, name) == 0) return file;
    }
    return {name, nullptr, 0};
}

std::span<const TEmbeddedFile> EmbeddedFiles() { return kFiles; }

std::span<const TEmbeddedFile> GameEmbeddedFiles() { return kGameFiles; }
