// Placeholder until the game lands.
#include "game/kestrava.h"

int RunKestrava(const TGameHooks&) { return 0; }
