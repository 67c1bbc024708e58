// Fuzz target: any bytes given to either PNG loader (libpng's, stb_image's) must load or be
// refused, never crash.
#include <cstddef>
#include <cstdint>

#include "draw2d/pixmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (StartPixmapLoaders(), true);
    (void)started;
    if (size > (1u << 24)) return 0;
    for (TPixmapLoader* loader : {CreatePngLoader(), CreateStbPngLoader()}) {
        TPixmapPtr pm = loader->LoadPixmap(*CreateRamStream(data, static_cast<int>(size), 1, 0));
        if (!pm) continue;
        // Touch every pixel so a wrong size or pitch shows up under the address sanitizer.
        uint32_t sum = 0;
        for (int y = 0; y < pm->height; ++y)
            for (int x = 0; x < pm->width; ++x) sum += pm->ReadPixel(x, y);
        volatile uint32_t sink = sum;
        (void)sink;
    }
    return 0;
}
