// Counting the fragments OpenGL shades, one count at a time, with an occlusion query
// (GL_SAMPLES_PASSED): bench_frames counts what every layer of a frame had shaded. Called
// with graphics open, between drawing calls.
#pragma once

// Starts counting the fragments shaded from now on.
void GLBeginFragmentCount();

// Ends the count begun last and returns its fragments, waiting for the drawing to finish;
// -1 when no count is in progress.
long long GLEndFragmentCount();

// Ends the count in progress, if any, and frees the query (before graphics close).
void GLFreeFragmentCounter();
