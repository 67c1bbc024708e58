#include "game/trace.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "game/globals.h"
#include "game/version.h"
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
    file_.open(path, std::ios::binary | std::ios::trunc);
    if (!file_) {
        *error = "cannot write the trace " + path + ": " + std::strerror(errno);
        return false;
    }
    path_ = path;
    return true;
}

void TTraceFile::Write(int pass) {
    file_ << TraceLine(pass);
    if (pass % kTracePassesPerFlush == 0) file_.flush();
}

bool TTraceFile::Close(std::string* error) {
    if (!file_.is_open()) return true;
    file_.close();
    if (file_) return true;
    *error = "cannot write the trace " + path_;
    return false;
}

bool TFlightLog::Start(const std::string& recordPath, const std::string& tracePath, TGameHooks* hooks,
                       std::string* error) {
    if (!tracePath.empty() && !trace_.Open(tracePath, error)) return false;
    if (!recordPath.empty()) {
        recorder_ = new TRecordingSystemDriver(GetSystemDriver());
        if (!recorder_->Open(recordPath, std::string("kestrava ") + kKestravaVersion, error)) return false;
        SetSystemDriver(recorder_);
    }
    if (!recorder_ && !trace_.IsOpen()) return true;
    hooks->beforePass = [this](int pass) {
        if (recorder_) recorder_->BeginPass(pass);
    };
    hooks->afterPass = [this](int pass) {
        if (trace_.IsOpen()) trace_.Write(pass);
        return true;
    };
    return true;
}

bool TFlightLog::Finish(std::string* error) {
    bool ok = true;
    if (recorder_) {
        SetSystemDriver(nullptr);
        ok = recorder_->Finish(error);
    }
    std::string traceError;
    if (!trace_.Close(&traceError) && ok) {
        *error = traceError;
        ok = false;
    }
    return ok;
}
