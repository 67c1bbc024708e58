// The game globals record, its trace table, and the reset of a new game.
#include "game/globals.h"

#include "platform/rng.h"

GameGlobals game;

#define TRACE_INT(name) {#name, &GameGlobals::name, nullptr}
#define TRACE_FLOAT(name) {#name, nullptr, &GameGlobals::name}

const TTracedGlobal kTracedGlobals[] = {
    TRACE_INT(oldtime),       TRACE_INT(curtime),       TRACE_INT(soundtimer),
    TRACE_INT(cloudcount),    TRACE_FLOAT(centerx),     TRACE_FLOAT(centery),
    TRACE_FLOAT(Leftwing),    TRACE_FLOAT(leftcount),   TRACE_FLOAT(rightwing),
    TRACE_FLOAT(rightcount),  TRACE_FLOAT(targetcenter), TRACE_FLOAT(targetleft),
    TRACE_FLOAT(targetright), TRACE_FLOAT(leftcountt),  TRACE_FLOAT(rightcountt),
    TRACE_FLOAT(fatigue),     TRACE_FLOAT(wind),        TRACE_FLOAT(targetwind),
    TRACE_FLOAT(islex),       TRACE_FLOAT(isley),       TRACE_FLOAT(altitude),
    TRACE_INT(hour),          TRACE_INT(minute),        TRACE_INT(score),
    TRACE_FLOAT(sunx),        TRACE_FLOAT(suny),        TRACE_INT(sunsize),
    TRACE_INT(life),          TRACE_FLOAT(thingelev),   TRACE_FLOAT(curthingelev),
    TRACE_INT(thingx),        TRACE_FLOAT(curthingx),   TRACE_INT(thingcount),
    TRACE_INT(clsr),          TRACE_INT(clsg),          TRACE_INT(clsb),
    TRACE_FLOAT(curr),        TRACE_FLOAT(curg),        TRACE_FLOAT(curb),
    TRACE_INT(GAMESTATE),
};
const int kTracedGlobalCount = static_cast<int>(sizeof kTracedGlobals / sizeof kTracedGlobals[0]);

#undef TRACE_INT
#undef TRACE_FLOAT

int initvars() {
    SeedRnd(1);
    game.cloudcount = 0;
    game.centerx = 320.0f;
    game.centery = 480.0f;
    game.Leftwing = 480.0f;
    game.leftcount = 0.0f;
    game.rightwing = 480.0f;
    game.rightcount = 0.0f;
    resetSmoothedCopies();
    game.fatigue = 0.0f;
    game.wind = 0.0f;
    game.targetwind = 0.0f;
    game.islex = 320.0f;
    game.isley = 0.0f;
    game.altitude = 1.0f;
    game.hour = 5;
    game.minute = 55;
    game.score = 0;
    game.life = 100;
    game.thingelev = 1.0f;
    game.curthingelev = 1.0f;
    game.thingx = 320;
    game.curthingx = 320.0f;
    game.thingcount = 0;
    return 0;
}

// Puts the smoothed copies the bird is drawn from onto the flight values they follow.
int resetSmoothedCopies() {
    game.targetcenter = game.centery;
    game.targetleft = game.Leftwing;
    game.targetright = game.rightwing;
    game.leftcountt = game.leftcount;
    game.rightcountt = game.rightcount;
    return 0;
}
