// Spawning the world's records: clouds, specks, wavelets, points of the sky road, feathers.
#include "game/world.h"

#include "draw2d/image.h"
#include "game/game.h"
#include "platform/numeric.h"
#include "platform/rng.h"

// How far every world object drifts down the screen this frame: faster the higher the bird.
double scrollStep() { return (640.0 - game.centery) / 400.0; }

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

// Adds three specks at the top edge.
int addSpeck() {
    addAtTopEdge(game.speckList, 3);
    return 0;
}

// Adds six wavelets at the top edge.
int addWave() {
    addAtTopEdge(game.waveList, 6);
    return 0;
}

// Adds the next point of the sky road above the screen and takes one step of the road's
// random walk, sideways and in elevation.
int addThing() {
    thing t{};
    if (Rand(1, 10) == 1) game.thingx += Rand(-150, 150);
    // Only the step just taken is undone, to 50 or 590, not to the edge.
    if (game.thingx < 0) game.thingx = 50;
    if (game.thingx > 639) game.thingx = 590;
    t.x = static_cast<float>(TruncInt(game.curthingx));
    t.y = -100.0f;
    t.speed = 0.01f;
    t.passed = 0;
    Rand(0, 5);   // unused, but it moves the shared generator on
    if (game.curthingelev < game.thingelev) game.curthingelev += 0.01;
    if (game.curthingelev > game.thingelev) game.curthingelev -= 0.01;
    t.elev = game.curthingelev;
    if (Rand(1, 10) == 5) {
        if (Rand(0, 1) == 1)
            game.thingelev += 0.1;
        else
            game.thingelev -= 0.1;
    }
    ListAddLast(game.thingList) = t;
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
