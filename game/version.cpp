#include "game/version.h"

const char* const kKestravaVersion = KESTRAVA_VERSION;
const char* const kKestravaTitle = "Kestrava v." KESTRAVA_VERSION_MAJOR_MINOR;
