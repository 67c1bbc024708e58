// Game controllers through SDL's game controller API: plugged in or out at any time, their
// shoulders, triggers, A and Start press the keys the game already reads. A pad is one more
// hand on the keyboard: the bird cannot tell a held shoulder from a held arrow key.
#include "platform/sdl/sdl_gamepad.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/input.h"
#include "platform/sdl/sdl_platform.h"

namespace {

// The controls that press keys, and the key each presses.
enum : int {
    PAD_LEFTSHOULDER, PAD_LEFTTRIGGER, PAD_RIGHTSHOULDER, PAD_RIGHTTRIGGER, PAD_A, PAD_START,
    PAD_CONTROLS
};
constexpr int kControlKey[PAD_CONTROLS] = {KEY_LEFT, KEY_LEFT, KEY_RIGHT, KEY_RIGHT, KEY_SPACE, KEY_SPACE};

// A trigger presses past half its travel and lets go below a quarter, so a finger resting
// near the middle does not chatter.
constexpr int kTriggerPress = 16384;
constexpr int kTriggerRelease = 8192;

struct TPad {
    SDL_JoystickID id = -1;
    SDL_GameController* controller = nullptr;
    bool held[PAD_CONTROLS] = {};
};

// Who holds each key: the keyboard (a flag) and the pads (a count of held controls).
struct TKeyHolds {
    bool keyboard[256] = {};
    int pads[256] = {};
};

std::vector<TPad> pads;
TKeyHolds holds;

bool IsKey(int code) { return code >= 0 && code < 256; }

void EmitKey(bool down, int code, int mods) {
    TEvent ev;
    ev.id = down ? EVENT_KEYDOWN : EVENT_KEYUP;
    ev.data = code;
    ev.mods = mods;
    EmitEvent(ev);
}

// A pad control went down or up: the key goes down with the first holder and up with the last.
void SetControl(TPad& pad, int control, bool down) {
    if (pad.held[control] == down) return;
    pad.held[control] = down;
    int code = kControlKey[control];
    int& count = holds.pads[code];
    count += down ? 1 : -1;
    if (holds.keyboard[code]) return;
    if ((down && count == 1) || (!down && count == 0)) EmitKey(down, code, 0);
}

std::vector<TPad>::iterator FindPad(SDL_JoystickID id) {
    return std::find_if(pads.begin(), pads.end(), [id](const TPad& p) { return p.id == id; });
}

// Opens the pad at this device index, once.
void AddPad(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || FindPad(id) != pads.end()) return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    TPad pad;
    pad.id = id;
    pad.controller = controller;
    pads.push_back(pad);
}

// Lets go of everything the pad held, then closes it.
void RemovePad(SDL_JoystickID id) {
    auto pad = FindPad(id);
    if (pad == pads.end()) return;
    for (int control = 0; control < PAD_CONTROLS; ++control) SetControl(*pad, control, false);
    SDL_GameControllerClose(pad->controller);
    pads.erase(pad);
}

// The control a button is, or -1.
int ButtonControl(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return PAD_LEFTSHOULDER;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return PAD_RIGHTSHOULDER;
    case SDL_CONTROLLER_BUTTON_A: return PAD_A;
    case SDL_CONTROLLER_BUTTON_START: return PAD_START;
    }
    return -1;
}

}  // namespace

// The keyboard's half of a shared key.
void EmitKeyboardKey(bool down, int code, int mods) {
    if (!IsKey(code)) {
        EmitKey(down, code, mods);
        return;
    }
    holds.keyboard[code] = down;
    if (holds.pads[code] == 0) EmitKey(down, code, mods);
}

bool TranslateGamepadEvent(const SDL_Event& e) {
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
        AddPad(e.cdevice.which);
        return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        RemovePad(e.cdevice.which);
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        auto pad = FindPad(e.cbutton.which);
        int control = ButtonControl(e.cbutton.button);
        if (pad != pads.end() && control >= 0) SetControl(*pad, control, e.type == SDL_CONTROLLERBUTTONDOWN);
        return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
        auto pad = FindPad(e.caxis.which);
        int control = e.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT    ? PAD_LEFTTRIGGER
                      : e.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT ? PAD_RIGHTTRIGGER
                                                                         : -1;
        if (pad == pads.end() || control < 0) return true;
        if (e.caxis.value >= kTriggerPress) SetControl(*pad, control, true);
        else if (e.caxis.value < kTriggerRelease) SetControl(*pad, control, false);
        return true;
    }
    }
    return false;
}

// Starts the game controller subsystem; the pads already plugged in arrive as added events.
// Pads left from an earlier start of SDL went with it.
bool StartGamepads() {
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return true;
    pads.clear();
    std::fill(std::begin(holds.pads), std::end(holds.pads), 0);
    return SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

int GamepadCount() { return static_cast<int>(pads.size()); }
