// The player's keys: Space starts a flight, the flap keys move the wings and the altitude;
// and the title texts.
#include <string>

#include "draw2d/font.h"
#include "game/game.h"
#include "platform/input.h"

namespace {

// Counts the frames a flap key has been held, up to 35; 0 as soon as it is up.
bool readFlap(int key, int otherKey, float& count) {
    if (KeyDown(key) || KeyDown(otherKey)) {
        count += 1.0;
        if (count > 35.0) count = 35.0;
        return true;
    }
    count = 0.0f;
    return false;
}

// Draws a title text centred on x = 320.
void drawCentredText(const std::string& text, int y) {
    drawOutlineText(text, 320 - TextWidth(text) / 2, y);
}

}  // namespace

// Reads the keys for this frame: Space on the title screen, the flap keys in flight.
int getInput() {
    if (game.GAMESTATE == GAMESTATE_TITLE) {
        if (KeyHit(KEY_SPACE)) {
            initvars();
            game.GAMESTATE = GAMESTATE_FLYING;
        }
        return 0;
    }
    bool leftFlap = readFlap(KEY_Z, KEY_LEFT, game.leftcount);
    bool rightFlap = readFlap(KEY_M, KEY_RIGHT, game.rightcount);
    if (leftFlap && rightFlap && game.fatigue < 85.0) {
        game.rightwing -= 2.0;
        game.Leftwing -= 2.0;
    }
    // Gliding and diving take the bird down toward the ground, tapping both wings climbs.
    game.altitude += 0.0001;
    if (game.rightcount == 35.0f) game.altitude += 0.0005;
    if (game.leftcount == 35.0f) game.altitude += 0.0005;
    if (game.leftcount < 35.0f && game.rightcount < 35.0f && leftFlap && rightFlap) game.altitude -= 0.001;
    if (game.altitude < 0.0f) game.altitude = 0.0f;
    return 0;
}

// Draws the title texts while the title screen shows.
int drawmenu() {
    if (game.GAMESTATE != GAMESTATE_TITLE) return 0;
    drawCentredText("Press SPACE to start flying.", 230);
    drawCentredText("Left and right arrow keys or Z and M to flap; hold them down to dive.", 360);
    drawCentredText("Stay on the blue sky road! It earns points.", 375);
    drawCentredText("If you drift off course, you'll lose lifeforce and the game will end.", 390);
    return 0;
}
