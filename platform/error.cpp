#include "platform/error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const char* programName = "kestrava";

}  // namespace

const char* ProgramName() { return programName; }

void SetProgramName(const char* name) { programName = name; }

int FlushStandardOutput(int status) {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
    std::fprintf(stderr, "%s: cannot write the standard output: %s\n", programName, std::strerror(errno));
    return status == 0 ? 1 : status;
}
