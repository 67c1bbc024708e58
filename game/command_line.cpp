#include "game/command_line.h"

#include "platform/parse.h"

const char* const kKestravaUsage =
    "usage: kestrava [OPTION]...\n"
    "Glide over the sea and the island through a day and follow the blue sky road.\n"
    "\n"
    "  --scale N          open the window at N times 640x480 (1 to 8)\n"
    "  --resizable        let the window be resized and maximised\n"
    "  --fullscreen       start in full screen (F11 or Alt+Enter toggles it)\n"
    "  --smooth           scale the picture smoothly instead of keeping crisp pixels\n"
    "  --volume N         loudness of the sound, 0 to 100 (default 100)\n"
    "  --mute             no sound (no audio device is opened: the sound keys do nothing)\n"
    "  --pause-when-away  pause also when the window loses the focus or is minimised\n"
    "  --record FILE      save the game to FILE; kestrava-script --replay FILE plays it back\n"
    "  --trace FILE       write what the game did on every pass to FILE\n"
    "  --frame-log FILE   write the time of every frame shown to FILE, in microseconds\n"
    "  --help             print this help and exit\n"
    "  --version          print the version and exit\n"
    "\n"
    "Keys:\n"
    "  Space              start a flight (on the title screen)\n"
    "  Left or Z          the left wing; Right or M the right wing: tap both together to\n"
    "                     climb, hold one down to dive to its side, let go to glide\n"
    "  P or Pause         pause, and go on (a gamepad's Back too); Escape still quits\n"
    "  F9, F10            the sound a tenth quieter, louder\n"
    "  F8                 mute or unmute the sound\n"
    "  F11 or Alt+Enter   full screen on or off\n"
    "  Escape             quit\n"
    "\n"
    "The screen:\n"
    "  the road           its colour shows the bird's height: red, the wrong height;\n"
    "                     blue or purple, the right one (fly over it then to score);\n"
    "                     white, already flown\n"
    "  the top bar        the wind, growing to the side it blows to: it pushes the bird\n"
    "                     that way, and a dive to the right feels it twice (in a strong\n"
    "                     wind to the left that dive does almost nothing)\n"
    "  under it           the time of day\n"
    "  the bottom bar     the life force: each stretch of road that scrolls away unflown\n"
    "                     costs some, and when it runs out the title screen returns\n"
    "  above it           the score\n";

namespace {

// Every option, to tell a forgotten file name from a file.
constexpr const char* kOptions[] = {"--help",   "-h",     "--version", "--scale",           "--resizable",
                                    "--smooth", "--fullscreen", "--volume", "--mute", "--pause-when-away",
                                    "--record", "--trace", "--frame-log"};

}  // namespace

bool ParseCommandLine(int argc, char** argv, TCommandLine* line, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                *error = arg + " needs a value";
                return false;
            }
            *out = argv[++i];
            return true;
        };
        auto file = [&](std::string* out) { return value(out) && CheckFileValue(arg, *out, kOptions, error); };
        auto number = [&](long lo, long hi, int* out) {
            std::string text;
            if (!value(&text)) return false;
            if (!ParseWholeNumber(text, lo, hi, out)) {
                *error = arg + " takes a whole number from " + std::to_string(lo) + " to " +
                         std::to_string(hi) + ", not '" + text + "'";
                return false;
            }
            return true;
        };
        bool ok = true;
        if (arg == "--help" || arg == "-h") line->help = true;
        else if (arg == "--version") line->version = true;
        else if (arg == "--scale") ok = number(1, 8, &line->scale);
        else if (arg == "--resizable") line->resizable = true;
        else if (arg == "--smooth") line->smooth = true;
        else if (arg == "--fullscreen") line->fullscreen = true;
        else if (arg == "--volume") ok = number(0, 100, &line->volume);
        else if (arg == "--mute") line->mute = true;
        else if (arg == "--pause-when-away") line->pauseWhenAway = true;
        else if (arg == "--record") ok = file(&line->recordPath);
        else if (arg == "--trace") ok = file(&line->tracePath);
        else if (arg == "--frame-log") ok = file(&line->frameLogPath);
        else {
            *error = "unknown option '" + arg + "'";
            ok = false;
        }
        if (!ok) return false;
    }
    return true;
}
