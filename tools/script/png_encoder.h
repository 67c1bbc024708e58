// How the runner's pictures are packed: libpng on the desktop (png_encoder.cpp), stb_image_write
// on Windows (png_encoder_windows.cpp).
#pragma once

#include <cstdint>

class TOutputFile;

// Writes width * height 8-bit RGB pixels (rows top first) to the file as a PNG; false when the
// picture could not be encoded or a write failed (the file then holds the reason).
bool EncodePng(TOutputFile* file, const uint8_t* rgb, int width, int height);
