// Placeholder while the Win32 parts are built: the headless platform.
#include "platform/win32/win32_platform.h"

TSystemDriver* Win32SystemDriver() { return HeadlessPlatform().system; }
TWindowDriver* Win32WindowDriver() { return HeadlessPlatform().window; }
TAudioOutputDriver* Win32AudioOutputDriver() { return HeadlessPlatform().audio; }

TPlatform DesktopPlatform() { return {Win32SystemDriver(), Win32WindowDriver(), Win32AudioOutputDriver()}; }
void OnDisplayLost(void (*)()) {}
bool StartGamepads() { return false; }
