// The runner's memory as the kernel counts it, for soak runs (--memory-at).
#pragma once

// Prints "memory at pass N: peak P KiB, resident R KiB" (VmHWM and VmRSS of /proc/self/status).
// Windows prints its working set, peak and now (memory_windows.cpp).
void PrintMemoryAt(int pass);

// The most memory the runner has held resident so far, in KiB (--stats).
long PeakResidentKiB();
