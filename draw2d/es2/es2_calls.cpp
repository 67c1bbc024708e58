// The entry points are the same in every context of the process (the platform's lookup
// answers for the library, not the context), so one table serves every window.
#include "draw2d/es2/es2_calls.h"

#include "platform/platform.h"

TES2Calls& ES2() {
    static TES2Calls& calls = *new TES2Calls;   // never destroyed: exit handlers may still draw
    return calls;
}

bool LoadES2Calls(const char** missing) {
    TES2Calls& gl = ES2();
#define KESTRAVA_ES2_LOAD(result, field, name, parameters)                                  \
    gl.field = reinterpret_cast<decltype(gl.field)>(WindowDriver().ProcAddress(#name)); \
    if (!gl.field) {                                                                        \
        *missing = #name;                                                                   \
        return false;                                                                       \
    }
    KESTRAVA_ES2_CALLS(KESTRAVA_ES2_LOAD)
#undef KESTRAVA_ES2_LOAD
    return true;
}
