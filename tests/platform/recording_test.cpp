// Recording a game through the recording driver and feeding it back through the replay
// driver: the game sees the same clock and the same keys at the same questions.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <map>
#include <thread>

#include "platform/clock.h"
#include "platform/headless/replay_system.h"
#include "platform/input.h"
#include "platform/recording_system.h"
#include "support/temp_dir.h"

namespace {

// The live system: events that arrive at given polls (counted from the first), and a clock
// that moves 7 ms a reading from just below the 32-bit wrap.
struct TLiveSystem : TSystemDriver {
    void PollEvents() override {
        ++polls;
        auto due = arrivals.equal_range(polls);
        for (auto it = due.first; it != due.second; ++it) EmitEvent(it->second);
    }
    int MilliSecs() override {
        now += 7u;
        return static_cast<int>(now);
    }
    void Delay(int) override {}
    int64_t MicroSecs() override { return int64_t{now} * 1000 + 999; }
    void Arrive(int poll, int id, int data = 0) {
        TEvent event;
        event.id = id;
        event.data = data;
        arrivals.insert({poll, event});
    }

    int polls = 0;
    unsigned now = 4294967200u;
    std::multimap<int, TEvent> arrivals;
};

// A small game over the polled input: each pass asks for Escape, reads the clock, asks for
// Z (pass % 3 times, so presses land between two questions of one pass) and reads the clock
// again on odd passes. It writes down what it sees; it ends on Escape or a quit request.
struct TGameRun {
    std::string seen;
    int lastPass = 0;
};

// Runs the game with driver in front; beginPass and endPass stand for the loop's hooks.
template <typename TBegin, typename TEnd>
TGameRun PlayGame(TSystemDriver* driver, TBegin beginPass, TEnd endPass, int extraPollInPass = -1) {
    TGameRun run;
    SetSystemDriver(driver);
    EnablePolledInput();   // start-up: a flush, which polls
    run.seen += 't';
    run.seen += std::to_string(MilliSecs());
    for (int pass = 1; pass < 100; ++pass) {
        beginPass(pass);
        run.lastPass = pass;
        if (KeyHit(KEY_ESCAPE) || AppTerminate()) break;
        run.seen += ' ';
        run.seen += std::to_string(pass);
        run.seen += ":t";
        run.seen += std::to_string(MilliSecs());
        for (int i = 0; i < pass % 3; ++i) run.seen += KeyDown(KEY_Z) ? 'Z' : 'z';
        if (pass % 2) {
            run.seen += 't';
            run.seen += std::to_string(MilliSecs());
        }
        if (pass == extraPollInPass) KeyDown(KEY_M);
        endPass(pass);
    }
    DisablePolledInput();
    SetSystemDriver(nullptr);
    return run;
}

}  // namespace

// A short game played on a live system and recorded: Z goes down between pass 2's two
// questions for it, Escape ends the game in pass 10.
class RecordedGame : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(temp.Path().empty());
        TLiveSystem live;
        // Polls 1-2 are the start-up's flushes, 3-5 pass 1, 6-9 pass 2 (its Z questions at 8
        // and 9), 10-11 pass 3, ... 30 is pass 10's question for Escape.
        live.Arrive(1, EVENT_APPRESUME);
        live.Arrive(9, EVENT_KEYDOWN, KEY_Z);   // between pass 2's two questions for Z
        live.Arrive(12, EVENT_KEYUP, KEY_Z);
        live.Arrive(12, EVENT_KEYCHAR, 'z');
        live.Arrive(18, EVENT_KEYDOWN, KEY_Z);
        live.Arrive(30, EVENT_KEYDOWN, KEY_ESCAPE);
        TRecordingSystemDriver recorder(&live);
        std::string error;
        ASSERT_TRUE(recorder.Open(path, "a test", &error)) << error;
        recorded = PlayGame(
            &recorder, [&](int pass) {
                recorder.BeginPass(pass);
                // The audio thread reads the clock too: passed through, never recorded.
                if (pass == 2) std::thread([&] { for (int i = 0; i < 5; ++i) otherThread.push_back(recorder.MilliSecs()); }).join();
            },
            [](int) {});
        ASSERT_TRUE(recorder.Finish(&error)) << error;
    }

    TTempDir temp;
    const std::string path = temp.Path() + "/game.txt";
    TGameRun recorded;
    std::vector<int> otherThread;
};

TEST_F(RecordedGame, TheFileHoldsEveryPassesPollsClockAndEventsButNotOtherThreadsReadings) {
    EXPECT_EQ(otherThread.size(), 5u);
    EXPECT_EQ(recorded.lastPass, 10);
    EXPECT_NE(recorded.seen.find(" 2:t-33zZ 3:"), std::string::npos) << recorded.seen;

    const std::string text = ReadFile(path);
    EXPECT_EQ(text.rfind("kestrava-replay 1\n# a test\npass 0 polls 2 clock -89\nat 1 resume\n"
                         "pass 1 polls 3 clock -82 -75\npass 2 polls 4 clock -33\nat 4 down 90 0\n", 0), 0u)
        << text;
    EXPECT_NE(text.find("\npass 4 polls 3 clock -12\nat 1 up 90 0\nat 1 char 122 0\n"), std::string::npos) << text;
    for (int reading : otherThread) EXPECT_EQ(text.find(std::to_string(reading)), std::string::npos) << reading;
    EXPECT_EQ(text.substr(text.size() - 4), "end\n");
}

TEST_F(RecordedGame, AReplayGivesTheGameTheSameClockAndKeysAtTheSameQuestions) {
    // Fed back, with the runner's own clock readings between passes (mixing audio).
    TReplaySystemDriver replay;
    std::string error;
    ASSERT_TRUE(replay.Load(path, &error)) << error;
    EXPECT_EQ(replay.LastPass(), recorded.lastPass);
    const TGameRun replayed = PlayGame(
        &replay, [&](int pass) { replay.BeginPass(pass); },
        [&](int) {
            replay.EndPass();
            replay.MilliSecs();
        });
    replay.Finish(true);
    EXPECT_EQ(replayed.seen, recorded.seen);
    EXPECT_EQ(replayed.lastPass, recorded.lastPass);
    EXPECT_EQ(replay.Divergence(), "");
}

TEST_F(RecordedGame, AGameThatAsksOneMoreQuestionOrEndsSoonerIsToldWhereItLeftTheRecording) {
    std::string error;
    TReplaySystemDriver strayed;
    ASSERT_TRUE(strayed.Load(path, &error)) << error;
    PlayGame(&strayed, [&](int pass) { strayed.BeginPass(pass); }, [&](int) { strayed.EndPass(); }, 5);
    strayed.Finish(true);
    EXPECT_NE(strayed.Divergence().find("in pass 5: the game polled for events 5 times, 4 when recorded"),
              std::string::npos) << strayed.Divergence();
    TReplaySystemDriver shortened;
    ASSERT_TRUE(shortened.Load(path, &error)) << error;
    SetSystemDriver(&shortened);
    EnablePolledInput();
    MilliSecs();
    shortened.BeginPass(1);
    KeyHit(KEY_ESCAPE);
    AppTerminate();
    shortened.Finish(true);
    DisablePolledInput();
    SetSystemDriver(nullptr);
    EXPECT_NE(shortened.Divergence().find("in pass 1: the game polled for events 2 times, 3 when recorded"),
              std::string::npos) << shortened.Divergence();
}

TEST(Recording, TheFileIsWrittenAsTheGameGoesAndAnUnwritableOneIsRefusedAtOnce) {
    TTempDir temp;
    ASSERT_FALSE(temp.Path().empty());
    const std::string path = temp.Path() + "/game.txt";
    TLiveSystem live;
    {
        TRecordingSystemDriver recorder(&live);
        std::string error;
        ASSERT_TRUE(recorder.Open(path, "", &error)) << error;
        SetSystemDriver(&recorder);
        for (int pass = 1; pass <= 61; ++pass) {
            recorder.BeginPass(pass);
            MilliSecs();
            EXPECT_EQ(MicroSecs(), live.MicroSecs());   // the frame log's clock, not recorded
        }
        SetSystemDriver(nullptr);
        // Killed now: the passes up to the last flush are on disk, and a replay plays them but
        // the last (pass 60), which might have lacked events.
        EXPECT_NE(ReadFile(path).find("\npass 60 polls 0 clock 324\n"), std::string::npos) << ReadFile(path);
        TReplaySystemDriver replay;
        EXPECT_TRUE(replay.Load(path, &error)) << error;
        EXPECT_EQ(replay.LastPass(), 59);
        recorder.Cut();   // the display lost: the pass in progress is written too, and no end line
    }
    TReplaySystemDriver replay;
    std::string error;
    EXPECT_TRUE(replay.Load(path, &error)) << error;
    EXPECT_TRUE(replay.CutOff());
    EXPECT_EQ(replay.LastPass(), 60);

    for (std::string bad : {temp.Path() + "/no-such-folder/game.txt", temp.Path(), std::string("/dev/full")}) {
        if (bad == "/dev/full" && !std::filesystem::exists(bad)) continue;
        TRecordingSystemDriver recorder(&live);
        error.clear();
        EXPECT_FALSE(recorder.Open(bad, "", &error)) << bad;
        EXPECT_NE(error.find("cannot write the recording " + bad + ": "), std::string::npos) << error;
        EXPECT_TRUE(recorder.Finish(&error));   // nothing was opened: nothing to finish
    }
    EXPECT_FALSE(replay.Load(temp.Path() + "/none.txt", &error));
    EXPECT_NE(error.find("none.txt: cannot open the replay file"), std::string::npos) << error;
}
