// Shared setup for the scenery, bird and HUD tests.
#include "scenery_fixture.h"

#include <gtest/gtest.h>

#include "draw2d/draw.h"
#include "draw2d/graphics.h"
#include "draw2d/layer.h"
#include "draw2d/null_plane_driver.h"
#include "game/game.h"
#include "platform/rng.h"

bool OpenSceneryGraphics() {
    if (GraphicsWidth() != 640 || GraphicsHeight() != 480) {
        StartDrawLayer(NullPlaneDriver());
        if (!Graphics(640, 480, 0, 60, 0)) return false;
    }
    SetDrawingDefaults();
    Cls();
    return true;
}

void ResetScenery(uint32_t background) {
    if (!OpenSceneryGraphics()) ADD_FAILURE() << "no graphics";
    SetClsColor(background >> 16 & 0xFF, background >> 8 & 0xFF, background & 0xFF);
    Cls();
    SetBlend(BLEND_ALPHA);
    game.cloudList.Clear(), game.speckList.Clear(), game.waveList.Clear();
    game.cloudcount = 0, game.life = 100;
    game.centerx = game.islex = 320.0f, game.isley = 0.0f, game.altitude = 1.0f;
    game.centery = 440.0f;   // a scroll step of exactly 0.5
    game.targetcenter = game.targetleft = game.targetright = 439.0f;
    game.leftcountt = game.rightcountt = game.fatigue = game.wind = 0.0f;
    game.sunx = game.suny = 100.0f, game.curr = game.curg = game.curb = 0.0f;
    static const TImagePtr cloud = SolidImage(256, 256, 0xFFFFFFFF), island = SolidImage(512, 512, 0xFFFFFFFF);
    game.cloudimg = cloud, game.isleimg = island, game.wingimg = cloud;
    SeedRnd(1);
}

TImagePtr SolidImage(int width, int height, uint32_t argb) {
    TImagePtr image = TImage::Create(width, height, 1, 0, 0, 0, 0);
    TPixmapPtr pixmap = image->Lock(0, false, true);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) pixmap->WritePixel(x, y, argb);
    return image;
}

int ColourNow() {
    int r, g, b;
    GetColor(&r, &g, &b);
    return r << 16 | g << 8 | b;
}

int StepsSince(int seed) {
    const int now = RndSeed();
    SeedRnd(seed);
    int steps = 0;
    for (; RndSeed() != now && steps < 100000; steps++) RndFloat();
    SeedRnd(now);
    return steps;
}

void SkipSteps(int steps) {
    for (int i = 0; i < steps; i++) RndFloat();
}

int SeedWhere(int stepsBefore, int lo, int hi, int value, bool hit) {
    for (int seed = 1;; seed++) {
        SeedRnd(seed);
        SkipSteps(stepsBefore);
        if ((Rand(lo, hi) == value) == hit) return seed;
    }
}
