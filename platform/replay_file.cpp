// The replay file's text: writing a pass, reading a whole file back with its line numbers.
#include "platform/replay_file.h"

#include <climits>
#include <cstdint>
#include <sstream>

#include "platform/parse.h"

namespace {

// How each kind of event is written: its word and which of its numbers follow, in order
// (d data, m mods, x, y). Kinds not listed are written "event ID d m x y".
struct TEventSyntax {
    int id;
    const char* word;
    const char* fields;
};

constexpr TEventSyntax kEventSyntax[] = {
    {EVENT_KEYDOWN, "down", "dm"},        {EVENT_KEYUP, "up", "dm"},
    {EVENT_KEYCHAR, "char", "dm"},        {EVENT_MOUSEDOWN, "mouse-down", "dmxy"},
    {EVENT_MOUSEUP, "mouse-up", "dmxy"},  {EVENT_MOUSEMOVE, "mouse-move", "mxy"},
    {EVENT_MOUSEWHEEL, "wheel", "dm"},    {EVENT_APPSUSPEND, "suspend", ""},
    {EVENT_APPRESUME, "resume", ""},      {EVENT_APPTERMINATE, "quit", ""},
};
constexpr TEventSyntax kOtherEvent = {0, "event", "dmxy"};

const TEventSyntax& SyntaxOf(int id) {
    for (const TEventSyntax& s : kEventSyntax)
        if (s.id == id) return s;
    return kOtherEvent;
}

int* FieldOf(TEvent& event, char field) {
    switch (field) {
    case 'd': return &event.data;
    case 'm': return &event.mods;
    case 'x': return &event.x;
    default: return &event.y;
    }
}

// A decimal number, an optional '-' then digits only, within [low, high].
bool ParseNumber(const std::string& text, long long low, long long high, int* value) {
    size_t i = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (i == text.size() || text.size() - i > 10) return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
    }
    if (text[0] == '-') v = -v;
    if (v < low || v > high) return false;
    *value = static_cast<int>(v);
    return true;
}

// Appends a space and the number.
void AppendNumber(std::string& out, int value) {
    out += ' ';
    out += std::to_string(value);
}

}  // namespace

std::string FormatRecordedPass(const TRecordedPass& pass) {
    std::string out = "pass";
    AppendNumber(out, pass.pass);
    out += " polls";
    AppendNumber(out, pass.polls);
    out += " clock";
    for (int reading : pass.clock) AppendNumber(out, reading);
    out += '\n';
    for (const TRecordedEvent& recorded : pass.events) {
        const TEventSyntax& syntax = SyntaxOf(recorded.event.id);
        TEvent event = recorded.event;
        out += "at";
        AppendNumber(out, recorded.poll);
        out += ' ';
        out += syntax.word;
        if (&syntax == &kOtherEvent) AppendNumber(out, event.id);
        for (const char* f = syntax.fields; *f; ++f) AppendNumber(out, *FieldOf(event, *f));
        out += '\n';
    }
    return out;
}

namespace {

// A replay file being read line by line: what has been read so far, and the words of the
// line in hand after its keyword.
struct TReplayReader {
    TReplayReader(const std::string& name, std::string* error) : name(name), error(error) {}

    const std::string& name;
    std::string* error;
    int number = 0;                  // the line in hand, from 1
    std::vector<std::string> rest;   // its words after the keyword
    std::vector<TRecordedPass> read;
    bool ended = false;

    // False, with "name:LINE: why" in *error.
    bool Fail(const std::string& why) {
        if (error) *error = name + ":" + std::to_string(number) + ": " + why;
        return false;
    }

    // The i-th word after the keyword as a number in [low, high], named what in a message.
    bool NumberAt(size_t i, long long low, long long high, const char* what, int* value) {
        if (i >= rest.size()) return Fail(std::string("missing ") + what);
        if (!ParseNumber(rest[i], low, high, value))
            return Fail(std::string(what) + " must be a whole number from " + std::to_string(low) + " to " +
                        std::to_string(high) + ", not " + Quoted(rest[i]));
        return true;
    }

    bool Header(const std::string& line);
    bool Pass();
    bool Event();
    bool EventKind(TRecordedEvent* recorded);
    bool End();
};

bool TReplayReader::Header(const std::string& line) {
    if (line == kReplayHeader) return true;
    if (line.rfind("kestrava-replay ", 0) == 0)
        return Fail("this replay is in format " + Quoted(line.substr(16)) + "; this program reads \"" +
                    kReplayHeader + "\"");
    return Fail("not a kestrava replay: it should begin with \"" + std::string(kReplayHeader) + "\"");
}

// "pass N polls P clock R...": the next pass in order.
bool TReplayReader::Pass() {
    TRecordedPass pass;
    const int expected = static_cast<int>(read.size());
    if (!NumberAt(0, 0, INT_MAX, "the pass number", &pass.pass)) return false;
    if (pass.pass != expected)
        return Fail("pass " + std::to_string(pass.pass) + " out of order: pass " + std::to_string(expected) +
                    " comes next");
    if (rest.size() < 2 || rest[1] != "polls") return Fail("expected \"polls\" after the pass number");
    if (!NumberAt(2, 0, INT_MAX, "the poll count", &pass.polls)) return false;
    if (rest.size() < 4 || rest[3] != "clock") return Fail("expected \"clock\" after the poll count");
    for (size_t i = 4; i < rest.size(); ++i) {
        int reading = 0;
        if (!NumberAt(i, INT_MIN, INT_MAX, "a clock reading", &reading)) return false;
        pass.clock.push_back(reading);
    }
    read.push_back(std::move(pass));
    return true;
}

// "at POLL KIND NUMBERS...": an event of the last pass, in the order of its polls.
bool TReplayReader::Event() {
    if (read.empty()) return Fail("an event before the first pass line");
    TRecordedPass& pass = read.back();
    TRecordedEvent recorded;
    if (!NumberAt(0, 1, INT_MAX, "the poll number", &recorded.poll)) return false;
    if (recorded.poll > pass.polls)
        return Fail("poll " + std::to_string(recorded.poll) + " is past the " + std::to_string(pass.polls) +
                    " polls of pass " + std::to_string(pass.pass));
    if (!pass.events.empty() && recorded.poll < pass.events.back().poll)
        return Fail("event out of order: poll " + std::to_string(recorded.poll) + " after poll " +
                    std::to_string(pass.events.back().poll));
    if (!EventKind(&recorded)) return false;
    pass.events.push_back(recorded);
    return true;
}

// The kind word after the poll number and the numbers that kind has.
bool TReplayReader::EventKind(TRecordedEvent* recorded) {
    if (rest.size() < 2) return Fail("missing the kind of event after the poll number");
    const TEventSyntax* syntax = nullptr;
    for (const TEventSyntax& s : kEventSyntax)
        if (rest[1] == s.word) syntax = &s;
    size_t next = 2;
    if (rest[1] == kOtherEvent.word) {
        syntax = &kOtherEvent;
        if (!NumberAt(next++, INT_MIN, INT_MAX, "the event id", &recorded->event.id)) return false;
    }
    if (!syntax) return Fail("unknown event " + Quoted(rest[1]));
    if (syntax != &kOtherEvent) recorded->event.id = syntax->id;
    for (const char* f = syntax->fields; *f; ++f) {
        const char* what = *f == 'd' ? "the event's code" : *f == 'm' ? "the modifiers" : "a position";
        if (!NumberAt(next++, INT_MIN, INT_MAX, what, FieldOf(recorded->event, *f))) return false;
    }
    if (next < rest.size()) return Fail("unexpected " + Quoted(rest[next]) + " after the event");
    return true;
}

// "end", alone, after at least one pass.
bool TReplayReader::End() {
    if (!rest.empty()) return Fail("unexpected " + Quoted(rest[0]) + " after \"end\"");
    if (read.empty()) return Fail("the recording ends before its first pass");
    ended = true;
    return true;
}

}  // namespace

bool ParseReplay(std::istream& in, const std::string& name, std::vector<TRecordedPass>* passes,
                 std::string* error, bool* cutOff) {
    TReplayReader reader(name, error);
    std::string line;
    while (std::getline(in, line)) {
        ++reader.number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (reader.number == 1) {
            if (!reader.Header(line)) return false;
            continue;
        }
        std::istringstream words(line);
        std::string keyword;
        if (!(words >> keyword) || keyword[0] == '#') continue;
        if (reader.ended) return reader.Fail(Quoted(keyword) + " after the end line");
        // A last line with no newline was cut where the writer stopped: nothing in it is sure.
        if (in.eof() && keyword != "end") break;
        reader.rest.clear();
        for (std::string w; words >> w;) reader.rest.push_back(w);
        bool ok = keyword == "pass"  ? reader.Pass()
                  : keyword == "at"  ? reader.Event()
                  : keyword == "end" ? reader.End()
                                     : reader.Fail("unknown line beginning " + Quoted(keyword));
        if (!ok) return false;
    }
    if (reader.number == 0) {
        reader.number = 1;
        return reader.Fail("the file is empty, not a kestrava replay");
    }
    if (!reader.ended) {
        // Killed, crashed or cut off: the file holds what was flushed, and its last pass may
        // lack the events after it. The passes before that one are whole.
        if (reader.read.size() < 2)
            return reader.Fail("the file stops here without its \"end\" line, before it holds a whole pass: "
                               "the recording was cut short as the game started");
        reader.read.pop_back();
    }
    if (cutOff) *cutOff = !reader.ended;
    if (passes) *passes = std::move(reader.read);
    return true;
}
