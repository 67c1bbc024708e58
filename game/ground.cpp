// Below the bird: the sea's glinting wavelets, the island, the twinkling specks, and feathers.
#include <cmath>

#include "draw2d/draw.h"
#include "draw2d/image.h"
#include "game/game.h"
#include "platform/numeric.h"
#include "platform/rng.h"

namespace {

// Appends count records (specks or wavelets) along the top edge at random columns, drifting
// down at 0.2 pixels per frame of their own.
template <class T>
void addAtTopEdge(TList<T>& list, int count) {
    for (int n = 0; n < count; ++n) {
        T& record = ListAddLast(list);
        record.x = static_cast<float>(Rand(-100, 740));
        record.y = 0.0f;
        record.speed = 0.2f;
    }
}

}  // namespace

// The sea: tiny translucent ovals in the sky's colour that glint near the sun.
int drawWaves() {
    SetBlend(BLEND_ADD);
    const double step = scrollStep();
    bool first = true;
    for (wavelet& w : game.waveList) {
        w.x += Rand(-1, 1);
        w.x += Rand(-1, 1) / 2;   // always 0, but the draw still happens
        w.y += w.speed;
        w.y += step;
        w.y += Rand(-1, 1);

        // The sun's reflection: brightest right under it, fading one step per two pixels.
        const int dx = TruncInt(std::fabs(game.sunx - double(w.x)));
        const int dy = TruncInt(std::fabs(game.suny - double(w.y)));
        setGlintColor(sunGlint(dx, dy));
        if (first) {
            // The same for every wavelet, so set once; the thin line width outlives this layer.
            SetAlpha(0.2f);
            SetLineWidth(1.0f);
            first = false;
        }

        // Seen from high up the ripples shrink to nothing: skipped, and not retired either.
        const int s = TruncInt(3.0 * game.altitude * 2.0);
        if (s < 1) continue;
        if (Rand(0, 1) == 1) {
            const int h = Rand(-s, s);
            const int w2 = Rand(-s, s);
            const int o = Rand(-s, s);
            DrawOval(w.x, w.y - o, w2, h);
        }
        if (w.y > 480.0) ListRemove(game.waveList, w);
    }
    if (Rand(1, 5) == 1) addWave();
    return 0;
}

// Adds six wavelets at the top edge.
int addWave() {
    addAtTopEdge(game.waveList, 6);
    return 0;
}

// The island, tinted by the time of day and drawn at the ground's scale; once it has scrolled
// off the bottom it comes back above the top at a new column.
int drawIsland() {
    SetBlend(BLEND_ALPHA);
    SetScale(game.altitude, game.altitude);
    SetColor(TruncInt(game.curr + 100.0), TruncInt(game.curg + 100.0), TruncInt(game.curb + 100.0));
    SetAlpha(game.altitude < 0.5 ? float(game.altitude + 0.5) : 1.0f);   // fades when seen from high up
    DrawImage(game.isleimg, game.islex, game.isley, 0);   // drawn before it moves
    game.islex -= game.wind;
    game.isley += scrollStep() + 0.01;
    if (game.isley > 480.0) {
        game.isley = 0.0 - ImageHeight(game.isleimg) * double(game.altitude);
        game.islex = Rand(0, 400);
    }
    SetScale(1.0f, 1.0f);
    SetAlpha(1.0f);
    return 0;
}

// Single points of light blown by the wind, with a new random opacity every frame.
int drawSpecks() {
    SetBlend(BLEND_ADD);
    const double step = scrollStep();
    bool first = true;
    for (speck& p : game.speckList) {
        p.x += game.wind * 3.0;
        p.x += Rand(-1, 1);
        p.x += Rand(-1, 1) / 2;   // always 0, but the draw still happens
        p.y += p.speed;
        p.y += step;
        p.y += Rand(-1, 1);
        if (first) {
            // The same colour for every speck of the frame, so set once.
            SetColor(TruncInt(game.curr + 50.0), TruncInt(game.curg + 50.0),
                     TruncInt(game.curb + 50.0));
            first = false;
        }
        SetAlpha(RndFloat());
        Plot(p.x, p.y);
        if (p.y > 480.0) ListRemove(game.speckList, p);
    }
    SetAlpha(1.0f);
    if (Rand(1, 10) == 10) addSpeck();
    return 0;
}

// Adds three specks at the top edge.
int addSpeck() {
    addAtTopEdge(game.speckList, 3);
    return 0;
}

// Falling feathers that darken and fade out over 17 frames.
int drawFeathers() {
    for (feather& f : game.featherList) {
        f.y += Rand(1, 2);
        SetAlpha(f.alpha);
        f.alpha -= 0.06;
        SetColor(f.r, f.g, f.b);
        // Bounds high first: -24 to -4 in practice.
        f.r += Rand(-5, -25);
        f.g += Rand(-5, -25);
        f.b += Rand(-5, -25);
        DrawOval(f.x - f.size / 2, f.y, f.size, f.size);
        SetAlpha(1.0f);
        if (f.alpha <= 0.0) ListRemove(game.featherList, f);
    }
    return 0;
}

// Adds a white feather at (x, y); nothing in the game calls it.
int addFeather(int x, int y) {
    feather f{};
    f.x = x;
    f.y = y;
    f.alpha = 1.0f;
    f.size = Rand(5, 10);
    f.r = 255;
    f.g = 255;
    f.b = 255;
    ListAddLast(game.featherList) = f;
    return 0;
}
