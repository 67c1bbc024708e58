// The web build's runner draws no pictures: it has no window, OpenGL or libpng.
#include "tools/script/display.h"

bool ScriptDisplay(TWindowDriver**, TPlaneDriver**) { return false; }

bool WritePng(const std::string& path, const std::string& what, const uint8_t*, int, int, std::string* error) {
    *error = "cannot write " + what + " " + path + ": this build draws no pictures";
    return false;
}
