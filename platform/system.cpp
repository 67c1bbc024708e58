// Which system driver the platform services ask for events and time.
#include "platform/system.h"

#include "platform/sdl_system.h"

namespace {
TSystemDriver* installed = nullptr;
}

// Installs driver; nullptr goes back to the SDL driver.
void SetSystemDriver(TSystemDriver* driver) { installed = driver; }

// The installed driver, or the SDL driver when none was set.
TSystemDriver* GetSystemDriver() { return installed ? installed : SDLSystemDriver(); }
