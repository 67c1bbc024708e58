// Placeholder until the game's start-up lands.
#include "game/kestrava.h"

int RunKestrava(const TGameHooks&) { return 0; }
