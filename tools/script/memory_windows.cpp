#include "tools/script/memory.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>

namespace {

// The process's working set counters (peak and now), in KiB; -1 each when they cannot be read.
void WorkingSetKiB(long* peak, long* resident) {
    PROCESS_MEMORY_COUNTERS counters{};
    *peak = *resident = -1;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return;
    *peak = static_cast<long>(counters.PeakWorkingSetSize / 1024);
    *resident = static_cast<long>(counters.WorkingSetSize / 1024);
}

}  // namespace

void PrintMemoryAt(int pass) {
    long peak, resident;
    WorkingSetKiB(&peak, &resident);
    std::printf("memory at pass %d: peak %ld KiB, resident %ld KiB\n", pass, peak, resident);
    std::fflush(stdout);
}

long PeakResidentKiB() {
    long peak, resident;
    WorkingSetKiB(&peak, &resident);
    return peak;
}
