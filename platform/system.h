// The small interface the platform services sit on: where events and time come from.
// The SDL binding and the scripted runner's virtual clock and keyboard both implement it.
#pragma once

#include <cstdint>

struct TSystemDriver {
    virtual ~TSystemDriver() = default;
    // Takes in every pending system event without waiting, emitting application events (input.h).
    virtual void PollEvents() = 0;
    // Milliseconds since the machine started, as MilliSecs() reports them.
    virtual int MilliSecs() = 0;
    // Sleeps; never called with ms <= 0.
    virtual void Delay(int ms) = 0;
};

// Installs the driver used by PollSystem, MilliSecs and Delay (not owned); nullptr restores
// the default. GetSystemDriver returns the SDL driver (sdl_system.h) unless another was set.
void SetSystemDriver(TSystemDriver* driver);
TSystemDriver* GetSystemDriver();
