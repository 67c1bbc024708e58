// The mixer: the hand-over rings, starting voices, and mixing blocks of the active voices.
#include "audio/mixer.h"

#include <algorithm>
#include <utility>

namespace mixora {

namespace {

// A voice sounds this long after the game started it, so voices started together start together.
constexpr int kStartLatencyMs = 20;

// later - earlier in milliseconds, right across the clock's 32-bit wrap.
int MilliSecsBetween(int earlier, int later) {
    return static_cast<int>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}

}  // namespace

bool TRing::Full() const {
    int w = write.load(std::memory_order_relaxed);
    return (w + 1) % kRingSize == read.load(std::memory_order_acquire);
}

bool TRing::Push(sound* voice) {
    int w = write.load(std::memory_order_relaxed);
    int next = (w + 1) % kRingSize;
    if (next == read.load(std::memory_order_acquire)) return false;
    entries[w] = voice;
    write.store(next, std::memory_order_release);
    return true;
}

sound* TRing::Pop() {
    int r = read.load(std::memory_order_relaxed);
    if (r == write.load(std::memory_order_acquire)) return nullptr;
    sound* voice = entries[r];
    read.store((r + 1) % kRingSize, std::memory_order_release);
    return voice;
}

mixer::mixer(TMilliSecsClock clock) : milliSecs(std::move(clock)) {}

mixer::~mixer() {
    for (auto& voice : voices) ReleaseSample(voice->source);
}

sound* mixer::play(sample* s, const output* settings, int mode, int autorelease) {
    if (!s || s->length == 0 || rate == 0) return nullptr;
    // A full ring refuses the start rather than overwrite a voice still waiting in it.
    if (requests.Full()) return nullptr;
    sound* voice = allocsound(settings);
    s->references++;
    voice->source = s;
    // A stream's voice starts at the first frame no voice has played yet.
    voice->position = s->capacity ? uint64_t(s->consumed.load(std::memory_order_acquire)) << 32 : 0;
    voice->startDelay = 0;
    voice->requestTime = milliSecs();
    voice->autorelease.store(autorelease, std::memory_order_relaxed);
    voice->status.store(mode, std::memory_order_relaxed);
    voice->queued = true;
    requests.Push(voice);
    return voice;
}

sound* mixer::TakeFree() {
    sound* voice = freed.Pop();
    if (!voice) return nullptr;
    if (voice->handle && releaseHandle) releaseHandle(releaseContext, voice);
    voice->handle = 0;
    // Back from the mixer: until it is started again, the mixer does not hold it.
    voice->queued = false;
    ReleaseSample(voice->source);
    voice->source = nullptr;
    return voice;
}

sound* mixer::allocsound(const output* settings) {
    sound* voice = TakeFree();
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
    voice->rateCurrent.store(r, std::memory_order_relaxed);
    voice->rateTarget.store(r, std::memory_order_relaxed);
    voice->volumeCurrent.store(v, std::memory_order_relaxed);
    voice->volumeTarget.store(v, std::memory_order_relaxed);
    voice->panCurrent.store(p, std::memory_order_relaxed);
    voice->panTarget.store(p, std::memory_order_relaxed);
    voice->depthCurrent.store(d, std::memory_order_relaxed);
    voice->depthTarget.store(d, std::memory_order_relaxed);
    return voice;
}

void mixer::GiveBack(sound* voice) {
    voice->handle = 0;
    spare.push_back(voice);
}

void mixer::TakeRequests() {
    int now = 0;
    bool haveClock = false;
    while (sound* voice = requests.Pop()) {
        if (!haveClock) {
            now = milliSecs();
            haveClock = true;
        }
        // Never more than the start latency, even if the clock stepped backwards.
        int64_t wait = int64_t(MilliSecsBetween(now, voice->requestTime)) + kStartLatencyMs;
        wait = std::clamp<int64_t>(wait, 0, kStartLatencyMs);
        voice->startDelay = static_cast<int>(wait * kOutputRate / 1000);
        voice->next = active;
        active = voice;
    }
}

void mixer::releasesound(sound* voice, sound* previous) {
    (previous ? previous->next : active) = voice->next;
    voice->next = nullptr;
    freed.Push(voice);
}

void mixer::mix(int n) {
    n = std::clamp(n, 0, kBufferSize);
    TakeRequests();
    sound* previous = nullptr;
    for (sound* voice = active; voice;) {
        sound* next = voice->next;
        int result = voice->mix(accumulator, n);
        if (result == -1 && !freed.Full()) {
            // Idle: hand it back (it stays listed, idle, for a block if the free ring is full).
            releasesound(voice, previous);
            voice = next;
            continue;
        }
        if (result == 1) {
            int autorelease = voice->autorelease.load(std::memory_order_relaxed);
            voice->status.store(autorelease ? VOICE_IDLE : VOICE_STOPPED, std::memory_order_relaxed);
        }
        previous = voice;
        voice = next;
    }
}

void mixer::mix16(int16_t* out, int n) {
    while (n > 0) {
        int count = std::min(n, kBufferSize);
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
