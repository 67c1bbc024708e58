#include "platform/shared_keys.h"

#include <algorithm>
#include <iterator>

namespace {

void EmitKey(bool down, int code, int mods) { EmitEvent(down ? EVENT_KEYDOWN : EVENT_KEYUP, code, mods); }

}  // namespace

void TSharedKeys::Keyboard(bool down, int code, int mods) {
    if (!IsKey(code)) {
        EmitKey(down, code, mods);
        return;
    }
    keyboard_[code] = down;
    if (pads_[code] == 0) EmitKey(down, code, mods);
}

void TSharedKeys::Pad(TPadControls& pad, int control, bool down) {
    if (pad.held[control] == down) return;
    pad.held[control] = down;
    const int code = kPadControlKey[control];
    int& count = pads_[code];
    count += down ? 1 : -1;
    if (keyboard_[code]) return;
    if ((down && count == 1) || (!down && count == 0)) EmitKey(down, code, 0);
}

void TSharedKeys::ReleasePad(TPadControls& pad) {
    for (int control = 0; control < PAD_CONTROLS; ++control) Pad(pad, control, false);
}

void TSharedKeys::ReleaseKeyboard() {
    for (int code = 0; code < 256; ++code) {
        if (keyboard_[code]) Keyboard(false, code, 0);
    }
}

void TSharedKeys::ForgetPads() { std::fill(std::begin(pads_), std::end(pads_), 0); }
