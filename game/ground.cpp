// The sea's wavelets, the island, the twinkling specks and the feathers.
#include "game/game.h"

int drawWaves() { return 0; }
int drawIsland() { return 0; }
int drawSpecks() { return 0; }
int drawFeathers() { return 0; }
