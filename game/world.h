// The world's records: clouds, specks, wavelets, the points of the sky road, and feathers.
#pragma once

struct cloud {
    float x;
    float y;
    float speed;
    float scale;
};

struct speck {
    float x;
    float y;
    float speed;
};

struct wavelet {
    float x;
    float y;
    float speed;
};

// One point of the sky road.
struct thing {
    float x;
    float y;
    float speed;
    int passed;
    float elev;
};

struct feather {
    int x;
    int y;
    int size;
    float alpha;
    int r;
    int g;
    int b;
};

// Spawning; each returns 0.
int addCloud();
int addSpeck();
int addWave();
int addThing();
int addFeather(int x, int y);

// The scroll step: every world object drifts down the screen by this much per frame,
// more the higher the bird flies.
double scrollStep();
