// What the game writes about itself beside playing: the per-pass trace (kestrava --trace,
// kestrava-script --trace), the recording of a game (kestrava --record) and the time of
// every present (kestrava --frame-log).
#pragma once

#include <string>

#include "game/kestrava.h"
#include "platform/output_file.h"

class TRecordingSystemDriver;

// The trace file both programs write: after every pass, one JSON line with the pass number,
// the game globals, the generator state and the list lengths. Floats have 9 significant
// digits, so they read back to the same 32-bit value. The file takes its place when it is
// closed, complete; until then a full disk shows within 30 passes.
class TTraceFile {
public:
    // Starts the file beside its path; false with a one-line message when it cannot be written.
    bool Open(const std::string& path, std::string* error);
    // Whether the file was opened and is not closed yet.
    bool IsOpen() const { return file_.IsOpen(); }
    // Appends the line of this pass; false once a write has failed (Error() says why).
    bool Write(int pass);
    // Puts the complete file in place; false with a message when a write failed (the path
    // then keeps what it had). True when it was never opened.
    bool Close(std::string* error) { return file_.Close(error); }
    // The first write that failed; empty while none has.
    const std::string& Error() const { return file_.Error(); }

private:
    TOutputFile file_;
};

// The desktop game's --record, --trace and --frame-log files. They are opened once the game
// has started, so a game that cannot start leaves every file as it was, and written pass by
// pass (the frame log present by present) as the game goes.
class TFlightLog {
public:
    // Puts the recorder in front of the installed platform's events and clock (an empty path
    // asks for no file) and sets the hooks that open the files, write each pass and hold the
    // recording while the game is paused.
    void Start(const std::string& recordPath, const std::string& tracePath, const std::string& frameLogPath,
               TGameHooks* hooks);
    // Writes the recording's end and completes the files; false, having said why, when a
    // write failed (during the game or now).
    bool Finish();
    // Ends the files at once, the display lost mid-pass: the recording is cut before the pass
    // in progress (it replays up to there), the trace and the frame log are completed as they
    // stand, and nothing is reported.
    void Cut();

private:
    bool OpenFiles();
    void ReportWriteErrors();

    std::string recordPath_, tracePath_, frameLogPath_;
    // Never freed: the audio thread's clock reads through it until the program ends.
    TRecordingSystemDriver* recorder_ = nullptr;
    TTraceFile trace_;
    TOutputFile frameLog_;
    std::string told_;   // the write failure already told, empty while none has
};
