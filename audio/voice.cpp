// Mixer samples and the mixing of one voice into the accumulator.
#include <algorithm>
#include <climits>
#include <cstring>

#include "audio/mixer.h"

namespace mixora {

void sample::setloop(int flag) {
    loop = flag;
    uint8_t* extra = data + static_cast<size_t>(length) * bytesperframe;
    if (length == 0) {
        std::memset(extra, bits == 8 ? 128 : 0, bytesperframe);
    } else {
        const uint8_t* from = loop ? data : extra - bytesperframe;
        std::memcpy(extra, from, bytesperframe);
    }
}

sample* createsample(int length, int bits, int channels, int hertz, const void* data, int loop) {
    if (length < 0 || (channels != 1 && channels != 2) || (bits != 8 && bits != 16)) return nullptr;
    int bytesperframe = std::max(channels * ((bits + 7) / 8), channels);
    int64_t total = int64_t(length) * bytesperframe;
    if (total > INT_MAX - bytesperframe) return nullptr;
    sample* s = new sample;
    s->hertz = hertz;
    s->channels = channels;
    s->bits = bits;
    s->length = length;
    s->bytesperframe = bytesperframe;
    s->totalbytes = static_cast<int>(total);
    size_t bytes = static_cast<size_t>(total) + bytesperframe;
    s->store = std::make_unique<int16_t[]>((bytes + 1) / 2);
    s->data = reinterpret_cast<uint8_t*>(s->store.get());
    if (data) std::memcpy(s->data, data, static_cast<size_t>(total));
    else if (bits == 8) std::memset(s->data, 128, static_cast<size_t>(total));
    s->setloop(loop);
    return s;
}

void releasesample(sample* s) {
    if (s && --s->references == 0) delete s;
}

// Setters store the target; while paused the current value follows at once (no ramp on resume).
void sound::setrate(int rate) {
    ratetarget.store(rate, std::memory_order_relaxed);
    if (status.load(std::memory_order_relaxed) & StatusPaused) ratecurrent.store(rate, std::memory_order_relaxed);
}

void sound::setvolume(int volume) {
    volumetarget.store(volume, std::memory_order_relaxed);
    if (status.load(std::memory_order_relaxed) & StatusPaused) volumecurrent.store(volume, std::memory_order_relaxed);
}

void sound::setpan(int pan) {
    pantarget.store(pan, std::memory_order_relaxed);
    if (status.load(std::memory_order_relaxed) & StatusPaused) pancurrent.store(pan, std::memory_order_relaxed);
}

void sound::setdepth(int depth) { depthtarget.store(depth, std::memory_order_relaxed); }

// which = 0 asks for the current value, anything else for the target.
static int current_or_target(const std::atomic<int>& current, const std::atomic<int>& target, int which) {
    return (which == 0 ? current : target).load(std::memory_order_relaxed);
}
int sound::getrate(int which) const { return current_or_target(ratecurrent, ratetarget, which); }
int sound::getvolume(int which) const { return current_or_target(volumecurrent, volumetarget, which); }
int sound::getpan(int which) const { return current_or_target(pancurrent, pantarget, which); }
int sound::getdepth(int which) const { return current_or_target(depthcurrent, depthtarget, which); }

namespace {

// The 16.16 step in sample frames per output frame. A negative rate would walk out of the
// front of the data, so it holds the voice still; a step is kept below 32768 frames.
int64_t stepfor(int hertz, int rate) {
    int64_t step = int64_t(hertz) * rate / OutputRate;
    return std::clamp<int64_t>(step, 0, INT_MAX);
}

struct gains {
    int left;
    int right;
};

// Left and right gains of volume v at pan p and depth d (4.12 fixed point).
gains gainsfor(int v, int p, int d) {
    gains g{v, v};
    if (p > 0) g.left = (v * (4096 - p)) >> 12;
    if (p < 0) g.right = (v * (4096 + p)) >> 12;
    if (d < 0) g.right = -g.right;
    return g;
}

// Adds v to an accumulator entry, saturating instead of overflowing.
inline void accumulate(int32_t& entry, int64_t v) {
    entry = static_cast<int32_t>(std::clamp<int64_t>(entry + v, INT32_MIN, INT32_MAX));
}

// Reads the interpolated value of one channel at frame + f / 65536.
template <int Bits>
inline int readchannel(const uint8_t* data, size_t index, size_t stride, int f) {
    if constexpr (Bits == 16) {
        const int16_t* p = reinterpret_cast<const int16_t*>(data) + index;
        int s0 = p[0], s1 = p[stride];
        return s0 + static_cast<int>((int64_t(s1 - s0) * f) / 65536);
    } else {
        const uint8_t* p = data + index;
        int s0 = p[0], s1 = p[stride];
        return (s0 - 128) * 256 + ((s1 - s0) * f) / 256;
    }
}

// Moves position back into the sample if it ran off the end; false when a once voice ended.
inline bool endrule(uint64_t& position, int length, bool loop) {
    uint64_t frame = position >> 32;
    if (frame < uint64_t(length)) return true;
    if (!loop) return false;
    position = ((frame % uint64_t(length)) << 32) | (position & 0xFFFFFFFFu);
    return true;
}

struct block {
    int64_t step, steptarget;
    int volume, volumetarget;
    int pan, depth;
};

// Mixes frames output frames of one voice; the volume and step move linearly from their current
// to their target values when Ramp. Returns false when a once voice reached its end.
template <int Bits, int Channels, bool Ramp>
bool mixframes(const sample& s, uint64_t& position, int32_t* buffer, int frames, bool loop, const block& b) {
    int64_t stepfix = b.step << 8;
    int64_t stepdelta = Ramp ? ((b.steptarget - b.step) << 8) / frames : 0;
    int volumefix = b.volume * 256;
    int volumedelta = Ramp ? ((b.volumetarget - b.volume) * 256) / frames : 0;
    gains g = gainsfor(b.volume, b.pan, b.depth);
    uint64_t advance = uint64_t(b.step) << 16;
    for (int i = 0; i < frames; ++i) {
        if constexpr (Ramp) {
            g = gainsfor(volumefix >> 8, b.pan, b.depth);
            advance = uint64_t(stepfix >> 8) << 16;
            volumefix += volumedelta;
            stepfix += stepdelta;
        }
        size_t index = size_t(position >> 32) * Channels;
        int f = static_cast<int>((position >> 16) & 0xFFFF);
        int left = readchannel<Bits>(s.data, index, Channels, f);
        int right = Channels == 2 ? readchannel<Bits>(s.data, index + 1, Channels, f) : left;
        accumulate(buffer[2 * i], (int64_t(left) * g.left) >> 8);
        accumulate(buffer[2 * i + 1], (int64_t(right) * g.right) >> 8);
        position += advance;
        if (!endrule(position, s.length, loop)) return false;
    }
    return true;
}

template <bool Ramp>
bool mixshape(const sample& s, uint64_t& position, int32_t* buffer, int frames, bool loop, const block& b) {
    if (s.bits == 16) {
        return s.channels == 2 ? mixframes<16, 2, Ramp>(s, position, buffer, frames, loop, b)
                               : mixframes<16, 1, Ramp>(s, position, buffer, frames, loop, b);
    }
    return s.channels == 2 ? mixframes<8, 2, Ramp>(s, position, buffer, frames, loop, b)
                           : mixframes<8, 1, Ramp>(s, position, buffer, frames, loop, b);
}

}  // namespace

int sound::mix(int32_t* buffer, int n) {
    int st = status.load(std::memory_order_relaxed);
    if (st == StatusStopped) return 1;
    if (st & StatusPaused) return -2;
    if (st == StatusIdle) return -1;

    int frames = n / 2;
    if (startdelay) {
        if (startdelay >= frames) {
            startdelay -= frames;
            return 0;
        }
        buffer += 2 * startdelay;
        frames -= startdelay;
        startdelay = 0;
    }
    if (frames <= 0 || !smp) return 0;

    const sample& s = *smp;
    block b;
    b.step = stepfor(s.hertz, ratecurrent.load(std::memory_order_relaxed));
    int ratetargetnow = ratetarget.load(std::memory_order_relaxed);
    b.steptarget = stepfor(s.hertz, ratetargetnow);
    b.volume = volumecurrent.load(std::memory_order_relaxed);
    b.volumetarget = volumetarget.load(std::memory_order_relaxed);
    b.pan = pantarget.load(std::memory_order_relaxed);
    b.depth = depthtarget.load(std::memory_order_relaxed);
    pancurrent.store(b.pan, std::memory_order_relaxed);
    depthcurrent.store(b.depth, std::memory_order_relaxed);
    bool loop = (st & StatusLoop) != 0;

    bool going;
    if (b.volume == b.volumetarget && b.step == b.steptarget) {
        if (b.volume == 0) {
            position += (uint64_t(b.step) << 16) * uint64_t(frames);
            going = endrule(position, s.length, loop);
        } else {
            going = mixshape<false>(s, position, buffer, frames, loop, b);
        }
    } else {
        ratecurrent.store(ratetargetnow, std::memory_order_relaxed);
        volumecurrent.store(b.volumetarget, std::memory_order_relaxed);
        going = mixshape<true>(s, position, buffer, frames, loop, b);
    }
    return going ? 0 : 1;
}

}  // namespace mixora
