// Placeholder until the music lands: silent loops of the right lengths.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
static void put32(FILE* f, uint32_t v) { for (int i = 0; i < 4; ++i) std::fputc((v >> (8 * i)) & 255, f); }
static void put16(FILE* f, uint32_t v) { for (int i = 0; i < 2; ++i) std::fputc((v >> (8 * i)) & 255, f); }
int main(int argc, char** argv) {
    if (argc != 3) return 2;
    static const int frames[8] = {352000, 351744, 352000, 351744, 351744, 352256, 352000, 351232};
    int n = std::atoi(argv[1]);
    if (n < 1 || n > 8) return 2;
    uint32_t bytes = frames[n - 1] * 4u;
    FILE* f = std::fopen(argv[2], "wb");
    if (!f) return 1;
    std::fputs("RIFF", f); put32(f, 36 + bytes); std::fputs("WAVEfmt ", f);
    put32(f, 16); put16(f, 1); put16(f, 2); put32(f, 22050); put32(f, 88200); put16(f, 4); put16(f, 16);
    std::fputs("data", f); put32(f, bytes);
    for (uint32_t i = 0; i < bytes; ++i) std::fputc(0, f);
    return std::fclose(f) == 0 ? 0 : 1;
}
