// The mixer: the hand-over rings, starting voices, and mixing blocks of the active voices.
#include "audio/mixer.h"

#include <algorithm>

#include "platform/input.h"

namespace mixora {

namespace {

// A voice sounds this long after the game started it, so voices started together start together.
constexpr int StartLatencyMs = 20;

}  // namespace

bool ring::full() const {
    int w = write.load(std::memory_order_relaxed);
    return (w + 1) % RingSize == read.load(std::memory_order_acquire);
}

bool ring::push(sound* voice) {
    int w = write.load(std::memory_order_relaxed);
    int next = (w + 1) % RingSize;
    if (next == read.load(std::memory_order_acquire)) return false;
    entries[w] = voice;
    write.store(next, std::memory_order_release);
    return true;
}

sound* ring::pop() {
    int r = read.load(std::memory_order_relaxed);
    if (r == write.load(std::memory_order_acquire)) return nullptr;
    sound* voice = entries[r];
    read.store((r + 1) % RingSize, std::memory_order_release);
    return voice;
}

mixer::~mixer() {
    for (auto& voice : voices) releasesample(voice->smp);
}

sound* mixer::play(sample* s, const output* settings, int mode, int autorelease) {
    if (!s || s->length <= 0 || rate == 0) return nullptr;
    // A full ring refuses the start rather than overwrite a voice still waiting in it.
    if (requests.full()) return nullptr;
    sound* voice = allocsound(settings);
    s->references++;
    voice->smp = s;
    voice->position = 0;
    voice->startdelay = 0;
    voice->requesttime = MilliSecs();
    voice->autorelease.store(autorelease, std::memory_order_relaxed);
    voice->status.store(mode, std::memory_order_relaxed);
    voice->queued = true;
    requests.push(voice);
    return voice;
}

sound* mixer::takefree() {
    sound* voice = freed.pop();
    if (!voice) return nullptr;
    if (voice->handle && releasehandle) releasehandle(releasecontext, voice);
    voice->handle = 0;
    releasesample(voice->smp);
    voice->smp = nullptr;
    return voice;
}

sound* mixer::allocsound(const output* settings) {
    sound* voice = takefree();
    if (!voice && !spare.empty()) {
        voice = spare.back();
        spare.pop_back();
    }
    if (!voice) {
        voices.push_back(std::make_unique<sound>());
        voice = voices.back().get();
        voice->owner = this;
    }
    output defaults;
    const output& from = settings ? *settings : defaults;
    int r = from.getrate(1), v = from.getvolume(1), p = from.getpan(1), d = from.getdepth(1);
    voice->ratecurrent.store(r, std::memory_order_relaxed);
    voice->ratetarget.store(r, std::memory_order_relaxed);
    voice->volumecurrent.store(v, std::memory_order_relaxed);
    voice->volumetarget.store(v, std::memory_order_relaxed);
    voice->pancurrent.store(p, std::memory_order_relaxed);
    voice->pantarget.store(p, std::memory_order_relaxed);
    voice->depthcurrent.store(d, std::memory_order_relaxed);
    voice->depthtarget.store(d, std::memory_order_relaxed);
    return voice;
}

void mixer::giveback(sound* voice) {
    voice->handle = 0;
    spare.push_back(voice);
}

void mixer::takerequests() {
    int now = 0;
    bool haveclock = false;
    while (sound* voice = requests.pop()) {
        if (!haveclock) {
            now = MilliSecs();
            haveclock = true;
        }
        // Never more than the start latency, even if the clock stepped backwards.
        int64_t wait = int64_t(MilliSecsSince(now, voice->requesttime)) + StartLatencyMs;
        wait = std::clamp<int64_t>(wait, 0, StartLatencyMs);
        voice->startdelay = static_cast<int>(wait * OutputRate / 1000);
        voice->next = active;
        active = voice;
    }
}

void mixer::releasesound(sound* voice, sound* previous) {
    (previous ? previous->next : active) = voice->next;
    voice->next = nullptr;
    freed.push(voice);
}

void mixer::mix(int n) {
    n = std::clamp(n, 0, BufferSize);
    takerequests();
    sound* previous = nullptr;
    for (sound* voice = active; voice;) {
        sound* next = voice->next;
        int result = voice->mix(accumulator, n);
        if (result == -1 && !freed.full()) {
            // Idle: hand it back (it stays listed, idle, for a block if the free ring is full).
            releasesound(voice, previous);
            voice = next;
            continue;
        }
        if (result == 1) {
            int autorelease = voice->autorelease.load(std::memory_order_relaxed);
            voice->status.store(autorelease ? StatusIdle : StatusStopped, std::memory_order_relaxed);
        }
        previous = voice;
        voice = next;
    }
}

void mixer::mix16(int16_t* out, int n) {
    while (n > 0) {
        int count = std::min(n, BufferSize);
        mix(count);
        for (int i = 0; i < count; ++i) {
            out[i] = static_cast<int16_t>(std::clamp(accumulator[i] >> 4, -32768, 32767));
            accumulator[i] = 0;
        }
        out += count;
        n -= count;
    }
}

}  // namespace mixora
