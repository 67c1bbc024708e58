// The soft light puff the clouds are made of: bright in the middle, fading smoothly to pure
// black well inside the border, so a cloud scaled ten times shows no square edge.
#include "noise.h"
#include "picture.h"

#include <cmath>

Picture PaintSpark() {
    const int size = 256;
    const double centre = (size - 1) / 2.0;
    Picture picture = BlankPicture(size, size, 3);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double dx = (x - centre) / 128.0, dy = (y - centre) / 128.0;
            double r = std::sqrt(dx * dx + dy * dy);
            // Low-frequency billows push the outline in and out a little.
            double billow = FractalNoise(x / 64.0, y / 64.0, 3, 7u) - 0.5;
            double rr = r * (1.0 + 0.35 * billow);
            double fall = ClampTo(1.0 - rr * rr, 0.0, 1.0);
            fall = fall * fall * fall;
            // A hard window, independent of the noise, keeps the outer ring exactly black.
            double window = 1.0 - SmoothStep(0.70, 0.94, r);
            double puff = 0.85 + 0.3 * (FractalNoise(x / 40.0, y / 40.0, 3, 11u) - 0.5);
            double v = 255.0 * ClampTo(fall * window * puff * 1.08, 0.0, 1.0);
            SetPixel(picture, x, y, v * 0.97, v * 0.98, v);
        }
    }
    return picture;
}
