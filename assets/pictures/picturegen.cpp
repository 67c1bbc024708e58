// Paints one of the game's pictures and writes it as PNG.
//
//   kestrava_picturegen <name> <out.png>     name: wing2, spark, island or arrow
#include "picture.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kestrava_picturegen <wing2|spark|island|arrow> <out.png>\n");
        return 2;
    }
    const char* name = argv[1];
    Picture picture;
    if (!std::strcmp(name, "wing2")) {
        picture = PaintWing();
    } else if (!std::strcmp(name, "spark")) {
        picture = PaintSpark();
    } else if (!std::strcmp(name, "island")) {
        picture = PaintIsland();
    } else if (!std::strcmp(name, "arrow")) {
        picture = PaintArrow();
    } else {
        std::fprintf(stderr, "kestrava_picturegen: no picture named %s\n", name);
        return 2;
    }
    if (!WritePng(picture, argv[2])) {
        std::fprintf(stderr, "kestrava_picturegen: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
