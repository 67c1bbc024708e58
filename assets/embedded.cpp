#include "assets/embedded.h"

#include <cstring>

#define EMBEDDED(i, name)                                     \
    extern "C" const unsigned char kestrava_embedded_##i[];   \
    extern "C" const unsigned char kestrava_embedded_##i##_end[];
#include "embedded_table.inc"
#undef EMBEDDED

namespace {

const TEmbeddedFile kFiles[] = {
#define EMBEDDED(i, name) \
    {name, kestrava_embedded_##i, static_cast<int>(kestrava_embedded_##i##_end - kestrava_embedded_##i)},
#include "embedded_table.inc"
#undef EMBEDDED
};

}  // namespace

TEmbeddedFile EmbeddedFile(const char* name) {
    for (const TEmbeddedFile& file : kFiles) {
        if (std::strcmp(file.name, name) == 0) return file;
    }
    return {name, nullptr, 0};
}
