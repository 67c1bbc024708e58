#include "assets/embedded.h"

#include <cstdint>
#include <iterator>
#include <string_view>
#include <vector>

#include "assets/music/musicgen.h"

#define EMBEDDED(i, name, owner)                              \
    extern "C" const unsigned char kestrava_embedded_##i[];   \
    extern "C" const unsigned char kestrava_embedded_##i##_end[];
#define MADE(i, name, owner, make, arg)
#include "embedded_table.inc"
#undef EMBEDDED
#undef MADE

namespace {

// One file of the table: linked in (its bytes between two symbols), or made at start-up by
// make(arg) (the web's music loops, which would otherwise be most of its download).
struct TEntry {
    const char* name;
    const unsigned char* begin;
    const unsigned char* end;
    std::vector<uint8_t> (*make)(int);
    int arg;
    bool game;   // registered by the game's start-up (not the drawing layer's fonts, nor a program's)
};

#define OWNED_BY_game true
#define OWNED_BY_draw2d false
#define OWNED_BY_program false
const TEntry kEntries[] = {
#define EMBEDDED(i, name, owner) \
    {name, kestrava_embedded_##i, kestrava_embedded_##i##_end, nullptr, 0, OWNED_BY_##owner},
#define MADE(i, name, owner, make, arg) {name, nullptr, nullptr, make, arg, OWNED_BY_##owner},
#include "embedded_table.inc"
#undef EMBEDDED
#undef MADE
};
#undef OWNED_BY_game
#undef OWNED_BY_draw2d
#undef OWNED_BY_program

// Every file and the game's, in the table's order; the made ones are kept for the program's life.
struct TFiles {
    std::vector<std::vector<uint8_t>> made;
    std::vector<TEmbeddedFile> all, game;
};

const TFiles& Files() {
    static const TFiles files = [] {
        TFiles f;
        f.made.reserve(std::size(kEntries));
        for (const TEntry& entry : kEntries) {
            TEmbeddedFile file{entry.name, entry.begin, static_cast<int>(entry.end - entry.begin)};
            if (entry.make) {
                const std::vector<uint8_t>& bytes = f.made.emplace_back(entry.make(entry.arg));
                file.data = bytes.data();
                file.length = static_cast<int>(bytes.size());
            }
            f.all.push_back(file);
            if (entry.game) f.game.push_back(file);
        }
        return f;
    }();
    return files;
}

}  // namespace

TEmbeddedFile EmbeddedFile(const char* name) {
    for (const TEmbeddedFile& file : Files().all) {
        if (std::string_view(file.name) == name) return file;
    }
    return {name, nullptr, 0};
}

std::span<const TEmbeddedFile> EmbeddedFiles() { return Files().all; }

std::span<const TEmbeddedFile> GameEmbeddedFiles() { return Files().game; }
