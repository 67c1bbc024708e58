// Starting the drawing layer with the driver that draws it.
#pragma once

struct TPlaneDriver;

// Starts the drawing layer: registers its embedded font files and the pixmap loaders (once)
// and makes `driver` the one graphics are opened with (none: the null driver, which draws
// nothing). GLPlaneDriver() (draw2d/gl/gl_plane_driver.h) draws into real windows.
void StartDrawLayer(TPlaneDriver* driver);
