// The bird's flight: body, wings and their smoothed copies, fatigue; and the wind.
#include "game/game.h"
#include "platform/numeric.h"
#include "platform/rng.h"

// Moves the bird one frame from the wing values getInput left.
int updatebird() {
    // Fall and drift.
    game.centery += 1.3;
    game.Leftwing += 0.65;
    game.rightwing += 0.65;
    game.centerx += game.wind;

    // Floor and ceiling; the wings get no ceiling.
    if (game.centery > 439) game.centery = 439;
    if (game.Leftwing > 439) game.Leftwing = 439;
    if (game.rightwing > 439) game.rightwing = 439;
    if (game.centery < 100) game.centery = 100;

    // A wing above the body strokes: it lifts the body and pushes it sideways.
    int newy = TruncInt(game.centery);
    if (game.rightwing < game.centery) {
        game.centerx += game.rightcountt / 10.0;
        newy = TruncInt(newy - game.rightcount / 2.0);
    }
    if (game.Leftwing < game.centery) {
        game.centerx -= game.leftcountt / 10.0;
        newy = TruncInt(newy - game.leftcount / 2.0);
    }

    // Dives; the wind term is the same sign on both sides, so a left dive cancels the drift
    // and a right dive doubles it.
    if (game.leftcount == 35.0f) game.centerx -= game.leftcountt / 50.0 + game.wind;
    if (game.rightcount == 35.0f) game.centerx += game.rightcountt / 50.0 + game.wind;

    game.centery = static_cast<float>(newy);

    // Side walls.
    if (game.centerx < 65) game.centerx = 65;
    if (game.centerx > 575) game.centerx = 575;

    // The drawn body falls by 1 and rises by 0.7 per frame.
    if (game.targetcenter < game.centery) game.targetcenter += 1;
    if (game.targetcenter > game.centery) game.targetcenter -= 0.7;

    // The drawn wings follow the raw ones; the raw wings are kept within 10 of the drawn body.
    stepToward(game.targetleft, game.Leftwing, 0.7);
    stepToward(game.targetright, game.rightwing, 0.7);
    if (game.targetleft < game.targetcenter - 10.0) game.Leftwing = game.targetcenter - 10.0;
    if (game.targetright < game.targetcenter - 10.0) game.rightwing = game.targetcenter - 10.0;
    if (game.targetleft > game.targetcenter + 10.0) game.Leftwing = game.targetcenter + 10.0;
    if (game.targetright > game.targetcenter + 10.0) game.rightwing = game.targetcenter + 10.0;

    stepToward(game.leftcountt, game.leftcount, 0.6);
    stepToward(game.rightcountt, game.rightcount, 0.6);

    // Fatigue grows by the whole effort each time the effort overtakes it.
    int effort = TruncInt(static_cast<double>(game.leftcount) + game.rightcount);
    if (effort > game.fatigue) game.fatigue += effort;
    game.fatigue -= 0.5;
    if (game.fatigue < 0) game.fatigue = 0;
    return 0;
}

// Moves the wind toward its target, and now and then picks a new target.
int updatewind() {
    stepToward(game.wind, game.targetwind, 0.001);
    if (Rand(0, 1000) == 50) game.targetwind = RndFloat() - 0.5;
    return 0;
}
