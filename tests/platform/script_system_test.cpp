// The scripted driver: a per-pass clock and keys read from a file.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/script_system.h"

namespace {

std::string WriteKeyFile(const std::string& name, const std::string& text) {
    std::string path = testing::TempDir() + name;
    std::ofstream(path) << text;
    return path;
}

struct TRecorder {
    static void Hook(const TEvent& e, void* self) { static_cast<TRecorder*>(self)->events.push_back(e); }
    TRecorder() { AddEventHook(Hook, this); }
    ~TRecorder() { RemoveEventHook(Hook, this); }
    std::vector<TEvent> events;
};

}  // namespace

TEST(ScriptDriver, ClockAdvancesASixtiethPerPass) {
    TScriptSystemDriver driver(100000);
    EXPECT_EQ(driver.MilliSecs(), 100000);
    for (auto [pass, ms] : {std::pair{1, 100000}, {2, 100016}, {61, 101000}}) {
        driver.BeginPass(pass);
        EXPECT_EQ(driver.MilliSecs(), ms) << pass;
    }
}

TEST(ScriptDriver, EventsOfAFrameArriveOnlyAfterItsPassBegins) {
    std::string path = WriteKeyFile("keys_ok.txt",
                                    "# a short flight\n"
                                    "\n"
                                    "2 down 32   # start\n"
                                    "2 up 32\n"
                                    "  3 down 37\n"
                                    "5 quit\n");
    TScriptSystemDriver driver;
    std::string error;
    ASSERT_TRUE(driver.LoadKeys(path, &error)) << error;
    TRecorder recorder;

    driver.BeginPass(1);
    driver.PollEvents();
    EXPECT_TRUE(recorder.events.empty());

    driver.BeginPass(2);
    driver.PollEvents();
    driver.PollEvents();   // delivered once
    ASSERT_EQ(recorder.events.size(), 2u);
    EXPECT_TRUE(recorder.events[0].id == EVENT_KEYDOWN && recorder.events[0].data == 32);
    EXPECT_EQ(recorder.events[1].id, EVENT_KEYUP);

    driver.BeginPass(3);
    driver.BeginPass(4);   // a pass with no poll loses nothing
    driver.PollEvents();
    ASSERT_EQ(recorder.events.size(), 3u);
    EXPECT_EQ(recorder.events[2].data, 37);

    driver.BeginPass(5);
    driver.PollEvents();
    ASSERT_EQ(recorder.events.size(), 4u);
    EXPECT_EQ(recorder.events[3].id, EVENT_APPTERMINATE);
}

TEST(ScriptDriver, MalformedLinesAreRejectedWithTheirNumber) {
    const char* bad[] = {"0 down 32", "-1 down 32", "x down 32", "5 press 32", "5 down 256",
                         "5 down", "5 down 3a", "5 quit 3", "5 down 32 7", "5"};
    for (const char* line : bad) {
        std::string path = WriteKeyFile("keys_bad.txt", std::string("1 down 37\n# fine\n\n") + line + "\n");
        TScriptSystemDriver driver;
        std::string error;
        EXPECT_FALSE(driver.LoadKeys(path, &error)) << line;
        EXPECT_NE(error.find(":4:"), std::string::npos) << line << " -> " << error;
    }
    std::string error;
    EXPECT_FALSE(TScriptSystemDriver().LoadKeys(testing::TempDir() + "no_such_keys.txt", &error));
}
