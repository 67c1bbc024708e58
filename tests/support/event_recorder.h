// The events emitted while a recorder lives, in order: what reaches the polled input.
#pragma once

#include <algorithm>
#include <vector>

#include "platform/input.h"

struct TEventRecorder {
    TEventRecorder() { AddEventHook(Hook, this); }
    ~TEventRecorder() { RemoveEventHook(Hook, this); }
    TEventRecorder(const TEventRecorder&) = delete;
    TEventRecorder& operator=(const TEventRecorder&) = delete;

    // How many key-down events for this key were emitted.
    int KeyDowns(int code) const {
        return static_cast<int>(std::count_if(events.begin(), events.end(), [code](const TEvent& e) {
            return e.id == EVENT_KEYDOWN && e.data == code;
        }));
    }

    std::vector<TEvent> events;

  private:
    static void Hook(const TEvent& e, void* self) { static_cast<TEventRecorder*>(self)->events.push_back(e); }
};
