// The shared pixel-test window.
#include "gl_fixture.h"

#include <cstdio>

#include "draw2d/draw.h"
#include "draw2d/gl/gl_plane_driver.h"
#include "draw2d/graphics.h"
#include "draw2d/layer.h"
#include "platform/sdl/sdl_platform.h"

// Opens the window once; then resets the drawing state and clears.
bool OpenTestGraphics() {
    if (GraphicsWidth() != 640 || GraphicsHeight() != 480 || GetGraphicsDriver() != GLPlaneDriver()) {
        InstallPlatform(SDLPlatform());
        StartDrawLayer(GLPlaneDriver());
        AppTitle = "Kestrava tests";
        if (!Graphics(640, 480, 0, 60, 0)) {
            std::fprintf(stderr, "no graphics window: %s\n", GraphicsError().c_str());
            return false;
        }
    }
    SetDrawingDefaults();
    Cls();
    return true;
}

uint32_t ReadPixel(int x, int y) {
    uint8_t rgba[4];
    if (!ReadFramePixels(x, y, 1, 1, rgba)) return 0xFF000000u;
    return (uint32_t{rgba[0]} << 16) | (uint32_t{rgba[1]} << 8) | rgba[2];
}

std::vector<uint32_t> ReadPixels(int x, int y, int width, int height) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    std::vector<uint32_t> out;
    if (!ReadFramePixels(x, y, width, height, rgba.data())) return out;
    for (size_t i = 0; i < rgba.size(); i += 4)
        out.push_back((uint32_t{rgba[i]} << 16) | (uint32_t{rgba[i + 1]} << 8) | rgba[i + 2]);
    return out;
}

int CountLitPixels(int x, int y, int width, int height) {
    int lit = 0;
    for (uint32_t p : ReadPixels(x, y, width, height)) lit += (p != 0);
    return lit;
}
