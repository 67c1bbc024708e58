// The sky's one light (sun by day, moon by night) and the huge faint clouds drifting over it.
#include <cmath>

#include "draw2d/draw.h"
#include "draw2d/image.h"
#include "game/game.h"
#include "platform/numeric.h"
#include "platform/rng.h"

// The sun's light at a point dx, dy pixels from it: 100 right under it, one less for every
// two pixels of distance (negative from 202 pixels on). The sun's own ovals and the sea's
// wavelets both glint by it.
int sunGlint(int dx, int dy) {
    const int d = TruncInt(std::sqrt(double(dx) * dx + double(dy) * dy));
    return 100 - d / 2;
}

void setGlintColor(int glint) {
    const int blue = TruncInt(double(game.curb) + Rand(-10, 10) + glint);
    const int green = TruncInt(double(game.curg) + Rand(-10, 10) + glint);
    const int red = TruncInt(double(game.curr) + Rand(-10, 10) + glint);
    SetColor(red, green, blue);
}

// Eleven small additive ovals scattered around (sunx, suny), brighter toward the centre;
// frame after frame they pile up into a flickering glow.
int drawSunMoon() {
    SetBlend(BLEND_ADD);
    SetAlpha(0.2f);
    const int s = TruncInt(3.0 * game.altitude * 2.0);   // the largest oval size
    const int spread = game.sunsize / 2;
    for (int i = 0; i <= 10; i++) {
        const int dx = Rand(-spread, spread);
        const int dy = Rand(-spread, spread);
        setGlintColor(sunGlint(dx, dy));
        const int h = Rand(-s, s);
        const int w = Rand(-s, s);
        DrawOval(game.sunx + dx, game.suny + dy, w, h);   // negative sizes grow left or up
    }
    return 0;
}

// Moves, draws and retires every cloud, then now and then adds one.
int drawClouds() {
    SetBlend(BLEND_ADD);
    const TImagePtr& image = game.cloudimg;
    const int width = ImageWidth(image);
    const int height = ImageHeight(image);
    const double step = scrollStep();
    bool first = true;
    for (cloud& c : game.cloudList) {
        const float half = (width / 2) * double(c.scale);
        c.x += Rand(-1, 1);   // the wobble, which leans a third of a pixel to the right
        c.x += game.wind * 3.0;
        if (c.x < 0.0 - half) c.x = 640.0 + half;
        if (c.x > 640.0 + half) c.x = 0.0 - half;
        c.y += c.speed;
        c.y += step;
        if (first) {
            // The same for every cloud of the frame, so set once.
            SetColor(TruncInt(game.curr + 20.0), TruncInt(game.curg + 20.0),
                     TruncInt(game.curb + 20.0));
            SetAlpha(0.1f);
            SetImageHandle(image, width / 2, height);   // bottom centre: the cloud hangs above its point
            first = false;
        }
        const float scale = c.scale * double(game.altitude);
        SetScale(scale, scale);
        // Bigger clouds are nearer, so their sideways motion is magnified by their scale.
        DrawImage(image, c.x * double(game.altitude) * c.scale, c.y, 0);
        SetScale(1.0f, 1.0f);
        // Its top edge, at its own scale whatever the altitude, is far below the screen.
        if (c.y - height * double(c.scale) > 1000.0) {
            ListRemove(game.cloudList, c);
            game.cloudcount -= 1;
        }
    }
    SetAlpha(1.0f);
    if (Rand(1, 20) == 10) addCloud();
    return 0;
}

// Adds one cloud above the top edge, with a random size, column and speed.
int addCloud() {
    cloud c{};
    c.scale = (1.0 + RndFloat() + 0.01) * 5.0;
    int w = TruncInt(ImageWidth(game.cloudimg) * static_cast<double>(c.scale));
    c.x = static_cast<float>(Rand(0, 639) - w / 2);
    c.y = 0.0f;
    c.speed = RndFloat() * 2.0 + 1.0;
    ListAddLast(game.cloudList) = c;
    game.cloudcount += 1;
    return 0;
}
