// The replay file: what is written reads back the same, and a damaged file is refused with
// the number of the line that is wrong.
#include <gtest/gtest.h>

#include <climits>
#include <sstream>

#include "platform/replay_file.h"

namespace {

TRecordedEvent At(int poll, int id, int data = 0, int mods = 0, int x = 0, int y = 0) {
    TRecordedEvent recorded;
    recorded.poll = poll;
    recorded.event.id = id;
    recorded.event.data = data;
    recorded.event.mods = mods;
    recorded.event.x = x;
    recorded.event.y = y;
    return recorded;
}

// Parses text; on failure returns the message.
std::string ParseError(const std::string& text, std::vector<TRecordedPass>* passes = nullptr) {
    std::istringstream in(text);
    std::string error;
    return ParseReplay(in, "game.txt", passes, &error) ? "" : error;
}

}  // namespace

TEST(ReplayFile, EveryKindOfEventAndEveryClockReadingReadsBackAsWritten) {
    std::vector<TRecordedPass> written(3);
    written[0] = {0, 4, {INT_MAX, INT_MIN}, {At(1, EVENT_APPRESUME), At(4, EVENT_MOUSEMOVE, 0, 0, 320, 240)}};
    written[1] = {1, 0, {}, {}};   // no poll and no reading: still a pass
    written[2] = {2, 6, {-5, 0, 17, 17},
                  {At(1, EVENT_KEYDOWN, KEY_SPACE, 1), At(1, EVENT_KEYUP, KEY_SPACE), At(2, EVENT_KEYCHAR, 0x263a, 2),
                   At(2, EVENT_MOUSEDOWN, 1, 4, -3, 700), At(3, EVENT_MOUSEUP, 3, 8, 0, 1),
                   At(3, EVENT_MOUSEWHEEL, -2), At(4, EVENT_APPSUSPEND), At(5, EVENT_APPTERMINATE),
                   At(6, 0x7777, -1, 2, 3, 4)}};
    std::string text = std::string(kReplayHeader) + "\n# a comment\n";
    for (const TRecordedPass& pass : written) text += FormatRecordedPass(pass) + "\n";
    text += "end\n\n# trailing comments are fine\n";

    std::vector<TRecordedPass> read;
    ASSERT_EQ(ParseError(text, &read), "") << text;
    ASSERT_EQ(read.size(), written.size());
    for (size_t p = 0; p < read.size(); ++p) {
        EXPECT_EQ(read[p].pass, written[p].pass);
        EXPECT_EQ(read[p].polls, written[p].polls);
        EXPECT_EQ(read[p].clock, written[p].clock) << "pass " << p;
        ASSERT_EQ(read[p].events.size(), written[p].events.size()) << "pass " << p;
        for (size_t e = 0; e < read[p].events.size(); ++e) {
            const TRecordedEvent &a = read[p].events[e], &b = written[p].events[e];
            EXPECT_EQ(std::vector<int>({a.poll, a.event.id, a.event.data, a.event.mods, a.event.x, a.event.y}),
                      std::vector<int>({b.poll, b.event.id, b.event.data, b.event.mods, b.event.x, b.event.y}))
                << "pass " << p << " event " << e;
        }
    }
    // Written again, the text is the same: nothing is lost or reworded on the way.
    std::string again;
    for (const TRecordedPass& pass : read) again += FormatRecordedPass(pass);
    std::string once;
    for (const TRecordedPass& pass : written) once += FormatRecordedPass(pass);
    EXPECT_EQ(again, once);
    EXPECT_NE(once.find("at 1 down 32 1\n"), std::string::npos) << once;
    // Files edited on Windows keep working.
    EXPECT_EQ(ParseError("kestrava-replay 1\r\npass 0 polls 0 clock 3\r\nend\r\n"), "");
}

TEST(ReplayFile, DamagedTruncatedOrForeignFilesAreRefusedWithTheirLine) {
    const std::string head = "kestrava-replay 1\npass 0 polls 2 clock 100\n";   // lines 1 and 2
    const struct {
        std::string text;
        const char* line;
        const char* says;
    } cases[] = {
        // Not a replay at all.
        {"", ":1:", "empty"},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), ":1:", "not a kestrava replay"},
        {"1 down 32\n2 up 32\n", ":1:", "not a kestrava replay"},
        {"kestrava-replay 2\npass 0 polls 0 clock\nend\n", ":1:", "format \"2\""},
        // Cut off before a whole pass, or damaged before the cut (see the next test).
        {head, ":2:", "without its \"end\" line, before it holds a whole pass"},
        {head + "pass 1 polls", ":3:", "before it holds a whole pass"},
        {head + "pass 1 polls 3 clo\npass 2 polls 0 clock\npass 3 po", ":3:", "\"clock\""},
        {"kestrava-replay 1\nend\n", ":2:", "before its first pass"},
        // Bad numbers.
        {head + "pass 1 polls 3 clock 116 11x7\nend\n", ":3:", "a clock reading must be"},
        {head + "pass 1 polls 3 clock 99999999999\nend\n", ":3:", "a clock reading must be"},
        {head + "pass 1 polls -1 clock\nend\n", ":3:", "the poll count must be"},
        {head + "at 1 down 3 2 1\nend\n", ":3:", "unexpected \"1\" after the event"},
        {head + "at 1 down 32\nend\n", ":3:", "missing the modifiers"},
        {head + "at 1 mouse-move 0 12 y\nend\n", ":3:", "a position must be"},
        // Out of order.
        {head + "pass 2 polls 0 clock\nend\n", ":3:", "pass 2 out of order: pass 1 comes next"},
        {head + "pass 0 polls 0 clock\nend\n", ":3:", "pass 0 out of order"},
        {head + "at 2 down 32 0\nat 1 up 32 0\nend\n", ":4:", "event out of order: poll 1 after poll 2"},
        {head + "at 3 down 32 0\nend\n", ":3:", "poll 3 is past the 2 polls of pass 0"},
        {head + "at 0 down 32 0\nend\n", ":3:", "the poll number must be"},
        {"kestrava-replay 1\nat 1 down 32 0\npass 0 polls 1 clock\nend\n", ":2:", "before the first pass"},
        // Unknown words, and anything after the end.
        {head + "at 1 jump 32 0\nend\n", ":3:", "unknown event \"jump\""},
        {head + "teleport 3\nend\n", ":3:", "unknown line beginning \"teleport\""},
        {head + "end\npass 1 polls 0 clock\n", ":4:", "after the end line"},
        {head + "end now\n", ":3:", "unexpected \"now\" after \"end\""},
    };
    for (const auto& c : cases) {
        const std::string error = ParseError(c.text);
        EXPECT_EQ(error.rfind(std::string("game.txt") + c.line, 0), 0u) << c.text << "\n-> " << error;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.text << "\n-> " << error;
    }
}

// Killed while recording, the file stops wherever stdio last flushed, even mid-line: what is
// read is every pass before the last one begun, which may lack its events.
TEST(ReplayFile, ACutOffFileGivesThePassesBeforeItsLastWhereverItWasCut) {
    const std::string text = "kestrava-replay 1\npass 0 polls 2 clock 100\npass 1 polls 3 clock 116 117\n"
                             "at 2 down 32 0\npass 2 polls 1 clock 133\nat 1 up 32 0\nend";
    for (size_t cut = text.find("at 2"); cut <= text.size(); ++cut) {
        std::istringstream in(text.substr(0, cut));
        std::vector<TRecordedPass> read;
        bool cutOff = false;
        ASSERT_TRUE(ParseReplay(in, "game.txt", &read, nullptr, &cutOff)) << cut;
        EXPECT_EQ(cutOff, cut < text.size()) << cut;
        EXPECT_EQ(read.size(), cut == text.size() ? 3u : cut < text.find("at 1 up") ? 1u : 2u) << cut;
        EXPECT_EQ(read.back().events.size(), read.size() == 1 ? 0u : 1u) << cut;
    }
}
