// The world's records: clouds, specks, wavelets, the points of the sky road, and feathers.
// Each kind is spawned, moved, drawn and removed by its own layer: clouds in sky.cpp,
// specks, wavelets and feathers in ground.cpp, road points in road.cpp.
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
