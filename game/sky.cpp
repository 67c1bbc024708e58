// The sky's light (sun or moon) and the drifting clouds.
#include "game/game.h"

int drawSunMoon() { return 0; }
int drawClouds() { return 0; }
