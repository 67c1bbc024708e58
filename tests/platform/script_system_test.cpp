// The scripted driver: a per-pass clock and keys read from a file.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/headless/replay_system.h"
#include "platform/headless/script_system.h"
#include "support/event_recorder.h"

namespace {

std::string WriteKeyFile(const std::string& name, const std::string& text) {
    std::string path = testing::TempDir() + name;
    std::ofstream(path) << text;
    return path;
}

}  // namespace

TEST(ScriptDriver, ClockAdvancesASixtiethPerPassAndEventsArriveOnceTheirPassBegins) {
    TScriptSystemDriver driver(100000);
    EXPECT_EQ(driver.MilliSecs(), 100000);
    std::string path = WriteKeyFile("keys_ok.txt", "# a short flight\n\n5 quit\n  3 down 37\n2 down 32   # start\n2 up 32\n");
    std::string error;
    ASSERT_TRUE(driver.LoadKeys(path, &error)) << error;
    TEventRecorder recorder;
    // Per pass: the clock, then the events delivered so far (id * 1000 + code).
    const struct { int pass, ms; std::vector<int> events; } passes[] = {
        {1, 100000, {}},
        {2, 100016, {EVENT_KEYDOWN * 1000 + 32, EVENT_KEYUP * 1000 + 32}},
        {3, 100033, {}},   // no poll in this pass: its events wait for the next
        {4, 100050, {EVENT_KEYDOWN * 1000 + 37}},
        {5, 100066, {EVENT_APPTERMINATE * 1000}},
        {61, 101000, {}}};
    for (const auto& p : passes) {
        driver.BeginPass(p.pass);
        EXPECT_EQ(driver.MilliSecs(), p.ms) << p.pass;
        if (p.pass == 3) continue;
        recorder.events.clear();
        driver.PollEvents();
        driver.PollEvents();   // delivered once
        std::vector<int> got;
        for (const TEvent& e : recorder.events) got.push_back(e.id * 1000 + e.data);
        EXPECT_EQ(got, p.events) << "pass " << p.pass;
    }
}

TEST(ScriptDriver, MalformedLinesAreRejectedWithTheirNumber) {
    const char* bad[] = {"0 down 32", "-1 down 32", "x down 32", "5 press 32", "5 down 256",
                         "5 down", "5 down 3a", "5 quit 3", "5 down 32 7", "5"};
    for (const char* line : bad) {
        std::string path = WriteKeyFile("keys_bad.txt", std::string("1 down 37\n# fine\n\n") + line + "\n");
        std::string error;
        EXPECT_FALSE(TScriptSystemDriver().LoadKeys(path, &error)) << line;
        EXPECT_NE(error.find(":4:"), std::string::npos) << line << " -> " << error;
    }
    std::string error;
    EXPECT_FALSE(TScriptSystemDriver().LoadKeys(testing::TempDir() + "no_such_keys.txt", &error));
}

// Inputs are read whole within limits, a byte-order mark skipped: a folder or an endless device
// is refused at once, and what a bad line holds is echoed quoted and short.
TEST(ScriptDriver, InputsAreReadWithinLimitsAndEchoedSafely) {
    const struct {
        std::string path, says;
    } refused[] = {
        {testing::TempDir(), "\" is a folder, not a key file"},
        {"/dev/zero", "/dev/zero:1: a line over 16384 bytes"},
        {WriteKeyFile("keys_esc.txt", "1 down 32\n2 \033]0;owned\007 32\n"), ":2: expected \"down\", \"up\" or "
                                                                           "\"quit\" after the frame, not \"?]0;owned?\""},
        {WriteKeyFile("keys_nul.txt", "3 down " + std::string(9000, '\0')), ":1: the key code must be a decimal "
                                                                         "number from 0 to 255, not \"???"},
    };
    for (const auto& r : refused) {
        std::string error;
        EXPECT_FALSE(TScriptSystemDriver().LoadKeys(r.path, &error)) << r.path;
        EXPECT_NE(error.find(r.says), std::string::npos) << error.substr(0, 200);
        EXPECT_LT(error.size(), r.path.size() + 100) << error.substr(0, 200);
    }
    std::string error;
    EXPECT_TRUE(TScriptSystemDriver().LoadKeys(WriteKeyFile("keys_bom.txt", "\xEF\xBB\xBF" "2 quit\n"), &error))
        << error;
    TReplaySystemDriver replay;
    const std::string recording = "\xEF\xBB\xBF" "kestrava-replay 1\npass 0 polls 0 clock\nend\n";
    EXPECT_TRUE(replay.Load(WriteKeyFile("replay_bom.txt", recording), &error)) << error;
    EXPECT_FALSE(replay.Load("/dev/zero", &error));
}
