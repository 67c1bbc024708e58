// The game's music loops as the files it plays: made by kestrava_musicgen at build time for
// the desktop's embedded files, and by the web programs at start-up.
#pragma once

#include <cstdint>
#include <vector>

// The whole WAV file of music loop n (1 to 8), the same bytes on every machine; throws
// std::runtime_error when there is no such loop or its score cannot make it.
std::vector<uint8_t> MusicLoopFile(int n);
