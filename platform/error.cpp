#include "platform/error.h"

namespace {

const char* programName = "kestrava";

}  // namespace

const char* ProgramName() { return programName; }

void SetProgramName(const char* name) { programName = name; }
