// The keys on a page: the keyboard's keys by their place (KeyboardEvent.code), and the browser's
// standard-mapped gamepads, whose controls press the keys the game already reads, as on the
// desktop (shared_keys.h).
#include "platform/web/web_keys.h"

#include <emscripten/html5.h>

#include <cstring>
#include <vector>

#include "platform/input.h"
#include "platform/shared_keys.h"
#include "platform/web/web_platform.h"

namespace {

struct TDomKey {
    const char* code;
    int key;
};

constexpr TDomKey kKeyTable[] = {
    {"Enter", 13}, {"Escape", 27}, {"Backspace", 8}, {"Tab", 9}, {"Space", 32},
    {"Minus", 189}, {"Equal", 187}, {"BracketLeft", 219}, {"BracketRight", 221},
    {"Backslash", 220}, {"Semicolon", 186}, {"Quote", 222}, {"Backquote", 192}, {"Comma", 188},
    {"Period", 190}, {"Slash", 191}, {"IntlBackslash", 226},
    {"CapsLock", 20}, {"PrintScreen", 44}, {"ScrollLock", 145},
    {"Pause", 19}, {"Insert", 45}, {"Home", 36},
    {"PageUp", 33}, {"Delete", 46}, {"End", 35},
    {"PageDown", 34}, {"ArrowRight", 39}, {"ArrowLeft", 37},
    {"ArrowDown", 40}, {"ArrowUp", 38}, {"ContextMenu", 93},
    {"NumLock", 144}, {"NumpadDivide", 111},
    {"NumpadMultiply", 106}, {"NumpadSubtract", 109}, {"NumpadAdd", 107},
    {"NumpadEnter", 13}, {"NumpadDecimal", 110}, {"Numpad0", 96},
    {"ShiftLeft", 160}, {"ShiftRight", 161}, {"ControlLeft", 162},
    {"ControlRight", 163}, {"AltLeft", 164}, {"AltRight", 165},
    {"MetaLeft", 91}, {"MetaRight", 92}, {"OSLeft", 91}, {"OSRight", 92},
};

// Each pad control's button in the browser's standard mapping.
constexpr int kControlButton[PAD_CONTROLS] = {4, 6, 5, 7, 0, 9, 8};

std::vector<TPadControls> pads;   // by the browser's gamepad index
TSharedKeys sharedKeys;
// The places the platform keeps for itself (F11, Alt+Enter), whose releases never reach the game.
bool keptF11 = false, keptEnter = false;

// Whether the control is pressed now; a trigger between its two marks stays as it was.
bool ControlPressed(const EmscriptenGamepadEvent& state, int control, bool wasHeld) {
    const int button = kControlButton[control];
    if (button >= state.numButtons) return false;
    if (control != PAD_LEFTTRIGGER && control != PAD_RIGHTTRIGGER) return state.digitalButton[button];
    const double value = state.analogButton[button];
    return value >= kTriggerPress || (wasHeld && value >= kTriggerRelease);
}

}  // namespace

int WebKeyMods(bool shift, bool control, bool alt, bool meta) {
    return (shift ? 1 : 0) | (control ? 2 : 0) | (alt ? 4 : 0) | (meta ? 8 : 0);
}

int KeyCodeForDomCode(const char* code) {
    const size_t length = std::strlen(code);
    if (length == 4 && std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z') return code[3];
    if (length == 6 && std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9') return code[5];
    if (length == 7 && std::strncmp(code, "Numpad", 6) == 0 && code[6] >= '1' && code[6] <= '9')
        return 97 + (code[6] - '1');
    if ((length == 2 || length == 3) && code[0] == 'F' && code[1] >= '1' && code[1] <= '9') {
        const int number = length == 2 ? code[1] - '0' : (code[1] - '0') * 10 + (code[2] - '0');
        if (length == 3 && (code[2] < '0' || code[2] > '9')) return 0;
        if (number >= 1 && number <= 24) return 111 + number;
    }
    for (const TDomKey& k : kKeyTable)
        if (std::strcmp(k.code, code) == 0) return k.key;
    return 0;
}

bool KeepForFullscreen(bool down, const char* code, int mods) {
    const bool enter = std::strcmp(code, "Enter") == 0 || std::strcmp(code, "NumpadEnter") == 0;
    bool& kept = std::strcmp(code, "F11") == 0 ? keptF11 : keptEnter;
    if (std::strcmp(code, "F11") != 0 && !enter) return false;
    if (down && (!enter || (mods & 4))) {
        if (!kept) ToggleWebFullscreen();
        kept = true;
        return true;
    }
    if (!down && kept) {
        kept = false;
        return true;
    }
    return false;
}

bool WebKeyboardKey(bool down, const char* code, int mods) {
    const int key = KeyCodeForDomCode(code);
    if (key == 0) return false;
    if (sharedKeys.KeyboardHolds(key) == down) return true;   // the browser's repeats
    sharedKeys.Keyboard(down, key, mods);
    return true;
}

void ReleaseKeyboard() {
    sharedKeys.ReleaseKeyboard();
    keptF11 = keptEnter = false;
}

void PollWebGamepads() {
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return;
    const int count = emscripten_get_num_gamepads();
    if (count < 0) return;
    for (size_t index = count; index < pads.size(); ++index) sharedKeys.ReleasePad(pads[index]);
    pads.resize(static_cast<size_t>(count));
    for (int index = 0; index < count; ++index) {
        EmscriptenGamepadEvent state;
        const bool usable = emscripten_get_gamepad_status(index, &state) == EMSCRIPTEN_RESULT_SUCCESS &&
                            state.connected && std::strcmp(state.mapping, "standard") == 0;
        TPadControls& pad = pads[index];
        for (int control = 0; control < PAD_CONTROLS; ++control)
            sharedKeys.Pad(pad, control, usable && ControlPressed(state, control, pad.held[control]));
    }
}
