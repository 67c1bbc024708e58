// The scripted system driver: the clock advances 1/60 s per pass, keys come from a file.
#include "platform/headless/script_system.h"

#include <algorithm>
#include <cstdint>
#include <sstream>

#include "platform/input_file.h"
#include "platform/parse.h"

namespace {

// Orders scripted events by their frame alone.
template <typename T>
bool ByFrame(const T& a, const T& b) {
    return a.frame < b.frame;
}

// A decimal number made only of digits, within [low, high].
bool ParseNumber(const std::string& text, long long low, long long high, int* value) {
    if (text.empty() || text.size() > 10) return false;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < low || v > high) return false;
    *value = static_cast<int>(v);
    return true;
}

}  // namespace

// Reads the key file at path into the script.
bool TScriptSystemDriver::LoadKeys(const std::string& path, std::string* error) {
    std::string text;
    if (!ReadInputFile(path, "key file", &text, error)) return false;
    std::istringstream file(std::move(text));
    std::vector<TScriptedEvent> script;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        auto fail = [&](const std::string& why) {
            if (error) *error = path + ":" + std::to_string(number) + ": " + why;
            return false;
        };
        std::istringstream words(line.substr(0, line.find('#')));
        std::string frameText, action, codeText, extra;
        if (!(words >> frameText)) continue;
        words >> action >> codeText >> extra;
        int frame = 0, code = 0;
        if (!ParseNumber(frameText, 1, INT32_MAX, &frame))
            return fail("the frame must be a whole number from 1, not " + Quoted(frameText));
        if (action == "quit") {
            if (!codeText.empty()) return fail("\"quit\" takes no key code");
            script.push_back({frame, EVENT_APPTERMINATE, 0});
            continue;
        }
        if (action != "down" && action != "up")
            return fail("expected \"down\", \"up\" or \"quit\" after the frame, not " + Quoted(action));
        if (!ParseNumber(codeText, 0, 255, &code))
            return fail("the key code must be a decimal number from 0 to 255, not " + Quoted(codeText));
        if (!extra.empty()) return fail("unexpected " + Quoted(extra) + " after the key code");
        script.push_back({frame, action == "down" ? EVENT_KEYDOWN : EVENT_KEYUP, code});
    }
    // Sorted once, each pass finds its own events without reading the others.
    std::stable_sort(script.begin(), script.end(), ByFrame<TScriptedEvent>);
    script_ = std::move(script);
    return true;
}

void TScriptSystemDriver::BeginPass(int pass) {
    if (pass == pass_) return;   // a frame's events are queued once
    pass_ = pass;
    const auto [first, last] =
        std::equal_range(script_.begin(), script_.end(), TScriptedEvent{pass, 0, 0}, ByFrame<TScriptedEvent>);
    pending_.insert(pending_.end(), first, last);
}

void TScriptSystemDriver::PollEvents() {
    std::vector<TScriptedEvent> events;
    events.swap(pending_);
    for (const TScriptedEvent& e : events) {
        TEvent ev;
        ev.id = e.id;
        ev.data = e.code;
        EmitEvent(ev);
    }
}

int TScriptSystemDriver::MilliSecs() {
    if (pass_ < 1) return clockStart_;
    int64_t ms = static_cast<int64_t>(clockStart_) + (static_cast<int64_t>(pass_) - 1) * 1000 / 60;
    return static_cast<int>(static_cast<uint32_t>(ms));
}
