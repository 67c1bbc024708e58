// The binding to the windowing system: one titled window with an OpenGL compatibility
// context, and a hidden context that shares textures with it.
#pragma once

struct TGLWindow;   // opaque; one per open window

// Starts the video system; false (with the reason in *why) when there is no display.
bool StartVideo(const char** why);

// Opens a centred, non-resizable window of the given client size with a double-buffered
// compatibility-profile context; nullptr when the window or context cannot be made.
TGLWindow* OpenGLWindow(int width, int height, const char* title);
void CloseGLWindow(TGLWindow* window);

// Makes the window's own context current (nullptr: no context current).
void MakeWindowContextCurrent(TGLWindow* window);
// Makes the shared hidden context current; created on first need. False when it cannot be made.
bool MakeSharedContextCurrent();
bool SharedContextIsCurrent();

void SetSwapInterval(TGLWindow* window, int interval);
void SwapWindow(TGLWindow* window);

// Address of an OpenGL entry point, for functions beyond OpenGL 1.1.
void* GLProcAddress(const char* name);
