// Shared setup for the scenery, bird and HUD tests.
#include "scenery_fixture.h"

#include <gtest/gtest.h>

#include <ostream>

#include "draw2d/draw.h"
#include "game/game.h"
#include "platform/rng.h"
#include "support/gl_fixture.h"

void resetScenery() {
    if (!OpenTestGraphics()) ADD_FAILURE() << "no graphics window";
    game.cloudList.Clear();
    game.speckList.Clear();
    game.waveList.Clear();
    game.thingList.Clear();
    game.featherList.Clear();
    game.cloudcount = 0;
    game.centerx = 320.0f;
    game.centery = 440.0f;   // a scroll step of exactly 0.5
    game.targetcenter = game.targetleft = game.targetright = 439.0f;
    game.leftcountt = game.rightcountt = 0.0f;
    game.fatigue = 0.0f;
    game.wind = 0.0f;
    game.islex = 320.0f;
    game.isley = 0.0f;
    game.altitude = 1.0f;
    game.hour = 5;
    game.minute = 55;
    game.score = 0;
    game.life = 100;
    game.sunx = 100.0f;
    game.suny = 100.0f;
    game.sunsize = 50;
    game.curr = game.curg = game.curb = 0.0f;
    static const TImagePtr cloud = solidImage(256, 256, 0xFFFFFFFF);
    static const TImagePtr island = solidImage(512, 512, 0xFFFFFFFF);
    static const TImagePtr wing = solidImage(16, 16, 0xFFFFFFFF);
    game.cloudimg = cloud;
    game.isleimg = island;
    game.wingimg = wing;
    SeedRnd(1);
}

TImagePtr solidImage(int width, int height, uint32_t argb) {
    TImagePtr image = TImage::Create(width, height, 1, 0, 0, 0, 0);
    TPixmapPtr pixmap = image->Lock(0, false, true);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) pixmap->WritePixel(x, y, argb);
    return image;
}

int stepsSince(int seed) {
    const int now = RndSeed();
    SeedRnd(seed);
    int steps = 0;
    while (RndSeed() != now && steps <= 100000) {
        RndFloat();
        steps++;
    }
    SeedRnd(now);
    return steps <= 100000 ? steps : -1;
}

int seedWhere(int stepsBefore, int lo, int hi, int value, bool hit) {
    for (int seed = 1;; seed++) {
        SeedRnd(seed);
        skipSteps(stepsBefore);
        if ((Rand(lo, hi) == value) == hit) return seed;
    }
}

void skipSteps(int steps) {
    for (int i = 0; i < steps; i++) RndFloat();
}

Rgb pixelAt(int x, int y) {
    const uint32_t rgb = ReadPixel(x, y);
    return {int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)};
}

void clearScreen(int red, int green, int blue) {
    if (!OpenTestGraphics()) ADD_FAILURE() << "no graphics window";
    SetClsColor(red, green, blue);
    Cls();
    SetBlend(BLEND_ALPHA);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    SetLineWidth(1.0f);
    SetScale(1.0f, 1.0f);
}

// Readable failures for pixel comparisons.
void PrintTo(const Rgb& c, std::ostream* os) { *os << "(" << c.r << ", " << c.g << ", " << c.b << ")"; }
