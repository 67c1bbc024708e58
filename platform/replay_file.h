// A recorded game: for every pass of the frame loop, the clock readings the game took and
// the events it received, each at the poll it arrived in, so the game can be fed the same
// again. Stored as text, one record a line (README "Recording and replaying a flight"):
//
//   kestrava-replay 1
//   pass 0 polls 3 clock 5000120
//   pass 1 polls 3 clock 5000136 5000137
//   at 2 down 32 0
//   ...
//   end
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "platform/input.h"

// The first line of every replay file: the format's name and version.
inline constexpr const char* kReplayHeader = "kestrava-replay 1";

// An event and the poll of its pass it arrived in (1 = the pass's first poll).
struct TRecordedEvent {
    int poll = 1;
    TEvent event;   // id, data, mods, x and y are kept; source and extra are not
};

// One pass of the frame loop; pass 0 is the start-up before the first.
struct TRecordedPass {
    int pass = 0;
    int polls = 0;                        // the times the game took in system events
    std::vector<int> clock;               // MilliSecs readings, in the order taken
    std::vector<TRecordedEvent> events;   // in arrival order
};

// The text of a pass: its "pass" line and one "at" line per event.
std::string FormatRecordedPass(const TRecordedPass& pass);

// Reads a whole replay file from in (named name in messages): the header, the passes from 0
// on, and the end line; comments ('#' first) and blank lines may come anywhere after the
// header. On anything else returns false with "name:LINE: why" in *error. A file cut off
// without its end line (the game killed) gives the passes before its last one, which may be
// partial, and sets *cutOff (false for a whole file); a last line without a newline is skipped.
bool ParseReplay(std::istream& in, const std::string& name, std::vector<TRecordedPass>* passes,
                 std::string* error, bool* cutOff = nullptr);
