#include "game/player_keys.h"

#include <algorithm>
#include <utility>

#include "audio/mixora.h"
#include "draw2d/draw.h"
#include "draw2d/font.h"
#include "draw2d/graphics.h"
#include "game/game.h"

namespace {

constexpr const char* kPausedLine = "Paused - press P to go on";

// The run's player keys and its pause: the frame under the "Paused" line, to put back when
// the game goes on.
struct TPause {
    bool started = false;
    bool paused = false;
    TPlayerKeys keys;
    TPixmapPtr held;
    std::function<void(bool)> told;
};
TPause playerPause;

// The event hook: the sound changes as soon as its key comes.
void TakePlayerKey(const TEvent& event, void*) {
    if (playerPause.keys.Take(event)) mxo_SetMasterVolume(playerPause.keys.OutputVolume());
}

// The line over the held frame, in white with the HUD's outline, leaving the drawing state
// as it was.
void DrawPausedLine() {
    int red, green, blue;
    GetColor(&red, &green, &blue);
    const float alpha = GetAlpha();
    const int blend = GetBlend();
    float scaleX, scaleY;
    GetScale(&scaleX, &scaleY);
    SetBlend(BLEND_ALPHA);
    SetScale(1.0f, 1.0f);
    SetColor(255, 255, 255);
    drawOutlineText(kPausedLine, 320 - TextWidth(kPausedLine) / 2, 260);
    SetScale(scaleX, scaleY);
    SetBlend(blend);
    SetColor(red, green, blue);
    SetAlpha(alpha);
}

// The picture is kept as the last pass left it, so putting it back leaves the next pass
// drawing over exactly what it would have without the playerPause.
void BeginPause() {
    playerPause.paused = true;
    if (playerPause.told) playerPause.told(true);
    mxo_HoldOutput(1);
    playerPause.held = GrabPicture();
    if (playerPause.held) DrawPausedLine();
}

void EndPause() {
    if (playerPause.held) PutPicture(*playerPause.held);
    playerPause.held.reset();
    mxo_HoldOutput(0);
    if (playerPause.told) playerPause.told(false);
    playerPause.paused = false;
}

}  // namespace

bool TPlayerKeys::Take(const TEvent& event) {
    if (event.id == EVENT_APPTERMINATE || (event.id == EVENT_KEYDOWN && event.data == KEY_ESCAPE)) ending = true;
    if (pauseWhenAway && (event.id == EVENT_APPSUSPEND || event.id == EVENT_APPHIDDEN)) pauseAsked = true;
    if (event.id != EVENT_KEYDOWN) return false;
    switch (event.data) {
    case KEY_P:
    case KEY_PAUSE: pauseAsked = !pauseAsked; return false;
    case KEY_F8: muted = !muted; return true;
    case KEY_F9: volume = std::max(volume - 10, 0); break;
    case KEY_F10: volume = std::min(volume + 10, 100); break;
    default: return false;
    }
    muted = false;   // turning the sound up or down brings it back
    return true;
}

void StartPlayerKeys(bool pauseWhenAway, std::function<void(bool paused)> paused) {
    StopPlayerKeys();
    playerPause.keys = TPlayerKeys{};
    playerPause.keys.pauseWhenAway = pauseWhenAway;
    playerPause.keys.volume = mxo_MasterVolume();
    playerPause.told = std::move(paused);
    playerPause.started = true;
    AddEventHook(TakePlayerKey, nullptr);
}

void StopPlayerKeys() {
    if (!playerPause.started) return;
    if (playerPause.paused) EndPause();
    RemoveEventHook(TakePlayerKey, nullptr);
    playerPause.told = nullptr;
    playerPause.started = false;
}

bool PausedTurn() {
    if (!playerPause.started || (!playerPause.paused && !playerPause.keys.Paused())) return false;
    if (!playerPause.paused) BeginPause();
    PollSystem();
    if (!playerPause.keys.Paused()) {
        EndPause();
        return false;
    }
    Flip(-1);
    return true;
}
