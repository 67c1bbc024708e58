// kestrava_musicgen <n> <out.wav>: writes music loop n (1 to 8) of the game.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>

#include "assets/music/musicgen.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kestrava_musicgen <1-8> <out.wav>\n");
        return 2;
    }
    const int n = std::atoi(argv[1]);
    if (n < 1 || n > 8) {
        std::fprintf(stderr, "kestrava_musicgen: no loop %s\n", argv[1]);
        return 2;
    }
    try {
        const std::vector<uint8_t> bytes = MusicLoopFile(n);
        FILE* f = std::fopen(argv[2], "wb");
        if (!f) throw std::runtime_error(std::string("cannot write ") + argv[2]);
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        if (std::fclose(f) != 0 || !written) throw std::runtime_error("write failed");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrava_musicgen: loop %d: %s\n", n, e.what());
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
