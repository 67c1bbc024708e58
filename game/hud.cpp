// The head-up display: wind gauge, clock, life bar, score and outlined text.
#include "game/game.h"

int drawWind() { return 0; }
int drawScore() { return 0; }
int drawOutlineText(const std::string&, int, int) { return 0; }
std::string clockText(int, int) { return std::string(); }
