// The polled input state, driven through a fake system driver that emits queued events.
#include <gtest/gtest.h>

#include <climits>

#include "platform/input.h"
#include "support/fake_platform.h"

namespace {

class PolledInput : public testing::Test {
protected:
    void SetUp() override { EnablePolledInput(); }
    void TearDown() override { DisablePolledInput(); }
    TFakeClock driver;   // the events come from its queue
};

}  // namespace

TEST_F(PolledInput, PressAndReleaseBetweenFramesGivesOneHitAndNoDownState) {
    driver.Push(EVENT_KEYDOWN, KEY_SPACE);
    driver.Push(EVENT_KEYUP, KEY_SPACE);
    for (int i = 0; i < 3; ++i) driver.Push(EVENT_KEYDOWN, KEY_Z);   // a key already down adds no hit
    for (int code : {256, -1}) driver.Push(EVENT_KEYDOWN, code);
    driver.Push(EVENT_MOUSEDOWN, 7);
    EXPECT_EQ(KeyDown(KEY_SPACE), 0);
    for (int frame = 0; frame < 10; ++frame) KeyDown(KEY_LEFT);   // an unread hit stays stored
    EXPECT_EQ(KeyHit(KEY_SPACE), 1);
    EXPECT_EQ(KeyHit(KEY_SPACE), 0);
    EXPECT_EQ(KeyDown(KEY_Z) + KeyHit(KEY_Z), 2);
    for (int key : {-1, 256, INT_MIN, INT_MAX, 0, 255}) EXPECT_EQ(KeyDown(key) + KeyHit(key), 0) << key;
    EXPECT_EQ(MouseDown(7), 0);
}

// Focus loss clears the state from inside the hook, without polling again.
TEST_F(PolledInput, SuspendClearsEverythingWithoutPollingAgainAndQuitRequestsCountOnce) {
    for (auto [id, data] : {std::pair<int, int>{EVENT_KEYDOWN, KEY_LEFT}, {EVENT_KEYCHAR, 'a'}, {EVENT_MOUSEDOWN, 1},
                            {EVENT_APPSUSPEND, 0}, {EVENT_KEYDOWN, KEY_M}, {EVENT_APPTERMINATE, 0}, {EVENT_APPTERMINATE, 0}})
        driver.Push(id, data);
    driver.polls = 0;
    EXPECT_EQ(AppSuspended(), 1);
    EXPECT_EQ(driver.polls, 1);
    EXPECT_EQ(KeyDown(KEY_LEFT) + KeyHit(KEY_LEFT) + GetChar() + MouseHit(1), 0);
    EXPECT_EQ(KeyDown(KEY_M), 1);
    EXPECT_EQ(AppTerminate(), 1);
    EXPECT_EQ(AppTerminate(), 0);
    driver.Push(EVENT_KEYDOWN, KEY_RIGHT);
    driver.Push(EVENT_APPRESUME);
    EXPECT_EQ(AppSuspended(), 0);
    EXPECT_EQ(KeyHit(KEY_RIGHT), 0);
}

TEST_F(PolledInput, CharacterQueueDropsWhenFullAndSourceFilterHolds) {
    for (int i = 0; i < 300; ++i) driver.Push(EVENT_KEYCHAR, 1000 + i);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(GetChar(), 1000 + i);
    EXPECT_EQ(GetChar(), 0);
    DisablePolledInput();
    int window = 0, other = 0;
    EnablePolledInput(&window);
    driver.Push(EVENT_KEYDOWN, KEY_A, &other);
    driver.Push(EVENT_KEYDOWN, KEY_Z, &window);
    EXPECT_EQ(KeyDown(KEY_A), 0);
    EXPECT_EQ(KeyDown(KEY_Z), 1);
}

TEST(Clock, DifferencesStayRightAcrossTheWrap) {
    // Past 2^31 ms the count goes negative, past 2^32 it restarts: it never sticks.
    EXPECT_EQ(MilliSecsSince(WrapMilliSecs(0x7ffffff0u), WrapMilliSecs(0x80000010u)), 32);
    EXPECT_EQ(MilliSecsSince(WrapMilliSecs(0xfffffff0u), WrapMilliSecs(0x100000010ull)), 32);
    EXPECT_NE(WrapMilliSecs(2147483648ull), WrapMilliSecs(2147483647ull));
}

// A quit asked for while the window is still opening (a desktop logging out, `timeout`
// sending its signal) reaches the game when it first asks, and only the quit: keys pressed
// then are not kept.
TEST(PolledInputDetached, KeepsAQuitRequestForTheGameButNoKeys) {
    TFakeClock driver;
    driver.Push(EVENT_KEYDOWN, KEY_SPACE);
    driver.Push(EVENT_APPTERMINATE);
    PollSystem();   // the events come before anything is attached
    EnablePolledInput();
    EXPECT_EQ(KeyHit(KEY_SPACE), 0);
    EXPECT_EQ(AppTerminate(), 1);
    EXPECT_EQ(AppTerminate(), 0);
    DisablePolledInput();
}
