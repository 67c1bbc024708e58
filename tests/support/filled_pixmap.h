// A pixmap of one colour, for the drawing layer's tests.
#pragma once

#include <cstdint>

#include "draw2d/pixmap.h"

inline TPixmapPtr Filled(int w, int h, int format, uint32_t argb) {
    auto pm = TPixmap::Create(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pm->WritePixel(x, y, argb);
    return pm;
}
