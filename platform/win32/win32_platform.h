// The Win32 platform: the window procedure's messages and the performance counter, windows
// with WGL contexts, the keyboard and XInput pads, and the audio output. The only place in the
// engine that knows the Win32 API.
#pragma once

#include "platform/desktop.h"

// Window messages in, application events out; the performance counter's clock.
TSystemDriver* Win32SystemDriver();
// Windows and OpenGL contexts made through the Win32 API and WGL.
TWindowDriver* Win32WindowDriver();
// The system's default audio output.
TAudioOutputDriver* Win32AudioOutputDriver();
