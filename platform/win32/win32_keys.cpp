// The keys on Windows: the keyboard's physical keys by scancode, and XInput pads (plugged in or
// out at any time) whose controls press the keys the game already reads (shared_keys.h).
#include "platform/win32/win32_events.h"

#include <xinput.h>

#include <iterator>

#include "platform/input.h"
#include "platform/shared_keys.h"
#include "platform/win32/win32_platform.h"

namespace {

// Scancodes (set 1, as WM_KEYDOWN gives them) to key codes, so Z and M stay put on any
// layout. The extended bit tells the arrows and the keys above them from the keypad's, and the
// right Ctrl and Alt, keypad Enter and divide, and the Windows keys from the rest.
struct TScancodeKey {
    int scancode;
    bool extended;
    int code;
};

constexpr TScancodeKey kKeyTable[] = {
    {0x01, false, 27}, {0x0c, false, 189}, {0x0d, false, 187}, {0x0e, false, 8}, {0x0f, false, 9},
    {0x1a, false, 219}, {0x1b, false, 221}, {0x1c, false, 13}, {0x1c, true, 13}, {0x1d, false, 162},
    {0x1d, true, 163}, {0x27, false, 186}, {0x28, false, 222}, {0x29, false, 192}, {0x2a, false, 160},
    {0x2b, false, 220}, {0x33, false, 188}, {0x34, false, 190}, {0x35, false, 191}, {0x35, true, 111},
    {0x36, false, 161}, {0x37, false, 106}, {0x37, true, 44}, {0x38, false, 164}, {0x38, true, 165},
    {0x39, false, 32}, {0x3a, false, 20}, {0x45, true, 144}, {0x46, false, 145}, {0x47, true, 36},
    {0x48, true, 38}, {0x49, true, 33}, {0x4a, false, 109}, {0x4b, true, 37},
    {0x4d, true, 39}, {0x4e, false, 107}, {0x4f, true, 35}, {0x50, true, 40}, {0x51, true, 34},
    {0x52, false, 96}, {0x52, true, 45}, {0x53, false, 110}, {0x53, true, 46}, {0x56, false, 226},
    {0x57, false, 122}, {0x58, false, 123}, {0x5b, true, 91}, {0x5c, true, 92}, {0x5d, true, 93},
    {0x76, false, 135},
};

// The rows of the main block, left to right, as scancodes run along them.
constexpr char kLetterRows[][11] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
constexpr int kLetterRowStart[] = {0x10, 0x1e, 0x2c};
// The keypad's digits 7 8 9, 4 5 6, 1 2 3 without the extended bit.
constexpr int kKeypadDigits[] = {0x47, 0x48, 0x49, 0, 0x4b, 0x4c, 0x4d, 0, 0x4f, 0x50, 0x51};
constexpr int kKeypadCodes[] = {103, 104, 105, 0, 100, 101, 102, 0, 97, 98, 99};

constexpr int kPadSlots = 4;   // XInput's
// An unplugged slot is asked again only every this many polls: asking an empty slot is slow.
constexpr int kEmptySlotPolls = 60;

struct TPad {
    bool connected = false;
    TPadControls controls;
};

using TXInputGetState = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);
TXInputGetState xinputGetState = nullptr;
TPad pads[kPadSlots];
int polls = 0;
TSharedKeys sharedKeys;
// The keys the platform keeps for itself (F11 and Alt+Enter switch full screen), by scancode
// and extended bit: their presses and releases never reach the game.
bool kept[512] = {};

bool TogglesFullscreen(int scancode, LPARAM lParam) {
    if (scancode == 0x57) return true;
    return scancode == 0x1c && (lParam & (1 << 29));   // Enter with Alt held
}

// The pad's buttons and triggers as they read now. A trigger runs from 0 to 255.
void ReadPad(TPad& pad, const XINPUT_GAMEPAD& state) {
    static constexpr struct {
        WORD button;
        int control;
    } kButtons[] = {{XINPUT_GAMEPAD_LEFT_SHOULDER, PAD_LEFTSHOULDER}, {XINPUT_GAMEPAD_RIGHT_SHOULDER, PAD_RIGHTSHOULDER},
                    {XINPUT_GAMEPAD_A, PAD_A}, {XINPUT_GAMEPAD_START, PAD_START}, {XINPUT_GAMEPAD_BACK, PAD_BACK}};
    for (const auto& b : kButtons) sharedKeys.Pad(pad.controls, b.control, (state.wButtons & b.button) != 0);
    const BYTE triggers[] = {state.bLeftTrigger, state.bRightTrigger};
    const int controls[] = {PAD_LEFTTRIGGER, PAD_RIGHTTRIGGER};
    for (int i = 0; i < 2; ++i) {
        if (triggers[i] >= kTriggerPress * 255) sharedKeys.Pad(pad.controls, controls[i], true);
        else if (triggers[i] < kTriggerRelease * 255) sharedKeys.Pad(pad.controls, controls[i], false);
    }
}

}  // namespace

int KeyMods() {
    int mods = 0;
    if (GetKeyState(VK_SHIFT) < 0) mods |= 1;
    if (GetKeyState(VK_CONTROL) < 0) mods |= 2;
    if (GetKeyState(VK_MENU) < 0) mods |= 4;
    if (GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0) mods |= 8;
    return mods;
}

int KeyCodeForScancode(int scancode, bool extended) {
    if (!extended && scancode >= 0x02 && scancode <= 0x0a) return '1' + (scancode - 0x02);
    if (!extended && scancode == 0x0b) return '0';
    if (!extended && scancode >= 0x3b && scancode <= 0x44) return 112 + (scancode - 0x3b);
    if (!extended && scancode >= 0x64 && scancode <= 0x6e) return 124 + (scancode - 0x64);
    for (int row = 0; row < 3 && !extended; ++row) {
        const int column = scancode - kLetterRowStart[row];
        if (column >= 0 && column < 10 && kLetterRows[row][column]) return kLetterRows[row][column];
    }
    for (size_t i = 0; i < std::size(kKeypadDigits) && !extended; ++i)
        if (kKeypadDigits[i] == scancode) return kKeypadCodes[i];
    for (const TScancodeKey& k : kKeyTable)
        if (k.scancode == scancode && k.extended == extended) return k.code;
    return 0;
}

// Pause comes without a scancode of its own (the system folds it onto Num Lock's), so its
// virtual key tells it.
void TranslateKeyMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int mods) {
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    const int scancode = (lParam >> 16) & 0xff;
    const bool extended = (lParam >> 24) & 1;
    const int slot = scancode | (extended ? 256 : 0);
    if (down && TogglesFullscreen(scancode, lParam)) {
        kept[slot] = true;
        if (!(lParam & (1 << 30))) ToggleFullscreen(window);
        return;
    }
    if (!down && kept[slot]) {
        kept[slot] = false;
        return;
    }
    if (down && (lParam & (1 << 30))) return;   // held down: a repeat
    const int code = wParam == VK_PAUSE ? KEY_PAUSE : KeyCodeForScancode(scancode, extended);
    if (code) sharedKeys.Keyboard(down, code, mods);
}

void ReleaseKeyboard() { sharedKeys.ReleaseKeyboard(); }

void PollGamepads() {
    if (!xinputGetState) return;
    const int turn = polls++ % kEmptySlotPolls;
    for (int slot = 0; slot < kPadSlots; ++slot) {
        TPad& pad = pads[slot];
        if (!pad.connected && turn != slot) continue;
        XINPUT_STATE state{};
        if (xinputGetState(static_cast<DWORD>(slot), &state) != ERROR_SUCCESS) {
            if (pad.connected) sharedKeys.ReleasePad(pad.controls);
            pad.connected = false;
            continue;
        }
        pad.connected = true;
        ReadPad(pad, state.Gamepad);
    }
}

// XInput is loaded rather than linked, so the program starts where it is missing.
bool StartGamepads() {
    if (xinputGetState) return true;
    for (const wchar_t* name : {L"xinput1_4.dll", L"xinput1_3.dll", L"xinput9_1_0.dll"}) {
        HMODULE library = LoadLibraryW(name);
        if (!library) continue;
        xinputGetState = reinterpret_cast<TXInputGetState>(reinterpret_cast<void*>(GetProcAddress(library, "XInputGetState")));
        if (xinputGetState) return true;
        FreeLibrary(library);
    }
    return false;
}
