#include "tools/script/memory.h"

#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

// A "Name:   1234 kB" line of /proc/self/status, in KiB; -1 when it is not there.
long StatusKiB(const std::string& name) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, name.size() + 1, name + ":") == 0) return std::stol(line.substr(name.size() + 1));
    return -1;
}

}  // namespace

void PrintMemoryAt(int pass) {
    std::printf("memory at pass %d: peak %ld KiB, resident %ld KiB\n", pass, StatusKiB("VmHWM"), StatusKiB("VmRSS"));
    std::fflush(stdout);
}

long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
