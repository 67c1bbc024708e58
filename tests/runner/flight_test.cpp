// End to end: a whole flight played from a keys file (a tapped one: display/headless_test.cpp),
// and the web and Windows builds' runners against the desktop's.
// The last pass of each scene is the one the game has always traced: the flight, the wind,
// the road, the scenery's random draws and the sky all show in it, so the game's rules are
// pinned here and their unit tests keep only the edges these flights never reach.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "runner/run_program.h"

TEST(Flight, AFlightWithNoKeysLosesLifeAndReturnsToTheTitleScreen) {
    std::string dir = TempDir("idle");
    WriteFile(dir + "/keys.txt", "5 down 32\n6 up 32\n");
    TProgramResult run = RunScript("--frames 11500 --keys " + dir + "/keys.txt --trace " + dir + "/t.jsonl");
    ASSERT_EQ(run.status, 0) << run.output;
    std::vector<std::string> trace = ReadLines(dir + "/t.jsonl");
    ASSERT_EQ(trace.size(), 11500u);

    int over = 0;
    double life = 100;
    for (const std::string& line : trace) {
        double now = TraceValue(line, "life");
        if (TraceValue(line, "frame") > 5) { EXPECT_LE(now, life) << line; }
        life = now;
        if (TraceValue(line, "frame") > 5 && TraceValue(line, "GAMESTATE") == 1) {
            over = static_cast<int>(TraceValue(line, "frame"));
            break;
        }
    }
    ASSERT_GT(over, 0) << "the game never ended";
    EXPECT_LT(life, 0);
    EXPECT_EQ(TraceValue(trace[over - 1], "score"), 0) << "no road point was flown over";
    EXPECT_EQ(TraceValue(trace.back(), "GAMESTATE"), 1) << "the title screen stays";
    EXPECT_EQ(TraceValue(trace.back(), "life"), life) << "life keeps its final value on the title screen";
    EXPECT_EQ(over, 11373);
    EXPECT_EQ(trace.back(),
        R"({"frame":11500,"oldtime":291650,"curtime":291650,"soundtimer":15467,"cloudcount":56,"centerx":575,)"
        R"("centery":439,"Leftwing":439,"leftcount":0,"rightwing":439,"rightcount":0,"targetcenter":438.659668,)"
        R"("targetleft":438.69928,"targetright":438.69928,"leftcountt":0,"rightcountt":0,"fatigue":0,)"
        R"("wind":0.483997315,"targetwind":0.484182358,"islex":-299.755005,"isley":-457.92926,)"
        R"("altitude":2.13682532,"hour":6,"minute":50,"score":0,"sunx":316.128784,"suny":111.493683,)"
        R"("sunsize":50,"life":-1,"thingelev":1.90000021,"curthingelev":1.87999916,"thingx":573,)"
        R"("curthingx":572.996826,"thingcount":95,"clsr":100,"clsg":25,"clsb":5,"curr":99.9929504,)"
        R"("curg":24.9904766,"curb":4.99001932,"GAMESTATE":1,"rndState":353737899,"cloudList":56,)"
        R"("speckList":129,"waveList":541,"thingList":13,"featherList":0})");
}

namespace {

// Another build's runner (a command line to which the options are added) writes the desktop
// runner's traces and audio byte for byte: the title screen, a flight and a game over, on
// tools/golden.sh's keys.
void ExpectTheDesktopsTracesAndAudio(const std::string& name, const std::string& runner) {
    const std::string dir = TempDir(name);
    WriteFile(dir + "/flight.keys", RhythmicTapping(3000));
    WriteFile(dir + "/over.keys", "5 down 32\n6 up 32\n");
    const std::pair<std::string, std::string> scenes[] = {
        {"title", "--frames 2000"},
        {"flight", "--frames 3000 --keys " + dir + "/flight.keys"},
        {"over", "--frames 11500 --keys " + dir + "/over.keys"}};
    for (const auto& [scene, keys] : scenes) {
        const std::string desktop = dir + "/" + scene + "-desktop", other = dir + "/" + scene + "-" + name;
        TProgramResult run = RunScript(keys + " --trace " + desktop + ".jsonl --audio " + desktop + ".wav");
        ASSERT_EQ(run.status, 0) << run.output;
        run = RunCommand(runner + keys + " --trace " + other + ".jsonl --audio " + other + ".wav");
        ASSERT_EQ(run.status, 0) << run.output;
        for (const char* kind : {".jsonl", ".wav"})
            EXPECT_TRUE(ReadFile(desktop + kind) == ReadFile(other + kind)) << scene << kind << " differ";
    }
}

}  // namespace

// The web build's runner under node (tools/test.sh gives its folder in KESTRAVA_WEB_BUILD
// after tools/web.sh).
TEST(Flight, TheWebRunnerUnderNodeWritesTheSameTracesAndAudio) {
    const char* web = std::getenv("KESTRAVA_WEB_BUILD");
    if (!web || !*web) GTEST_SKIP() << "no web build named in KESTRAVA_WEB_BUILD";
    ExpectTheDesktopsTracesAndAudio("web", "node " + std::string(web) + "/kestrava-script.js ");
}

// The Windows build's runner under wine (KESTRAVA_WINDOWS_BUILD, after tools/windows.sh): its
// C library's mathematics and printing meet glibc's to the last bit.
TEST(Flight, TheWindowsRunnerUnderWineWritesTheSameTracesAndAudio) {
    const std::string wine = WineCommand("kestrava-script.exe");
    if (wine.empty()) GTEST_SKIP() << "no Windows build named in KESTRAVA_WINDOWS_BUILD";
    ExpectTheDesktopsTracesAndAudio("windows", wine);
}
