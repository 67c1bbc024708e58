// The game's entry: the start-up sequence and the frame loop, with nothing substituted.
#include "draw2d/gl/gl_plane_driver.h"
#include "game/kestrava.h"

int main() {
    TGameHooks hooks;
    hooks.planeDriver = GLPlaneDriver();
    return RunKestrava(hooks);
}
