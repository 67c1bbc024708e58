// The music: eight loops of about sixteen seconds, chosen anew at every music step.
#include <string>

#include "game/game.h"
#include "platform/rng.h"

// Loads the eight music loops, unlooped.
int loadSounds() {
    TSoundPtr* sounds[] = {&game.sound1, &game.sound2, &game.sound3, &game.sound4,
                           &game.sound5, &game.sound6, &game.sound7, &game.sound8};
    for (int n = 1; n <= 8; ++n)
        *sounds[n - 1] = LoadSound("incbin::sound" + std::to_string(n) + ".wav", 0);
    return 0;
}

// Chooses the next loops: at random on the title screen; in flight, layered from what the
// bird is doing. Starts some loops itself and returns the one main starts.
TSoundPtr picksound() {
    game.soundtimer = 0;
    if (game.GAMESTATE == GAMESTATE_TITLE) {
        const TSoundPtr* sounds[] = {&game.sound1, &game.sound2, &game.sound3,
                                     &game.sound4, &game.sound5, &game.sound6,
                                     &game.sound7, &game.sound8, &game.sound8};
        return *sounds[Rand(0, 8)];
    }
    TSoundPtr choice = game.sound8;
    if (game.centery == 439.0f) return game.sound8;   // resting at the bottom: just the base loop
    PlaySound(game.sound8);

    // The body sinking or rising.
    if (game.targetcenter < game.centery) choice = game.sound1;
    if (game.targetcenter > game.centery) choice = game.sound2;
    if (Rand(0, 1) != 0) PlaySound(choice);

    // A wing moving down.
    if (game.targetright < game.rightwing) choice = game.sound3;
    if (game.targetleft < game.Leftwing) choice = game.sound4;
    if (Rand(0, 1) != 0) PlaySound(choice);

    // A wing moving up.
    if (game.targetright > game.rightwing) choice = game.sound5;
    if (game.targetleft > game.Leftwing) choice = game.sound6;
    if (Rand(0, 1) != 0) PlaySound(choice);

    if (game.centery < 200.0f) choice = game.sound7;   // high on the screen
    return choice;
}
