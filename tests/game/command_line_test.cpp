// The game program's command line: with no flags the game alone, each flag read as given, and
// every mistake refused with one line naming it (the program then prints the usage, status 2).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/command_line.h"

namespace {

struct TParsed {
    bool ok = false;
    TCommandLine line;
    std::string error;
};

TParsed Parse(std::vector<std::string> args) {
    args.insert(args.begin(), "kestrava");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    TParsed p;
    p.ok = ParseCommandLine(static_cast<int>(args.size()), argv.data(), &p.line, &p.error);
    return p;
}

}  // namespace

// No flags is the game alone in its plain window with full sound; flags are read in any order,
// the last value winning.
TEST(CommandLine, NoFlagsIsThePlainGameAndFlagsAreReadInAnyOrderTheLastValueWinning) {
    TParsed plain = Parse({});
    ASSERT_TRUE(plain.ok) << plain.error;
    EXPECT_FALSE(plain.line.help || plain.line.version || plain.line.resizable || plain.line.smooth ||
                 plain.line.fullscreen || plain.line.mute || plain.line.pauseWhenAway);
    EXPECT_EQ(plain.line.scale * 1000 + plain.line.volume, 1100);
    EXPECT_TRUE(plain.line.recordPath.empty() && plain.line.tracePath.empty() && plain.line.frameLogPath.empty());
    TParsed p = Parse({"--smooth", "--scale", "3", "--mute", "--volume", "0", "--resizable", "--fullscreen",
                       "--pause-when-away", "--scale", "2"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.line.scale, 2);
    EXPECT_TRUE(p.line.resizable && p.line.smooth && p.line.fullscreen && p.line.mute && p.line.pauseWhenAway);
    EXPECT_EQ(p.line.volume, 0);
    TParsed ends = Parse({"--scale", "1", "--volume", "100", "--scale", "8"});   // the ends of the ranges
    EXPECT_TRUE(ends.ok) << ends.error;
    EXPECT_EQ(ends.line.scale * 1000 + ends.line.volume, 8100);
    EXPECT_EQ(Parse({"--volume", "37"}).line.volume, 37);
    EXPECT_EQ(Parse({"--trace", "./--trace"}).line.tracePath, "./--trace");
    EXPECT_TRUE(Parse({"--help"}).line.help);
    EXPECT_TRUE(Parse({"-h"}).line.help);
    EXPECT_TRUE(Parse({"--version"}).line.version);
}

TEST(CommandLine, MistakesAreRefusedWithALineThatNamesThem) {
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"--scale"}, "--scale needs a value"},
        {{"--scale", ""}, "--scale needs a value"},
        {{"--scale", "0"}, "--scale takes a whole number from 1 to 8, not '0'"},
        {{"--scale", "9"}, "--scale takes a whole number from 1 to 8, not '9'"},
        {{"--scale", "2x"}, "--scale takes a whole number from 1 to 8, not '2x'"},
        {{"--scale", "1.5"}, "--scale takes a whole number from 1 to 8, not '1.5'"},
        {{"--scale", "-1"}, "--scale takes a whole number from 1 to 8, not '-1'"},
        {{"--volume", "101"}, "--volume takes a whole number from 0 to 100, not '101'"},
        {{"--volume", " 50"}, "--volume takes a whole number from 0 to 100, not ' 50'"},
        {{"--mute", "--volume"}, "--volume needs a value"},
        {{"--fullscreen=yes"}, "unknown option '--fullscreen=yes'"},
        {{"--smooth", "--Scale", "2"}, "unknown option '--Scale'"},
        {{"-s"}, "unknown option '-s'"},
        {{"2"}, "unknown option '2'"},
        {{"--record"}, "--record needs a value"},
        {{"--record", "--trace"}, "--record needs a file, not the option '--trace'"},
        {{"--frame-log", "-h"}, "--frame-log needs a file, not the option '-h'"},
    };
    for (const auto& c : cases) {
        TParsed p = Parse(c.args);
        EXPECT_FALSE(p.ok) << c.args[0];
        EXPECT_EQ(p.error, c.error);
    }
}

TEST(CommandLine, UsageNamesEveryFlag) {
    const std::string usage = kKestravaUsage;
    for (const char* flag : {"--scale N", "--resizable", "--fullscreen", "--smooth", "--volume N", "--mute",
                             "--pause-when-away", "--record FILE", "--trace FILE", "--frame-log FILE", "--help",
                             "--version", "P or Pause", "F9, F10", "F8", "Escape", "the wind", "the life force"})
        EXPECT_NE(usage.find(flag), std::string::npos) << flag;
    EXPECT_EQ(usage.rfind("usage: kestrava", 0), 0u);
}
