#include "tools/script/options.h"

#include <climits>
#include <span>

#include "platform/parse.h"

const char* const kScriptUsage =
    "usage: kestrava-script [--clock-start S] [--keys FILE | --replay FILE] [--frames N]\n"
    "                       [--trace FILE] [--shot F:FILE]... [--stats] [--gles] [--audio FILE]\n"
    "                       [--memory-at F]... [--help] [--version]\n"
    "Runs the game's own start-up and frame loop on a virtual clock, with the keyboard fed\n"
    "from FILE (lines 'FRAME down CODE', 'FRAME up CODE', 'FRAME quit'; '#' comments).\n"
    "--replay FILE plays back a game recorded with kestrava --record FILE instead, with the\n"
    "clock and the keys it had. --shot and --stats draw with OpenGL and need a display;\n"
    "otherwise nothing is drawn. --gles draws them with the OpenGL ES 2 driver (the browser's)\n"
    "instead of the desktop's.\n";

namespace {

// Every option, those that take a value first: a file value that is one of them is a file
// name forgotten.
constexpr const char* kOptions[] = {"--clock-start", "--frames", "--keys",  "--replay", "--trace", "--audio",
                                    "--memory-at",   "--shot",   "--stats", "--gles",   "--help",  "-h", "--version"};
constexpr std::span<const char* const> kValueOptions = std::span(kOptions).first(8);

bool TakesValue(const std::string& arg) {
    for (const char* option : kValueOptions)
        if (arg == option) return true;
    return false;
}

// v as a whole number in [low, high]; otherwise false with "ARG takes WHAT, not 'V'".
bool WholeNumber(const std::string& arg, const std::string& v, long low, long high, const char* what, int* out,
                 std::string* error) {
    if (ParseWholeNumber(v, low, high, out)) return true;
    *error = arg + " takes " + what + ", not '" + v + "'";
    return false;
}

// "--shot FRAME:FILE".
bool TakeShot(const std::string& v, TScriptOptions* o, std::string* error) {
    size_t colon = v.find(':');
    TScriptShot shot;
    if (colon == std::string::npos || !ParseWholeNumber(v.substr(0, colon), 1, INT_MAX, &shot.frame) ||
        colon + 1 == v.size()) {
        *error = "--shot takes FRAME:FILE, not '" + v + "'";
        return false;
    }
    shot.path = v.substr(colon + 1);
    o->shots.push_back(shot);
    return true;
}

// Stores the value v of the option arg (one of kValueOptions).
bool TakeValue(const std::string& arg, const std::string& v, TScriptOptions* o, std::string* error) {
    if (arg == "--clock-start") {
        o->clockStartGiven = true;
        return WholeNumber(arg, v, INT_MIN, INT_MAX, "a whole number of milliseconds", &o->clockStart, error);
    }
    if (arg == "--frames")
        return WholeNumber(arg, v, 1, INT_MAX, "a whole number of passes of at least 1", &o->frames, error);
    if (arg == "--memory-at") {
        int frame = 0;
        if (!WholeNumber(arg, v, 1, INT_MAX, "a pass number of at least 1", &frame, error)) return false;
        o->memoryAt.push_back(frame);
        return true;
    }
    if (arg == "--shot") return TakeShot(v, o, error);
    if (!CheckFileValue(arg, v, kOptions, error)) return false;
    std::string* path = arg == "--keys" ? &o->keysPath : arg == "--replay" ? &o->replayPath
                        : arg == "--trace" ? &o->tracePath : &o->audioPath;
    *path = v;
    return true;
}

}  // namespace

bool ParseScriptOptions(int argc, char** argv, TScriptOptions* o, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            o->help = true;
        } else if (arg == "--version") {
            o->version = true;
        } else if (arg == "--stats") {
            o->stats = true;
        } else if (arg == "--gles") {
            o->gles = true;
        } else if (!TakesValue(arg)) {
            *error = "unknown option '" + arg + "'";
            return false;
        } else if (i + 1 >= argc) {
            *error = arg + " needs a value";
            return false;
        } else if (!TakeValue(arg, argv[++i], o, error)) {
            return false;
        }
    }
    // A recording brings its own clock and keys.
    if (!o->replayPath.empty() && (!o->keysPath.empty() || o->clockStartGiven)) {
        *error = std::string("--replay plays the recorded clock and keys: it cannot be combined with ") +
                 (o->keysPath.empty() ? "--clock-start" : "--keys");
        return false;
    }
    return true;
}
