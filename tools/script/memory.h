// The runner's memory as the kernel counts it, for soak runs (--memory-at).
#pragma once

// Prints "memory at pass N: peak P KiB, resident R KiB" (VmHWM and VmRSS of /proc/self/status).
void PrintMemoryAt(int pass);
