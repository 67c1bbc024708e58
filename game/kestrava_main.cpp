// The game's entry: the start-up sequence and the frame loop, with nothing substituted.
#include "game/kestrava.h"

int main() { return RunKestrava(TGameHooks{}); }
