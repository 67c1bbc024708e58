// The replay system driver: the recorded clock and events, pass by pass.
#include "platform/headless/replay_system.h"

#include <sstream>

#include "platform/input.h"
#include "platform/input_file.h"

bool TReplaySystemDriver::Load(const std::string& path, std::string* error) {
    std::string text;
    if (!ReadInputFile(path, "replay file", &text, error)) return false;
    std::istringstream file(std::move(text));
    std::vector<TRecordedPass> passes;
    if (!ParseReplay(file, path, &passes, error, &cutOff_)) return false;
    passes_ = std::move(passes);
    pass_ = 0;
    polls_ = 0;
    readings_ = 0;
    nextEvent_ = 0;
    gamePart_ = true;
    carried_.clear();
    divergence_.clear();
    // Before the game's first reading, the clock reads the recording's first.
    lastReading_ = 0;
    for (const TRecordedPass& pass : passes_) {
        if (pass.clock.empty()) continue;
        lastReading_ = pass.clock.front();
        break;
    }
    return true;
}

// Notes the first pass whose polls differ from the recording.
void TReplaySystemDriver::CheckPassTaken() {
    if (!divergence_.empty()) return;
    const std::string where = "the replay parted from the recording in pass " + std::to_string(pass_) + ": ";
    if (pass_ > LastPass()) {
        divergence_ = where + "the recorded game had ended by then";
        return;
    }
    // The polls are the game's own questions, so their count follows what it does. The clock
    // readings are not compared: the mixer reads the clock too when it starts a sound, and
    // only when the game has sound, which a replay need not match (the game's own reading
    // comes first in its pass and is always the recorded one).
    const TRecordedPass& recorded = passes_[pass_];
    if (polls_ != recorded.polls)
        divergence_ = where + "the game polled for events " + std::to_string(polls_) + " times, " +
                      std::to_string(recorded.polls) + " when recorded";
}

// Ends the pass in progress (events it did not reach are carried into the next poll).
void TReplaySystemDriver::BeginPass(int pass) {
    if (pass == pass_) return;
    CheckPassTaken();
    if (pass_ <= LastPass()) {
        const auto& events = passes_[pass_].events;
        for (; nextEvent_ < events.size(); ++nextEvent_) carried_.push_back(events[nextEvent_].event);
    }
    pass_ = pass;
    polls_ = 0;
    readings_ = 0;
    nextEvent_ = 0;
    gamePart_ = true;
}

void TReplaySystemDriver::EndPass() { gamePart_ = false; }

void TReplaySystemDriver::Finish(bool endedByGame) {
    CheckPassTaken();
    if (divergence_.empty() && endedByGame && pass_ != LastPass())
        divergence_ = "the replay parted from the recording: the game ended in pass " + std::to_string(pass_) +
                      ", the recorded one in pass " + std::to_string(LastPass());
}

// Emits the events carried over, then those recorded at or before this poll, in order.
void TReplaySystemDriver::PollEvents() {
    if (gamePart_) ++polls_;
    std::vector<TEvent> events;
    events.swap(carried_);
    if (pass_ <= LastPass()) {
        const auto& recorded = passes_[pass_].events;
        for (; nextEvent_ < recorded.size() && recorded[nextEvent_].poll <= polls_; ++nextEvent_)
            events.push_back(recorded[nextEvent_].event);
    }
    for (const TEvent& event : events) EmitEvent(event);
}

// The pass's readings in order, then its last one again.
int TReplaySystemDriver::MilliSecs() {
    if (!gamePart_) return lastReading_;
    if (pass_ <= LastPass() && readings_ < passes_[pass_].clock.size())
        lastReading_ = passes_[pass_].clock[readings_];
    ++readings_;
    return lastReading_;
}
