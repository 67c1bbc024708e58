// The keys on SDL: the keyboard's physical keys, and game controllers (plugged in or out at any
// time) whose controls press the keys the game already reads (shared_keys.h): the bird cannot
// tell a held shoulder from a held arrow key.
#include "platform/sdl/sdl_keys.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/input.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/shared_keys.h"

namespace {

// Physical key positions to key codes, so Z and M stay put on any layout.
struct TScancodeKey {
    SDL_Scancode scancode;
    int code;
};

constexpr TScancodeKey kKeyTable[] = {
    {SDL_SCANCODE_RETURN, 13}, {SDL_SCANCODE_ESCAPE, 27}, {SDL_SCANCODE_BACKSPACE, 8},
    {SDL_SCANCODE_TAB, 9}, {SDL_SCANCODE_SPACE, 32},
    {SDL_SCANCODE_MINUS, 189}, {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_LEFTBRACKET, 219}, {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_BACKSLASH, 220}, {SDL_SCANCODE_SEMICOLON, 186},
    {SDL_SCANCODE_APOSTROPHE, 222}, {SDL_SCANCODE_GRAVE, 192}, {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_PERIOD, 190}, {SDL_SCANCODE_SLASH, 191}, {SDL_SCANCODE_NONUSBACKSLASH, 226},
    {SDL_SCANCODE_CAPSLOCK, 20}, {SDL_SCANCODE_PRINTSCREEN, 44}, {SDL_SCANCODE_SCROLLLOCK, 145},
    {SDL_SCANCODE_PAUSE, 19}, {SDL_SCANCODE_INSERT, 45}, {SDL_SCANCODE_HOME, 36},
    {SDL_SCANCODE_PAGEUP, 33}, {SDL_SCANCODE_DELETE, 46}, {SDL_SCANCODE_END, 35},
    {SDL_SCANCODE_PAGEDOWN, 34}, {SDL_SCANCODE_RIGHT, 39}, {SDL_SCANCODE_LEFT, 37},
    {SDL_SCANCODE_DOWN, 40}, {SDL_SCANCODE_UP, 38}, {SDL_SCANCODE_APPLICATION, 93},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144}, {SDL_SCANCODE_KP_DIVIDE, 111},
    {SDL_SCANCODE_KP_MULTIPLY, 106}, {SDL_SCANCODE_KP_MINUS, 109}, {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_ENTER, 13}, {SDL_SCANCODE_KP_PERIOD, 110}, {SDL_SCANCODE_KP_0, 96},
    {SDL_SCANCODE_LSHIFT, 160}, {SDL_SCANCODE_RSHIFT, 161}, {SDL_SCANCODE_LCTRL, 162},
    {SDL_SCANCODE_RCTRL, 163}, {SDL_SCANCODE_LALT, 164}, {SDL_SCANCODE_RALT, 165},
    {SDL_SCANCODE_LGUI, 91}, {SDL_SCANCODE_RGUI, 92},
};

struct TPad {
    SDL_JoystickID id = -1;
    SDL_GameController* controller = nullptr;
    TPadControls controls;
};

std::vector<TPad> pads;
TSharedKeys sharedKeys;
// The keys the platform keeps for itself (F11 and Alt+Enter switch full screen), whose presses
// and releases never reach the game (Alt itself still does, as any key).
bool kept[SDL_NUM_SCANCODES] = {};

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
    sharedKeys.ReleasePad(pad->controls);
    SDL_GameControllerClose(pad->controller);
    pads.erase(pad);
}

bool TogglesFullscreen(const SDL_Keysym& key) {
    if (key.scancode == SDL_SCANCODE_F11) return true;
    return (key.scancode == SDL_SCANCODE_RETURN || key.scancode == SDL_SCANCODE_KP_ENTER) && (key.mod & KMOD_ALT);
}

void TranslateKeyboard(const SDL_KeyboardEvent& key) {
    const SDL_Scancode scancode = key.keysym.scancode;
    const bool known = scancode < SDL_NUM_SCANCODES;
    if (key.type == SDL_KEYDOWN && known && TogglesFullscreen(key.keysym)) {
        kept[scancode] = true;
        if (!key.repeat) ToggleFullscreen(key.windowID);
        return;
    }
    if (key.type == SDL_KEYUP && known && kept[scancode]) {
        kept[scancode] = false;
        return;
    }
    if (key.type == SDL_KEYDOWN && key.repeat) return;
    if (int code = KeyCodeForScancode(scancode)) sharedKeys.Keyboard(key.type == SDL_KEYDOWN, code, KeyMods(key.keysym.mod));
}

// The control a button is, or -1.
int ButtonControl(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return PAD_LEFTSHOULDER;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return PAD_RIGHTSHOULDER;
    case SDL_CONTROLLER_BUTTON_A: return PAD_A;
    case SDL_CONTROLLER_BUTTON_START: return PAD_START;
    case SDL_CONTROLLER_BUTTON_BACK: return PAD_BACK;
    }
    return -1;
}

}  // namespace

int KeyMods(Uint16 sdlMods) {
    int mods = 0;
    if (sdlMods & KMOD_SHIFT) mods |= 1;
    if (sdlMods & KMOD_CTRL) mods |= 2;
    if (sdlMods & KMOD_ALT) mods |= 4;
    if (sdlMods & KMOD_GUI) mods |= 8;
    return mods;
}

int KeyCodeForScancode(int scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0) return '0';
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return 112 + (scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) return 124 + (scancode - SDL_SCANCODE_F13);
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) return 97 + (scancode - SDL_SCANCODE_KP_1);
    for (const TScancodeKey& k : kKeyTable) {
        if (k.scancode == scancode) return k.code;
    }
    return 0;
}

bool TranslateKeyEvent(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKeyboard(e.key);
        return true;
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
        if (pad != pads.end() && control >= 0) sharedKeys.Pad(pad->controls, control, e.type == SDL_CONTROLLERBUTTONDOWN);
        return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
        auto pad = FindPad(e.caxis.which);
        int control = e.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT    ? PAD_LEFTTRIGGER
                      : e.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT ? PAD_RIGHTTRIGGER
                                                                         : -1;
        if (pad == pads.end() || control < 0) return true;
        // The axis runs from 0 to 32767: the marks fall on whole values.
        if (e.caxis.value >= kTriggerPress * 32768) sharedKeys.Pad(pad->controls, control, true);
        else if (e.caxis.value < kTriggerRelease * 32768) sharedKeys.Pad(pad->controls, control, false);
        return true;
    }
    }
    return false;
}

// The pads already plugged in arrive as added events. Pads left from an earlier start of SDL
// went with it.
bool StartGamepads() {
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return true;
    pads.clear();
    sharedKeys.ForgetPads();
    return SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

int GamepadCount() { return static_cast<int>(pads.size()); }
