// The game's entry: the start-up sequence and the frame loop, with nothing substituted.
#include "draw2d/gl/gl_plane_driver.h"
#include "game/kestrava.h"
#include "platform/sdl/sdl_platform.h"

int main() {
    InstallPlatform(SDLPlatform());   // the desktop: SDL's window, keyboard, clock and sound
    TGameHooks hooks;
    hooks.planeDriver = GLPlaneDriver();   // drawn with OpenGL
    return RunKestrava(hooks);
}
