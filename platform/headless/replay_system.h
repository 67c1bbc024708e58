// The replay system driver: a recorded game (kestrava --record) fed to the game again, poll
// by poll and clock reading by clock reading, so the game does exactly what it did.
#pragma once

#include <string>
#include <vector>

#include "platform/replay_file.h"
#include "platform/system.h"

class TReplaySystemDriver : public TSystemDriver {
public:
    // Reads a replay file; false with "FILE:LINE: why" in *error when it is not a whole,
    // well-formed recording (nothing is replayed from a damaged or cut-short file).
    bool Load(const std::string& path, std::string* error);

    // Called before the loop test that precedes pass `pass` (1, 2, ...): what the game takes
    // from here on is that pass's recording.
    void BeginPass(int pass);
    // The game's part of the pass is over: clock readings from here to the next pass (the
    // runner mixing audio) are not the game's and repeat the pass's last reading.
    void EndPass();
    // The run is over: checks the pass in progress. endedByGame when the game ended the run
    // itself (Escape, a quit request), not the runner: then it must end where the recording did.
    void Finish(bool endedByGame);
    // The last recorded pass: the one in which the game ended.
    int LastPass() const { return static_cast<int>(passes_.size()) - 1; }
    // Where the game first polled for events a different number of times than it did when
    // recorded, or ended elsewhere ("" while it follows the recording).
    const std::string& Divergence() const { return divergence_; }

    // The events recorded at this poll of the pass (and any a shorter pass left over).
    void PollEvents() override;
    // The next reading recorded in this pass; past them, the last one again.
    int MilliSecs() override;
    // Time is recorded: nothing to wait for.
    void Delay(int) override {}

private:
    void CheckPassTaken();

    std::vector<TRecordedPass> passes_;
    int pass_ = 0;              // the pass in progress, 0 for the start-up
    int polls_ = 0;             // polls taken in it
    size_t readings_ = 0;       // clock readings taken in it
    size_t nextEvent_ = 0;      // its first event not yet delivered
    int lastReading_ = 0;
    bool gamePart_ = true;      // false between EndPass and the next BeginPass
    std::vector<TEvent> carried_;
    std::string divergence_;
};
