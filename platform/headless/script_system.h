// The scripted runner's system driver: a virtual clock stepped per frame and a keyboard read
// from a key file, so the same file gives the same flight on every machine.
#pragma once

#include <string>
#include <vector>

#include "platform/input.h"
#include "platform/system.h"

class TScriptSystemDriver : public TSystemDriver {
public:
    // A driver whose clock reads clockStart until the first pass begins.
    explicit TScriptSystemDriver(int clockStart = 100000) : clockStart_(clockStart) {}

    // Reads a key file, a pipe or a device too, within the input limits (input_file.h): one
    // event a line, "FRAME down CODE", "FRAME up CODE" or "FRAME quit", '#' to the end of the
    // line is a comment, blank lines are skipped. On a malformed line returns false with *error
    // naming the line (its words quoted and cut short); the events loaded before are kept.
    bool LoadKeys(const std::string& path, std::string* error);

    // Called before the loop test that precedes pass `pass` (1, 2, ...): moves the clock to
    // that frame and makes the frame's events, in the file's order, pending for the next PollEvents.
    void BeginPass(int pass);

    // Emits the pending scripted events; the window system's own events are not read here.
    void PollEvents() override;
    // clockStart + (pass - 1) * 1000 / 60, wrapped like the system clock.
    int MilliSecs() override;
    // Time is virtual: nothing to wait for.
    void Delay(int) override {}
    void DelayUntil(int, int) override {}

private:
    struct TScriptedEvent {
        int frame;
        int id;      // EVENT_KEYDOWN, EVENT_KEYUP or EVENT_APPTERMINATE
        int code;
    };

    int clockStart_;
    int pass_ = 0;   // 0 until the first BeginPass
    std::vector<TScriptedEvent> script_;   // by frame, each frame's in the file's order
    std::vector<TScriptedEvent> pending_;
};
