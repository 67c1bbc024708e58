// Packs PNG icons into one Windows .ico file, each PNG as it is (Windows Vista and later read
// PNG entries), in the order given: Windows picks the entry nearest the size it draws.
//
//   kestrava_icopack <out.ico> <in.png>...     each PNG 1 to 256 pixels a side
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

void PutLittle(std::string* out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

uint32_t BigEndian32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// The PNG's width and height from its header chunk; false when it is no PNG or too big.
bool PngSize(const std::string& png, uint32_t* width, uint32_t* height) {
    if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || png.compare(12, 4, "IHDR") != 0) return false;
    *width = BigEndian32(png, 16);
    *height = BigEndian32(png, 20);
    return *width >= 1 && *width <= 256 && *height >= 1 && *height <= 256;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: kestrava_icopack <out.ico> <in.png>...\n");
        return 2;
    }
    std::vector<std::string> pngs;
    std::string ico;
    PutLittle(&ico, 0, 2);   // reserved
    PutLittle(&ico, 1, 2);   // an icon, not a cursor
    PutLittle(&ico, argc - 2, 2);
    uint32_t offset = 6 + 16 * (argc - 2);
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        uint32_t width = 0, height = 0;
        if (!in || !PngSize(png, &width, &height)) {
            std::fprintf(stderr, "kestrava_icopack: %s is no PNG of 1 to 256 pixels a side\n", argv[i]);
            return 1;
        }
        PutLittle(&ico, width & 0xff, 1);   // 256 is written 0
        PutLittle(&ico, height & 0xff, 1);
        PutLittle(&ico, 0, 2);              // no palette, reserved
        PutLittle(&ico, 1, 2);              // planes
        PutLittle(&ico, 32, 2);             // bits per pixel
        PutLittle(&ico, static_cast<uint32_t>(png.size()), 4);
        PutLittle(&ico, offset, 4);
        offset += static_cast<uint32_t>(png.size());
        pngs.push_back(std::move(png));
    }
    for (const std::string& png : pngs) ico += png;
    std::ofstream out(argv[1], std::ios::binary);
    if (!out.write(ico.data(), static_cast<std::streamsize>(ico.size())) || !out.flush()) {
        std::fprintf(stderr, "kestrava_icopack: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
