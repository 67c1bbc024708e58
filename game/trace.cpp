// The trace line every program writes, and the desktop game's recording and trace files.
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

// Floats are printed with 9 significant digits, so they read back to the same 32-bit value.
void AppendFloat(std::string& out, float v) {
    if (!std::isfinite(v)) {
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

}  // namespace

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

namespace {

// Trace lines written between two flushes, so a killed game leaves a usable trace.
constexpr int kTracePassesPerFlush = 30;

}  // namespace

bool TFlightLog::Start(const std::string& recordPath, const std::string& tracePath, TGameHooks* hooks,
                       std::string* error) {
    if (!tracePath.empty()) {
        trace_.open(tracePath, std::ios::binary | std::ios::trunc);
        if (!trace_) {
            *error = "cannot write the trace " + tracePath + ": " + std::strerror(errno);
            return false;
        }
        tracePath_ = tracePath;
    }
    if (!recordPath.empty()) {
        recorder_ = new TRecordingSystemDriver(GetSystemDriver());
        if (!recorder_->Open(recordPath, std::string("kestrava ") + kKestravaVersion, error)) return false;
        SetSystemDriver(recorder_);
    }
    if (!recorder_ && !trace_.is_open()) return true;
    hooks->beforePass = [this](int pass) {
        if (recorder_) recorder_->BeginPass(pass);
    };
    hooks->afterPass = [this](int pass) {
        if (trace_.is_open()) {
            trace_ << TraceLine(pass);
            if (pass % kTracePassesPerFlush == 0) trace_.flush();
        }
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
    if (trace_.is_open()) {
        trace_.close();
        if (!trace_ && ok) {
            *error = "cannot write the trace " + tracePath_;
            ok = false;
        }
    }
    return ok;
}
