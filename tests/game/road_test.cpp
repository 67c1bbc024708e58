// The sky road: spawning and the road's random walk, layers, scoring window, passing,
// leaving, and points near elevation 0 (its random draws show in the traced flights).
#include <gtest/gtest.h>

#include "assets/embedded.h"
#include "draw2d/draw.h"
#include "draw2d/image.h"
#include "game/game.h"
#include "platform/rng.h"
#include "platform/stream.h"
#include "scenery_fixture.h"

namespace {
class Road : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(OpenSceneryGraphics());
        static TImagePtr arrow = [] {
            TEmbeddedFile file = EmbeddedFile("arrow.png");
            IncbinAdd("arrow.png", file.data, file.length);
            return LoadImage("incbin::arrow.png", 3);
        }();
        initvars();
        game.thingList.Clear();
        game.arrowimg = arrow;
        game.GAMESTATE = GAMESTATE_FLYING;
        game.centery = 640.0f;   // no scroll: the points move only by their own speed
        game.targetcenter = 300.0f;
    }
    void TearDown() override { game.thingList.Clear(); }
    static thing& AddPoint(float x, float y, float elev, float speed = 0.0f) {
        thing& t = ListAddLast(game.thingList);
        t = thing{x, y, speed, 0, elev};
        return t;
    }
};
}  // namespace

TEST_F(Road, APointInTheScoringWindowIsTintedByTheBirdsHeight) {
    game.altitude = 0.95f;
    AddPoint(100, 200, 1.0f);   // the bird is not over it
    drawThings(0);
    EXPECT_EQ(ColourNow(), 0x3200FF);   // (50, 0, 255)
    game.altitude = 0.75f;
    drawThings(0);
    EXPECT_EQ(ColourNow(), 0xFF0000);
}

// A point is passed once the bird is strictly below it and strictly inside its half width;
// at the bird's own height both layers move it and neither can pass it.
TEST_F(Road, ThePointsEdgesAreStrict) {
    game.altitude = 0.875f;   // hw = 43.75 at elev 1
    thing& t = AddPoint(320, 250, 1.0f);
    game.centerx = 320.0f + 43.75f;
    drawThings(0);
    game.centerx = 320.0f;
    game.targetcenter = 250.0f;
    drawThings(0);
    drawThings(1);
    EXPECT_EQ(t.passed, 0);
    game.targetcenter = 251.0f;
    drawThings(0);
    EXPECT_EQ(t.passed, 1);
    EXPECT_EQ(game.score, 10);
    EXPECT_EQ(ColourNow(), 0xFFFFFF);
}

TEST_F(Road, StackedPointsCostOneLifeEachWhenTheyLeave) {
    game.altitude = 0.9f;
    game.targetcenter = 320.0f;
    for (int n = 0; n < 4; ++n) AddPoint(320, 295, 1.0f, 5.0f);   // a stack, as after a title screen
    drawThings(0);   // only the first has the bird between it and the bottom
    EXPECT_EQ(game.score, 10);
    for (thing& t : game.thingList) t.speed = 250.0f;
    drawThings(0);   // 550: still on screen
    EXPECT_EQ(game.thingList.Count(), 4);
    drawThings(0);
    EXPECT_EQ(game.thingList.Count(), 0);
    EXPECT_EQ(game.life, 97);
}

// Long flights can walk the road's elevation to 0 or below: the half width becomes enormous,
// infinite or not a number, and the quads must still be drawn and the points still counted.
TEST_F(Road, PointsNearElevationZeroAreDrawnAndCountedSafely) {
    for (float altitude : {1.0f, 0.0f})
        for (float elev : {0.0f, -0.0f, 1e-30f, 1e-3f, -0.5f}) {
            game.thingList.Clear();
            game.life = 100;
            game.altitude = altitude;
            AddPoint(320, 500, 1.0f, 30.0f);
            for (float y : {400.0f, 300.0f, 520.0f}) AddPoint(320, y, elev, 30.0f);
            for (int frame = 0; frame < 12; ++frame) {
                drawThings(0);
                drawThings(1);
            }
            EXPECT_EQ(game.thingList.Count(), 0) << "elev " << elev << " altitude " << altitude;
            EXPECT_EQ(game.life, 96);
        }
}

namespace {
// The first seed whose first draws, Rand(1, 10) and Rand(-150, 150), take a sideways step of `step`.
int SeedForStep(int step) {
    for (int seed = 1;; ++seed) {
        SeedRnd(seed);
        if (Rand(1, 10) == 1 && Rand(-150, 150) == step) return seed;
    }
}
}  // namespace

// Spawning needs no window: a new point starts above the screen at the truncated road column,
// and a sideways step past an edge is undone to 50 or 590, not to the edge.
TEST(RoadWalk, ANewPointStartsAtTheTruncatedColumnAndAStepPastAnEdgeIsUndoneTo50Or590) {
    const struct { int step, from, to; } cases[] = {{100, 600, 590}, {-100, 40, 50}, {0, 0, 0}, {0, 639, 639}};
    for (const auto& c : cases) {
        initvars();
        game.thingList.Clear();
        game.thingx = c.from;
        game.curthingx = 320.7f;
        SeedRnd(SeedForStep(c.step));
        addThing();
        EXPECT_EQ(game.thingx, c.to) << c.from << " stepped by " << c.step;
        const thing& t = *game.thingList.begin();
        EXPECT_EQ(t.x * 10000 + t.y, 320.0f * 10000 - 100.0f);
        EXPECT_EQ(t.elev, game.curthingelev);
    }
}
