// The game globals record: every variable of game state that more than one function shares.
#pragma once

#include "audio/sound.h"
#include "draw2d/image.h"
#include "game/tlist.h"
#include "game/world.h"

struct GameGlobals {
    int oldtime = 0;
    int curtime = 0;
    int soundtimer = 0;
    int cloudcount = 0;
    float centerx = 320.0f;
    float centery = 480.0f;
    float Leftwing = 480.0f;
    float leftcount = 0.0f;
    float rightwing = 480.0f;
    float rightcount = 0.0f;
    float targetcenter = 0.0f;   // the five smoothed values get their start values at start-up
    float targetleft = 0.0f;
    float targetright = 0.0f;
    float leftcountt = 0.0f;
    float rightcountt = 0.0f;
    float fatigue = 0.0f;
    float wind = 0.0f;
    float targetwind = 0.0f;
    float islex = 320.0f;
    float isley = 0.0f;
    float altitude = 1.0f;
    int hour = 5;
    int minute = 55;
    int score = 0;
    float sunx = 100.0f;
    float suny = 100.0f;
    int sunsize = 50;
    int life = 100;
    float thingelev = 1.0f;
    float curthingelev = 1.0f;
    int thingx = 320;
    float curthingx = 320.0f;
    int thingcount = 0;
    int clsr = 0, clsg = 0, clsb = 0;
    float curr = 0.0f, curg = 0.0f, curb = 0.0f;
    TSoundPtr sound1, sound2, sound3, sound4, sound5, sound6, sound7, sound8;
    TImagePtr wingimg, isleimg, cloudimg, arrowimg;
    TList<cloud> cloudList;
    TList<speck> speckList;
    TList<wavelet> waveList;
    TList<thing> thingList;
    TList<feather> featherList;
    int GAMESTATE = 1;
};

extern GameGlobals game;

enum : int { GAMESTATE_FLYING = 0, GAMESTATE_TITLE = 1 };

// The int and float globals by name, in record order, for the scripted runner's trace.
struct TTracedGlobal {
    const char* name;
    int GameGlobals::*intField;      // exactly one of the two is set
    float GameGlobals::*floatField;
};
extern const TTracedGlobal kTracedGlobals[];
extern const int kTracedGlobalCount;

// Resets the game for a new flight; the lists, the sky colours and the sun are kept.
int initvars();
// The drawn body, wings and wing counts take the flight values they follow.
int resetSmoothedCopies();
