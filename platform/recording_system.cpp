// The recording system driver: passes everything through and writes the replay file.
#include "platform/recording_system.h"

namespace {

// Passes written between two flushes: half a second of play is the most a kill can lose.
constexpr int kPassesPerFlush = 30;

}  // namespace

TRecordingSystemDriver::TRecordingSystemDriver(TSystemDriver* inner)
    : inner_(inner), thread_(std::this_thread::get_id()) {
    AddEventHook(RecordEvent, this);
}

TRecordingSystemDriver::~TRecordingSystemDriver() { Finish(nullptr); }

// The thread is asked first, so other threads never read the file state.
bool TRecordingSystemDriver::Recording() const {
    return std::this_thread::get_id() == thread_ && !finished_;
}

bool TRecordingSystemDriver::Open(const std::string& path, const std::string& note, std::string* error) {
    std::string header = std::string(kReplayHeader) + "\n";
    if (!note.empty()) header += "# " + note + "\n";
    if (!file_.Open(path, "the recording", TOutputFile::TMode::InPlace, error)) return false;
    if (file_.Write(header) && file_.Flush()) return true;
    *error = file_.Error();
    file_.Abandon();
    return false;
}

// Writes the finished pass; flushes every kPassesPerFlush passes.
void TRecordingSystemDriver::WritePass() {
    if (file_.Write(FormatRecordedPass(current_)) && current_.pass % kPassesPerFlush == 0) file_.Flush();
}

// Closes the pass in progress and starts the next.
void TRecordingSystemDriver::BeginPass(int pass) {
    if (!Recording() || pass == current_.pass) return;
    WritePass();
    current_ = TRecordedPass{};
    current_.pass = pass;
    current_.events.swap(heldEvents_);
}

bool TRecordingSystemDriver::Finish(std::string* error) {
    if (finished_) return true;
    finished_ = true;
    RemoveEventHook(RecordEvent, this);
    if (!file_.IsOpen()) return true;
    WritePass();
    file_.Write("end\n");
    std::string why;
    if (file_.Close(&why)) return true;
    if (error) *error = why;
    return false;
}

void TRecordingSystemDriver::Cut() {
    if (finished_) return;
    finished_ = true;
    RemoveEventHook(RecordEvent, this);
    WritePass();
    file_.Close(nullptr);
}

// Counts the poll and takes in the inner driver's events; the hook below writes them down.
void TRecordingSystemDriver::PollEvents() {
    if (!Recording()) {
        inner_->PollEvents();
        return;
    }
    if (!held_) ++current_.polls;
    inPoll_ = true;
    struct TGuard {
        bool& flag;
        ~TGuard() { flag = false; }
    } guard{inPoll_};
    inner_->PollEvents();
}

// An event emitted while the inner driver polls, at the poll in progress.
void TRecordingSystemDriver::RecordEvent(const TEvent& event, void* self) {
    auto* driver = static_cast<TRecordingSystemDriver*>(self);
    if (!driver->inPoll_ || !driver->Recording()) return;
    TRecordedEvent recorded;
    recorded.poll = driver->held_ ? 1 : driver->current_.polls;
    recorded.event.id = event.id;
    recorded.event.data = event.data;
    recorded.event.mods = event.mods;
    recorded.event.x = event.x;
    recorded.event.y = event.y;
    (driver->held_ ? driver->heldEvents_ : driver->current_.events).push_back(recorded);
}

int TRecordingSystemDriver::MilliSecs() {
    const int now = inner_->MilliSecs();
    if (Recording() && !held_) current_.clock.push_back(now);
    return now;
}

void TRecordingSystemDriver::Delay(int ms) { inner_->Delay(ms); }
