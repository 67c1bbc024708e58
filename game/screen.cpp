// One frame: every layer from the sky to the HUD, the sky-colour fade over it all, the flip.
#include "draw2d/draw.h"
#include "draw2d/graphics.h"
#include "game/game.h"
#include "platform/numeric.h"

// How far every world object drifts down the screen this frame: faster the higher the bird.
double scrollStep() { return (640.0 - game.centery) / 400.0; }

// Draws and presents one frame over the picture the previous frames left.
int drawScreen() {
    SetColor(255, 255, 255);
    SetAlpha(1.0f);

    EndLayer("pass start");   // the clock, the road cadence, the music step
    drawSunMoon();
    EndLayer("sun");
    drawWaves();
    EndLayer("waves");
    drawIsland();
    EndLayer("island");
    drawSpecks();
    EndLayer("specks");
    drawClouds();
    EndLayer("clouds");
    drawThings(0);   // the road below the bird
    drawBird();
    drawThings(1);   // the road above the bird
    EndLayer("road and bird");
    drawWind();
    drawScore();
    drawmenu();
    drawFlapStats();
    EndLayer("hud");

    SetAlpha(0.13f);
    double step = game.GAMESTATE == GAMESTATE_TITLE ? 0.1 : 0.01;
    // The components do not depend on each other, so each takes both its tests in turn.
    stepToward(game.curr, game.clsr, step);
    stepToward(game.curg, game.clsg, step);
    stepToward(game.curb, game.clsb, step);
    SetColor(TruncInt(game.curr), TruncInt(game.curg), TruncInt(game.curb));

    // The fade: pulls the whole picture 13 % toward the sky colour, painting the sky and
    // leaving every moving thing a short trail.
    DrawRect(0, 0, 640, 480);
    EndLayer("fade");
    Flip(-1);
    EndLayer("flip");
    return 0;
}
