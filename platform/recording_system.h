// A system driver that records: it stands in front of another (the platform's own) and
// writes down, pass by pass, every clock reading the game takes and every event it
// receives with the poll it arrived in, so kestrava-script --replay can feed them again.
#pragma once

#include <string>
#include <thread>
#include <vector>

#include "platform/output_file.h"
#include "platform/replay_file.h"
#include "platform/system.h"

class TRecordingSystemDriver : public TSystemDriver {
public:
    // Records what inner gives the thread that makes this driver, from now on: what is taken
    // before the first pass belongs to the start-up (pass 0). Calls from other threads (the
    // audio thread's clock) pass straight through, unrecorded.
    explicit TRecordingSystemDriver(TSystemDriver* inner);
    ~TRecordingSystemDriver() override;
    TRecordingSystemDriver(const TRecordingSystemDriver&) = delete;
    TRecordingSystemDriver& operator=(const TRecordingSystemDriver&) = delete;

    // Creates the replay file and writes its header, and the note as a comment when given;
    // false with a message when it cannot. Passes are written to it from the next BeginPass
    // on, so it is opened before the first pass (once the game has started).
    bool Open(const std::string& path, const std::string& note, std::string* error);
    // Pass `pass` (1, 2, ...) begins: the pass before it is written out, and the events held
    // back during a pause go first into this one, at its first poll.
    void BeginPass(int pass);
    // Holds the recording while the game is paused between two passes (true) and lets it go
    // on (false): calls pass through unrecorded, but the events that come are kept for the next
    // pass's first poll, where a replay hands them to the game before it reads anything.
    void Hold(bool held) { held_ = held; }
    // Writes the pass in progress and the end line and closes the file (if it was opened);
    // from then on the driver only passes calls through. False with a message when a write failed.
    bool Finish(std::string* error);
    // The first write that failed, "cannot write the recording PATH: REASON"; empty while none has.
    const std::string& WriteError() const { return file_.Error(); }
    // Ends a recording cut short (the display lost, the process about to end at once): writes
    // the pass in progress, which a replay takes as unfinished and leaves out, and closes the
    // file without its end line, so it replays up to the pass before. Nothing is reported.
    void Cut();

    // The inner driver's events, each recorded with the number of this poll in its pass.
    void PollEvents() override;
    // The inner driver's clock, the reading recorded.
    int MilliSecs() override;
    // The inner driver's sleep (not recorded: the game sees time only through the clock).
    void Delay(int ms) override;
    // The inner driver's fine clock, unrecorded: only the frame log reads it, which a replay has not.
    int64_t MicroSecs() override { return inner_->MicroSecs(); }

private:
    static void RecordEvent(const TEvent& event, void* self);
    bool Recording() const;
    void WritePass();

    TSystemDriver* const inner_;
    const std::thread::id thread_;
    TOutputFile file_;
    bool finished_ = false;
    bool inPoll_ = false;
    bool held_ = false;
    TRecordedPass current_;
    std::vector<TRecordedEvent> heldEvents_;
};
