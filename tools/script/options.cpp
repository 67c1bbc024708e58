#include "tools/script/options.h"

#include <climits>

#include "platform/parse.h"

const char* const kScriptUsage =
    "usage: kestrava-script [--clock-start S] [--keys FILE | --replay FILE] [--frames N]\n"
    "                       [--trace FILE] [--shot F:FILE]... [--stats] [--audio FILE]\n"
    "                       [--memory-at F]... [--help] [--version]\n"
    "Runs the game's own start-up and frame loop on a virtual clock, with the keyboard fed\n"
    "from FILE (lines 'FRAME down CODE', 'FRAME up CODE', 'FRAME quit'; '#' comments).\n"
    "--replay FILE plays back a game recorded with kestrava --record FILE instead, with the\n"
    "clock and the keys it had. --shot and --stats draw with OpenGL and need a display;\n"
    "otherwise nothing is drawn.\n";

bool ParseScriptOptions(int argc, char** argv, TScriptOptions* o, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc) {
                *error = arg + " needs a value";
                return false;
            }
            *out = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "--help" || arg == "-h") {
            o->help = true;
        } else if (arg == "--version") {
            o->version = true;
        } else if (arg == "--stats") {
            o->stats = true;
        } else if (arg == "--clock-start") {
            if (!value(&v)) return false;
            if (!ParseWholeNumber(v, INT_MIN, INT_MAX, &o->clockStart)) {
                *error = "--clock-start takes a whole number of milliseconds, not '" + v + "'";
                return false;
            }
            o->clockStartGiven = true;
        } else if (arg == "--frames") {
            if (!value(&v)) return false;
            if (!ParseWholeNumber(v, 1, INT_MAX, &o->frames)) {
                *error = "--frames takes a whole number of passes of at least 1, not '" + v + "'";
                return false;
            }
        } else if (arg == "--keys") {
            if (!value(&o->keysPath)) return false;
        } else if (arg == "--replay") {
            if (!value(&o->replayPath)) return false;
            if (o->replayPath.empty()) {
                *error = "--replay needs a file";
                return false;
            }
        } else if (arg == "--trace") {
            if (!value(&o->tracePath)) return false;
        } else if (arg == "--audio") {
            if (!value(&o->audioPath)) return false;
        } else if (arg == "--memory-at") {
            int frame = 0;
            if (!value(&v)) return false;
            if (!ParseWholeNumber(v, 1, INT_MAX, &frame)) {
                *error = "--memory-at takes a pass number of at least 1, not '" + v + "'";
                return false;
            }
            o->memoryAt.push_back(frame);
        } else if (arg == "--shot") {
            if (!value(&v)) return false;
            size_t colon = v.find(':');
            TScriptShot shot;
            if (colon == std::string::npos || !ParseWholeNumber(v.substr(0, colon), 1, INT_MAX, &shot.frame) ||
                colon + 1 == v.size()) {
                *error = "--shot takes FRAME:FILE, not '" + v + "'";
                return false;
            }
            shot.path = v.substr(colon + 1);
            o->shots.push_back(shot);
        } else {
            *error = "unknown option '" + arg + "'";
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
