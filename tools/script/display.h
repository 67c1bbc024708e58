// What draws and saves the runner's pictures (--shot, --stats): the desktop platform's window,
// the GL plane driver and a PNG encoder (png_encoder.h); the web build has none of them
// (display_web.cpp).
#pragma once

#include <cstdint>
#include <string>

struct TPlaneDriver;
struct TWindowDriver;

// The window part and plane driver that draw pictures; false when this build has no display.
bool ScriptDisplay(TWindowDriver** window, TPlaneDriver** planeDriver);

// Saves 8-bit RGBA rows (top row first) as an RGB PNG, named what in messages; false with
// "cannot write WHAT PATH: REASON" in *error.
bool WritePng(const std::string& path, const std::string& what, const uint8_t* rgba, int width, int height,
              std::string* error);
