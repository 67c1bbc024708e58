// The recording system driver: passes everything through and writes the replay file.
#include "platform/recording_system.h"

#include <cerrno>
#include <cstring>

namespace {

// Passes written between two flushes: half a second of play is the most a kill can lose.
constexpr int kPassesPerFlush = 30;

}  // namespace

TRecordingSystemDriver::TRecordingSystemDriver(TSystemDriver* inner)
    : inner_(inner), thread_(std::this_thread::get_id()) {}

TRecordingSystemDriver::~TRecordingSystemDriver() { Finish(nullptr); }

// The thread is asked first, so other threads never read the file state.
bool TRecordingSystemDriver::Recording() const {
    return std::this_thread::get_id() == thread_ && file_;
}

bool TRecordingSystemDriver::Open(const std::string& path, const std::string& note, std::string* error) {
    if (file_) Finish(nullptr);
    std::string header = std::string(kReplayHeader) + "\n";
    if (!note.empty()) header += "# " + note + "\n";
    file_ = std::fopen(path.c_str(), "w");
    if (!file_ || std::fputs(header.c_str(), file_) < 0 || std::fflush(file_) != 0) {
        if (error) *error = "cannot write the recording " + path + ": " + std::strerror(errno);
        if (file_) std::fclose(file_);
        file_ = nullptr;
        return false;
    }
    path_ = path;
    writeError_.clear();
    current_ = TRecordedPass{};
    AddEventHook(RecordEvent, this);
    return true;
}

// Writes the finished pass; flushes every kPassesPerFlush passes.
void TRecordingSystemDriver::WritePass() {
    const std::string text = FormatRecordedPass(current_);
    bool ok = std::fwrite(text.data(), 1, text.size(), file_) == text.size();
    if (ok && current_.pass % kPassesPerFlush == 0) ok = std::fflush(file_) == 0;
    if (!ok && writeError_.empty()) writeError_ = "cannot write the recording " + path_ + ": " + std::strerror(errno);
}

// Closes the pass in progress and starts the next.
void TRecordingSystemDriver::BeginPass(int pass) {
    if (!Recording() || pass == current_.pass) return;
    WritePass();
    current_ = TRecordedPass{};
    current_.pass = pass;
}

bool TRecordingSystemDriver::Finish(std::string* error) {
    if (!file_) return true;
    RemoveEventHook(RecordEvent, this);
    WritePass();
    if (std::fputs("end\n", file_) < 0 && writeError_.empty())
        writeError_ = "cannot write the recording " + path_ + ": " + std::strerror(errno);
    if (std::fclose(file_) != 0 && writeError_.empty())
        writeError_ = "cannot write the recording " + path_ + ": " + std::strerror(errno);
    file_ = nullptr;
    if (!writeError_.empty() && error) *error = writeError_;
    return writeError_.empty();
}

// Counts the poll and takes in the inner driver's events; the hook below writes them down.
void TRecordingSystemDriver::PollEvents() {
    if (!Recording()) {
        inner_->PollEvents();
        return;
    }
    ++current_.polls;
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
    recorded.poll = driver->current_.polls;
    recorded.event.id = event.id;
    recorded.event.data = event.data;
    recorded.event.mods = event.mods;
    recorded.event.x = event.x;
    recorded.event.y = event.y;
    driver->current_.events.push_back(recorded);
}

int TRecordingSystemDriver::MilliSecs() {
    const int now = inner_->MilliSecs();
    if (Recording()) current_.clock.push_back(now);
    return now;
}

void TRecordingSystemDriver::Delay(int ms) { inner_->Delay(ms); }
