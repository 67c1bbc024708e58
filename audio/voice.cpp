// Mixer samples and the mixing of one voice into the accumulator.
#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "audio/mixer.h"

namespace mixora {

void sample::SetLoop(int flag) {
    loop = flag;
    if (length <= 0) {
        std::memset(after, bits == 8 ? 128 : 0, bytesPerFrame);
    } else {
        const uint8_t* from = loop ? data : data + static_cast<size_t>(length - 1) * bytesPerFrame;
        std::memcpy(after, from, bytesPerFrame);
    }
}

namespace {

// A sample of the given shape with no data yet (length -1: a stream, when stream is allowed);
// none for a shape the mixer cannot play.
std::unique_ptr<sample> NewSample(int length, int bits, int channels, int hertz, bool stream) {
    bool isStream = stream && length == -1;
    if ((length < 0 && !isStream) || (channels != 1 && channels != 2) || (bits != 8 && bits != 16)) return nullptr;
    int bytesPerFrame = std::max(channels * ((bits + 7) / 8), channels);
    int64_t total = int64_t(isStream ? kStreamFrames : length) * bytesPerFrame;
    if (total > INT_MAX) return nullptr;
    auto s = std::make_unique<sample>();
    s->hertz = hertz;
    s->channels = channels;
    s->bits = bits;
    s->length = length;
    s->bytesPerFrame = bytesPerFrame;
    s->totalBytes = static_cast<int>(total);
    s->capacity = isStream ? kStreamFrames : 0;
    return s;
}

// which = 0 asks for the current value, anything else for the target.
int CurrentOrTarget(const std::atomic<int>& current, const std::atomic<int>& target, int which) {
    return (which == 0 ? current : target).load(std::memory_order_relaxed);
}

}  // namespace

sample* CreateSample(int length, int bits, int channels, int hertz, const void* data, int loop) {
    std::unique_ptr<sample> s = NewSample(length, bits, channels, hertz, true);
    if (!s) return nullptr;
    size_t total = static_cast<size_t>(s->totalBytes);
    s->store = std::make_unique<uint8_t[]>(total);
    if (data && !s->capacity) std::memcpy(s->store.get(), data, total);
    else if (bits == 8) std::memset(s->store.get(), 128, total);
    s->data = s->store.get();
    s->SetLoop(loop);
    return s.release();
}

sample* CreateSampleOver(int length, int bits, int channels, int hertz, const void* data,
                         std::shared_ptr<const void> keeper, int loop) {
    std::unique_ptr<sample> s = NewSample(length, bits, channels, hertz, false);
    if (!s || (!data && length > 0)) return nullptr;
    s->data = static_cast<const uint8_t*>(data);
    s->keeper = std::move(keeper);
    s->SetLoop(loop);
    return s.release();
}

int WriteSample(sample* s, const void* data, int frames) {
    if (!s || !s->capacity || !data || frames <= 0) return 0;
    uint32_t written = s->written.load(std::memory_order_relaxed);
    // Frames written and not yet played; none when the voice ran past the writer.
    int64_t waiting = int32_t(written - s->consumed.load(std::memory_order_acquire));
    int count = static_cast<int>(std::min<int64_t>(frames, s->capacity - std::max<int64_t>(waiting, 0)));
    const auto* from = static_cast<const uint8_t*>(data);
    for (int i = 0; i < count; ++i) {
        size_t at = size_t((written + uint32_t(i)) & uint32_t(s->capacity - 1)) * s->bytesPerFrame;
        std::memcpy(s->store.get() + at, from + size_t(i) * s->bytesPerFrame, s->bytesPerFrame);
    }
    s->written.store(written + uint32_t(count), std::memory_order_release);
    return count;
}

void ReleaseSample(sample* s) {
    if (s && --s->references == 0) delete s;
}

// The current value follows a paused voice at once, so that resuming it does not ramp.
void sound::setrate(int rate) {
    rateTarget.store(rate, std::memory_order_relaxed);
    if (status.load(std::memory_order_relaxed) & VOICE_PAUSED) rateCurrent.store(rate, std::memory_order_relaxed);
}

void sound::setvolume(int volume) {
    volumeTarget.store(volume, std::memory_order_relaxed);
    if (status.load(std::memory_order_relaxed) & VOICE_PAUSED) volumeCurrent.store(volume, std::memory_order_relaxed);
}

void sound::setpan(int pan) {
    panTarget.store(pan, std::memory_order_relaxed);
    if (status.load(std::memory_order_relaxed) & VOICE_PAUSED) panCurrent.store(pan, std::memory_order_relaxed);
}

void sound::setdepth(int depth) { depthTarget.store(depth, std::memory_order_relaxed); }

int sound::getrate(int which) const { return CurrentOrTarget(rateCurrent, rateTarget, which); }
int sound::getvolume(int which) const { return CurrentOrTarget(volumeCurrent, volumeTarget, which); }
int sound::getpan(int which) const { return CurrentOrTarget(panCurrent, panTarget, which); }
int sound::getdepth(int which) const { return CurrentOrTarget(depthCurrent, depthTarget, which); }

namespace {

// The 16.16 step in sample frames per output frame. A negative rate would walk out of the
// front of the data, so it holds the voice still; a step is kept below 32768 frames.
int64_t StepFor(int hertz, int rate) {
    int64_t step = int64_t(hertz) * rate / kOutputRate;
    return std::clamp<int64_t>(step, 0, INT_MAX);
}

struct TGains {
    int left;
    int right;
};

// Left and right gains of volume v at pan p and depth d (4.12 fixed point).
TGains GainsFor(int v, int p, int d) {
    TGains g{v, v};
    if (p > 0) g.left = (v * (4096 - p)) >> 12;
    if (p < 0) g.right = (v * (4096 + p)) >> 12;
    if (d < 0) g.right = -g.right;
    return g;
}

// Adds v to an accumulator entry, saturating instead of overflowing.
inline void Accumulate(int32_t& entry, int64_t v) {
    entry = static_cast<int32_t>(std::clamp<int64_t>(entry + v, INT32_MIN, INT32_MAX));
}

// A 16-bit sample value, wherever the data lies (embedded files need not align it).
inline int Load16(const uint8_t* p) {
    int16_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// The interpolated value of one channel between frame0 and the frame after it, frame1, at
// f / 65536 of the way.
template <int Bits>
inline int ReadChannel(const uint8_t* frame0, const uint8_t* frame1, int channel, int f) {
    if constexpr (Bits == 16) {
        int s0 = Load16(frame0 + 2 * channel), s1 = Load16(frame1 + 2 * channel);
        return s0 + static_cast<int>((int64_t(s1 - s0) * f) / 65536);
    } else {
        int s0 = frame0[channel], s1 = frame1[channel];
        return (s0 - 128) * 256 + ((s1 - s0) * f) / 256;
    }
}

// Moves position back into the sample if it ran off the end; false when a once voice ended.
inline bool EndRule(uint64_t& position, int length, bool loop) {
    uint64_t frame = position >> 32;
    if (frame < uint64_t(length)) return true;
    if (!loop) return false;
    position = ((frame % uint64_t(length)) << 32) | (position & 0xFFFFFFFFu);
    return true;
}

struct TMixBlock {
    int64_t step, stepTarget;
    int volume, volumeTarget;
    int pan, depth;
};

// Adds one output frame: the voice's frame at position, interpolated toward the next one by
// the position's fraction, at the given gains.
template <int Bits, int Channels>
inline void MixFrame(const uint8_t* frame0, const uint8_t* frame1, uint64_t position, const TGains& g,
                     int32_t* out) {
    int f = static_cast<int>((position >> 16) & 0xFFFF);
    int left = ReadChannel<Bits>(frame0, frame1, 0, f);
    int right = Channels == 2 ? ReadChannel<Bits>(frame0, frame1, 1, f) : left;
    Accumulate(out[0], (int64_t(left) * g.left) >> 8);
    Accumulate(out[1], (int64_t(right) * g.right) >> 8);
}

// Mixes frames output frames of one voice; the volume and step move linearly from their current
// to their target values when Ramp. Returns false when a once voice reached its end.
template <int Bits, int Channels, bool Ramp>
bool MixFrames(const sample& s, uint64_t& position, int32_t* buffer, int frames, bool loop, const TMixBlock& b) {
    constexpr size_t kFrameBytes = Bits / 8 * Channels;
    int64_t stepFix = b.step << 8;
    int64_t stepDelta = Ramp ? ((b.stepTarget - b.step) << 8) / frames : 0;
    int volumeFix = b.volume * 256;
    int volumeDelta = Ramp ? ((b.volumeTarget - b.volume) * 256) / frames : 0;
    TGains g = GainsFor(b.volume, b.pan, b.depth);
    uint64_t advance = uint64_t(b.step) << 16;
    for (int i = 0; i < frames; ++i) {
        if constexpr (Ramp) {
            g = GainsFor(volumeFix >> 8, b.pan, b.depth);
            advance = uint64_t(stepFix >> 8) << 16;
            volumeFix += volumeDelta;
            stepFix += stepDelta;
        }
        size_t frame = size_t(position >> 32);
        const uint8_t* frame0 = s.data + frame * kFrameBytes;
        const uint8_t* frame1 = frame + 1 < size_t(s.length) ? frame0 + kFrameBytes : s.after;
        MixFrame<Bits, Channels>(frame0, frame1, position, g, buffer + 2 * i);
        position += advance;
        if (!EndRule(position, s.length, loop)) return false;
    }
    return true;
}

// Mixes frames output frames of a stream at a steady gain and step, the frames in the order they
// were written; where the writer has not written yet the rest of the block stays silent and the
// voice waits there. Publishes how far the voice got, so the writer may reuse what lies before.
template <int Bits, int Channels>
void MixStreamFrames(sample& s, uint64_t& position, int32_t* buffer, int frames, const TMixBlock& b) {
    constexpr size_t kFrameBytes = Bits / 8 * Channels;
    const uint32_t mask = uint32_t(s.capacity - 1);
    const uint32_t written = s.written.load(std::memory_order_acquire);
    TGains g = GainsFor(b.volumeTarget, b.pan, b.depth);
    uint64_t advance = uint64_t(b.stepTarget) << 16;
    for (int i = 0; i < frames; ++i) {
        uint32_t frame = uint32_t(position >> 32);
        uint32_t ahead = written - frame;
        if (ahead == 0 || ahead > uint32_t(s.capacity)) break;
        const uint8_t* frame0 = s.data + size_t(frame & mask) * kFrameBytes;
        const uint8_t* frame1 = ahead >= 2 ? s.data + size_t((frame + 1) & mask) * kFrameBytes : frame0;
        MixFrame<Bits, Channels>(frame0, frame1, position, g, buffer + 2 * i);
        position += advance;
    }
    s.consumed.store(uint32_t(position >> 32), std::memory_order_release);
}

void MixStream(sample& s, uint64_t& position, int32_t* buffer, int frames, const TMixBlock& b) {
    if (s.bits == 16) {
        if (s.channels == 2) MixStreamFrames<16, 2>(s, position, buffer, frames, b);
        else MixStreamFrames<16, 1>(s, position, buffer, frames, b);
    } else {
        if (s.channels == 2) MixStreamFrames<8, 2>(s, position, buffer, frames, b);
        else MixStreamFrames<8, 1>(s, position, buffer, frames, b);
    }
}

template <bool Ramp>
bool MixShape(const sample& s, uint64_t& position, int32_t* buffer, int frames, bool loop, const TMixBlock& b) {
    if (s.bits == 16) {
        return s.channels == 2 ? MixFrames<16, 2, Ramp>(s, position, buffer, frames, loop, b)
                               : MixFrames<16, 1, Ramp>(s, position, buffer, frames, loop, b);
    }
    return s.channels == 2 ? MixFrames<8, 2, Ramp>(s, position, buffer, frames, loop, b)
                           : MixFrames<8, 1, Ramp>(s, position, buffer, frames, loop, b);
}

}  // namespace

int sound::mix(int32_t* buffer, int n) {
    int st = status.load(std::memory_order_relaxed);
    if (st == VOICE_STOPPED) return 1;
    if (st & VOICE_PAUSED) return -2;
    if (st == VOICE_IDLE) return -1;

    int frames = n / 2;
    if (startDelay) {
        if (startDelay >= frames) {
            startDelay -= frames;
            return 0;
        }
        buffer += 2 * startDelay;
        frames -= startDelay;
        startDelay = 0;
    }
    if (frames <= 0 || !source) return 0;

    sample& s = *source;
    TMixBlock b;
    b.step = StepFor(s.hertz, rateCurrent.load(std::memory_order_relaxed));
    int rateTargetNow = rateTarget.load(std::memory_order_relaxed);
    b.stepTarget = StepFor(s.hertz, rateTargetNow);
    b.volume = volumeCurrent.load(std::memory_order_relaxed);
    b.volumeTarget = volumeTarget.load(std::memory_order_relaxed);
    b.pan = panTarget.load(std::memory_order_relaxed);
    b.depth = depthTarget.load(std::memory_order_relaxed);
    panCurrent.store(b.pan, std::memory_order_relaxed);
    depthCurrent.store(b.depth, std::memory_order_relaxed);
    bool loop = (st & VOICE_LOOP) != 0;

    if (s.capacity) {
        // A stream plays at its target volume and rate from the block they are set in.
        rateCurrent.store(rateTargetNow, std::memory_order_relaxed);
        volumeCurrent.store(b.volumeTarget, std::memory_order_relaxed);
        MixStream(s, position, buffer, frames, b);
        return 0;
    }

    bool going;
    if (b.volume == b.volumeTarget && b.step == b.stepTarget) {
        if (b.volume == 0) {
            position += (uint64_t(b.step) << 16) * uint64_t(frames);
            going = EndRule(position, s.length, loop);
        } else {
            going = MixShape<false>(s, position, buffer, frames, loop, b);
        }
    } else {
        rateCurrent.store(rateTargetNow, std::memory_order_relaxed);
        volumeCurrent.store(b.volumeTarget, std::memory_order_relaxed);
        going = MixShape<true>(s, position, buffer, frames, loop, b);
    }
    return going ? 0 : 1;
}

}  // namespace mixora
