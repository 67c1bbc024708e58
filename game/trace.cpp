#include "game/trace.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "draw2d/graphics.h"
#include "game/globals.h"
#include "game/version.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/recording_system.h"
#include "platform/rng.h"

namespace {

void AppendFloat(std::string& out, float v) {
    if (!std::isfinite(v)) {   // JSON has no infinity or NaN
        out += "null";
        return;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
    out += buf;
}

void AppendField(std::string& out, const char* name) {
    out += ",\"";
    out += name;
    out += "\":";
}

std::string TraceLine(int frame) {
    std::string out = "{\"frame\":" + std::to_string(frame);
    for (int i = 0; i < kTracedGlobalCount; ++i) {
        const TTracedGlobal& g = kTracedGlobals[i];
        AppendField(out, g.name);
        if (g.intField) {
            out += std::to_string(game.*g.intField);
        } else {
            AppendFloat(out, game.*g.floatField);
        }
    }
    AppendField(out, "rndState");
    out += std::to_string(RndSeed());
    const struct {
        const char* name;
        int count;
    } lists[] = {
        {"cloudList", game.cloudList.Count()}, {"speckList", game.speckList.Count()},
        {"waveList", game.waveList.Count()},   {"thingList", game.thingList.Count()},
        {"featherList", game.featherList.Count()},
    };
    for (const auto& list : lists) {
        AppendField(out, list.name);
        out += std::to_string(list.count);
    }
    out += "}\n";
    return out;
}

// Trace lines written between two flushes.
constexpr int kTracePassesPerFlush = 30;

}  // namespace

bool TTraceFile::Open(const std::string& path, std::string* error) {
    return file_.Open(path, "the trace", TOutputFile::TMode::Whole, error);
}

bool TTraceFile::Write(int pass) {
    return file_.Write(TraceLine(pass)) && (pass % kTracePassesPerFlush != 0 || file_.Flush());
}

void TFlightLog::Start(const std::string& recordPath, const std::string& tracePath,
                       const std::string& frameLogPath, TGameHooks* hooks) {
    recordPath_ = recordPath;
    tracePath_ = tracePath;
    frameLogPath_ = frameLogPath;
    if (!recordPath.empty()) {
        recorder_ = new TRecordingSystemDriver(GetSystemDriver());
        SetSystemDriver(recorder_);
    }
    if (!frameLogPath.empty()) {
        AddPresentHook([this] {
            if (!frameLog_.IsOpen()) return;
            frameLog_.Write(std::to_string(MicroSecs()) + "\n");
            frameLog_.Flush();   // a reader sees the frames as they come
        });
    }
    if (recordPath.empty() && tracePath.empty() && frameLogPath.empty()) return;
    hooks->started = [this] { return OpenFiles(); };
    hooks->beforePass = [this](int pass) {
        if (recorder_) recorder_->BeginPass(pass);
    };
    hooks->paused = [this](bool paused) {
        if (recorder_) recorder_->Hold(paused);
    };
    hooks->afterPass = [this](int pass) {
        if (trace_.IsOpen()) trace_.Write(pass);
        ReportWriteErrors();
        return true;
    };
}

// The files that are whole only when complete come first: a failure then leaves the others
// as they were.
bool TFlightLog::OpenFiles() {
    std::string error;
    const bool opened =
        (tracePath_.empty() || trace_.Open(tracePath_, &error)) &&
        (frameLogPath_.empty() ||
         frameLog_.Open(frameLogPath_, "the frame log", TOutputFile::TMode::InPlace, &error)) &&
        (!recorder_ || recorder_->Open(recordPath_, std::string("kestrava ") + kKestravaVersion, &error));
    if (!opened) std::fprintf(stderr, "%s: %s\n", ProgramName(), error.c_str());
    return opened;
}

// A failed write is told at once, while the player can still stop; the game goes on.
void TFlightLog::ReportWriteErrors() {
    if (!told_.empty()) return;
    const std::string* recorded = recorder_ ? &recorder_->WriteError() : nullptr;
    for (const std::string* error : {&trace_.Error(), &frameLog_.Error(), recorded}) {
        if (!error || error->empty()) continue;
        told_ = *error;
        std::fprintf(stderr, "%s: %s\n", ProgramName(), told_.c_str());
        return;
    }
}

bool TFlightLog::Finish() {
    std::vector<std::string> errors(3);
    if (recorder_) {
        SetSystemDriver(nullptr);
        recorder_->Finish(&errors[0]);
    }
    trace_.Close(&errors[1]);
    frameLog_.Close(&errors[2]);
    bool ok = told_.empty();
    for (const std::string& error : errors) {
        if (error.empty()) continue;
        ok = false;
        if (error != told_) std::fprintf(stderr, "%s: %s\n", ProgramName(), error.c_str());
    }
    return ok;
}

void TFlightLog::Cut() {
    if (recorder_) recorder_->Cut();
    std::string ignored;
    trace_.Close(&ignored);
    frameLog_.Close(&ignored);
}
