// The sky road: adds its points and walks its course, moves, colours, scores and draws the
// points, and takes life for the points that scroll away unflown.
#include <cmath>

#include "draw2d/draw.h"
#include "game/game.h"
#include "platform/numeric.h"
#include "platform/rng.h"

// Handles the road points of one layer: layer 1 those at or above the bird's height (drawn
// over the bird), any other layer those at or below it. Both take the points exactly at it.
int drawThings(int layer) {
    if (game.GAMESTATE == GAMESTATE_TITLE) return 0;   // on the title screen the road waits
    SetBlend(BLEND_ALPHA);
    // The previous point of this pass; prevY 480 means there is none yet.
    float prevLeft = 300.0f, prevRight = 340.0f, prevY = 480.0f;

    // Steer the road's column toward its target; both layers do, so 0.2 per frame.
    stepToward(game.curthingx, game.thingx, 0.1);

    for (thing& t : game.thingList) {
        if (layer == 1 ? t.elev > game.altitude : t.elev < game.altitude) continue;
        t.y += t.speed;
        t.y += scrollStep();

        SetColor(255, 0, 0);
        SetAlpha(0.25f);
        // Half width: narrower the lower the point lies. Near elevation 0 it grows without
        // limit (or is not a number); the corners below saturate when truncated.
        double hw = 50.0 / std::pow(static_cast<double>(t.elev), 3.0) * game.altitude;

        // The scoring window: the bird less than 0.2 above the point.
        if (game.altitude < t.elev && game.altitude > t.elev - 0.2) {
            SetColor(TruncInt(0.0 - (game.altitude - static_cast<double>(t.elev)) * 1000.0), 0, 255);
            // Flying over it: inside its width, between it and the previous point of the pass.
            if (game.centerx > t.x - hw && game.centerx < t.x + hw && game.targetcenter > t.y &&
                game.targetcenter < prevY) {
                t.passed = 1;
                game.score += 10;
            }
        }
        if (t.passed == 1) SetColor(255, 255, 255);

        // The quad from the previous point's edge to this one's, arrows pointing up the road.
        if (prevY != 480.0f) {
            drawTextPoly(game.arrowimg, TruncInt(t.x - hw), TruncInt(t.y), TruncInt(prevLeft),
                         TruncInt(prevY), TruncInt(t.x + hw), TruncInt(t.y), TruncInt(prevRight),
                         TruncInt(prevY));
        }
        prevLeft = t.x - hw;
        prevRight = t.x + hw;
        prevY = t.y;
        SetScale(1, 1);

        // Leaving the screen: an unflown point costs one life.
        if (t.y > 550.0f) {
            if (t.passed == 0) game.life -= 1;
            ListRemove(game.thingList, t);
        }
    }
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
    stepToward(game.curthingelev, game.thingelev, 0.01);
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
