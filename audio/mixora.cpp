// The process-wide mixer and the table of channel handles that name its voices.
#include "audio/mixora.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/platform.h"

using mixora::sound;

namespace {

constexpr int kSlots = 4096;
constexpr int kSlotMask = kSlots - 1;

// Slot 0 holds only the head of the free list. A slot is named by slot + generation; the
// generation counts in steps of 4096 and wraps at 2^32.
struct TChannelTable {
    sound* voice[kSlots] = {};
    int link[kSlots] = {};
    uint32_t generation[kSlots] = {};
    bool inUse[kSlots] = {};

    // Every slot free, linked in order.
    TChannelTable() {
        for (int i = 0; i < kSlots; ++i) {
            link[i] = i + 1 < kSlots ? i + 1 : 0;
            generation[i] = kSlots;
        }
    }
};

// The process-wide mixer, its channel handle table and its system output, in one record. The
// audio thread reads only masterVolume and outputHeld here (and the mixer it is handed); the rest is the game
// thread's, but for outputState, which the opening thread stores.
struct TMixoraState {
    mixora::mixer* mixer = nullptr;
    TChannelTable* channels = nullptr;
    TAudioOutputMode outputMode = TAudioOutputMode::System;
    std::atomic<int> masterVolume{100};
    std::atomic<bool> outputHeld{false};
    // The system output: the driver installed when the mixer opened, the thread opening it (none
    // once joined), and how far the opening got.
    TAudioOutputDriver* outputDriver = nullptr;
    std::thread* opener = nullptr;
    std::atomic<TAudioOutputState> outputState{TAudioOutputState::None};
};
TMixoraState mxo;

// The output's feed: mixes on the audio thread, then applies the master volume; silence
// while the output is held.
void Feed(void* context, int16_t* out, int frames) {
    if (mxo.outputHeld.load(std::memory_order_relaxed)) {
        std::fill(out, out + frames * 2, int16_t{0});
        return;
    }
    static_cast<mixora::mixer*>(context)->mix16(out, frames * 2);
    mxo_ApplyVolume(out, frames * 2, mxo.masterVolume.load(std::memory_order_relaxed));
}

// Opens the system output and says how it went; on the opening thread.
void OpenOutput(TAudioOutputDriver* driver, mixora::mixer* mixer) {
    bool open = driver->Open(Feed, mixer);
    mxo.outputState.store(open ? TAudioOutputState::Open : TAudioOutputState::Failed, std::memory_order_release);
}

// Waits for the opening thread to end, if there is one.
void JoinOpener() {
    if (!mxo.opener) return;
    mxo.opener->join();
    delete mxo.opener;
    mxo.opener = nullptr;
}

// Pops the first free slot and hands it out with a new generation; 0 when none is free.
int AllocHandle() {
    TChannelTable& table = *mxo.channels;
    int slot = table.link[0];
    if (!slot) return 0;
    table.link[0] = table.link[slot];
    table.link[slot] = 0;
    table.inUse[slot] = true;
    table.generation[slot] += kSlots;
    return static_cast<int>(uint32_t(slot) + table.generation[slot]);
}

// Puts a slot back at the head of the free list.
void FreeSlot(int slot) {
    TChannelTable& table = *mxo.channels;
    table.voice[slot] = nullptr;
    table.inUse[slot] = false;
    table.link[slot] = table.link[0];
    table.link[0] = slot;
}

// The slot a handle names, or 0 when the handle names nothing (also for a freed slot).
int SlotOf(int handle) {
    if (!mxo.channels || handle == 0) return 0;
    int slot = handle & kSlotMask;
    uint32_t generation = uint32_t(handle) & ~uint32_t(kSlotMask);
    if (slot == 0 || !mxo.channels->inUse[slot] || mxo.channels->generation[slot] != generation) return 0;
    return slot;
}

// Called by the mixer when it recycles a voice: its slot returns to the free list if still its.
void ReleaseHandle(void*, sound* voice) {
    int slot = SlotOf(voice->handle);
    if (slot && mxo.channels->voice[slot] == voice) FreeSlot(slot);
}

// The voice a handle names; a channel with no voice yet gets an idle one, so it can take
// settings before anything plays on it.
sound* Lookup(int handle) {
    int slot = SlotOf(handle);
    if (!slot || !mxo.mixer) return nullptr;
    sound*& voice = mxo.channels->voice[slot];
    if (!voice) {
        voice = mxo.mixer->allocsound(nullptr);
        voice->handle = handle;
        voice->autorelease.store(0, std::memory_order_relaxed);
    }
    return voice;
}

// The low 16 bits of a volume, pan or depth, as the voice keeps them: the mixer's gain products
// stay within 32 bits only for 16-bit values.
int Fixed16(int value) {
    return static_cast<int16_t>(value);
}

// Marks a voice to be released when it ends and stops it unless it is already idle.
void StopVoice(sound* voice) {
    voice->autorelease.store(1, std::memory_order_relaxed);
    int status = voice->status.load(std::memory_order_relaxed);
    while (status != mixora::VOICE_IDLE &&
           !voice->status.compare_exchange_weak(status, mixora::VOICE_STOPPED, std::memory_order_relaxed)) {
    }
}

}  // namespace

int mxo_Init(TMilliSecsClock clock, TAudioOutputMode mode) {
    if (mxo.mixer) return 0;
    TAudioOutputDriver* driver = InstalledPlatform().audio;
    // The headless output has no device to wait for (a muted game installs it): no output at all.
    if (mode == TAudioOutputMode::System && driver == HeadlessPlatform().audio) return -1;
    mxo.mixer = new mixora::mixer(std::move(clock));
    mxo.outputMode = mode;
    mxo.channels = new TChannelTable;
    mxo.mixer->releaseHandle = ReleaseHandle;
    if (mode == TAudioOutputMode::System) {
        // Reaching a device can take a sound server's round trips or a tour of every driver, so
        // it happens beside the caller (who opens the window meanwhile). The device thread
        // starts pulling once it is open and finds the voices started so far in the ring.
        mxo.outputDriver = driver;
        mxo.outputState.store(TAudioOutputState::Opening, std::memory_order_relaxed);
        try {
            mxo.opener = new std::thread(OpenOutput, driver, mxo.mixer);
        } catch (const std::system_error&) {
            OpenOutput(driver, mxo.mixer);   // no thread to be had: open it here
        }
    }
    return 0;
}

int mxo_Close() {
    if (!mxo.mixer) return 0;
    // An output still opening is waited for: once open, its device thread would pull from the
    // mixer freed below.
    JoinOpener();
    if (mxo.outputState.load(std::memory_order_acquire) == TAudioOutputState::Open) mxo.outputDriver->Close();
    mxo.outputState.store(TAudioOutputState::None, std::memory_order_relaxed);
    mxo.outputDriver = nullptr;
    delete mxo.channels;
    mxo.channels = nullptr;
    delete mxo.mixer;
    mxo.mixer = nullptr;
    return 0;
}

mixora::sample* mxo_CreateSound(int length, int bits, int channels, int hertz, const void* data, int loop) {
    if (!mxo.channels) return nullptr;
    return mixora::CreateSample(length, bits, channels, hertz, data, loop);
}

mixora::sample* mxo_CreateSoundOver(int length, int bits, int channels, int hertz, const void* data,
                                    std::shared_ptr<const void> keeper, int loop) {
    if (!mxo.channels) return nullptr;
    return mixora::CreateSampleOver(length, bits, channels, hertz, data, std::move(keeper), loop);
}

int mxo_WriteSound(mixora::sample* sample, const void* data, int frames) {
    return mxo.channels ? mixora::WriteSample(sample, data, frames) : 0;
}

int mxo_FreeSound(mixora::sample* sample) {
    mixora::ReleaseSample(sample);
    return 0;
}

int mxo_PlaySound(mixora::sample* sample, int paused, int handle) {
    if (!mxo.mixer || !mxo.channels || !sample) return handle;
    // A handle that names nothing any more starts a new channel instead of taking over a slot
    // that now belongs to someone else.
    int slot = SlotOf(handle);
    if (!slot) handle = 0;
    bool givenChannel = handle != 0;
    if (sample->length == 0 || mxo.mixer->requests.Full()) return 0;

    sound* old = givenChannel ? Lookup(handle) : nullptr;
    if (old) {
        // The old voice leaves its slot before a voice is taken for the new start: it may be
        // waiting in the free ring itself, and recycling it must not free the channel's slot.
        mxo.channels->voice[slot] = nullptr;
        old->handle = 0;
    }
    if (!givenChannel) {
        handle = AllocHandle();
        slot = handle & kSlotMask;
    }
    int mode = sample->capacity ? mixora::VOICE_STREAM : sample->loop ? mixora::VOICE_LOOP : mixora::VOICE_ONCE;
    mode |= paused ? mixora::VOICE_PAUSED : 0;
    sound* voice = mxo.mixer->play(sample, old, mode, givenChannel ? 0 : 1);
    if (!voice) {
        if (old) {
            mxo.channels->voice[slot] = old;
            old->handle = handle;
        }
        if (!givenChannel && handle) FreeSlot(slot);
        return 0;
    }
    voice->handle = handle;
    if (handle) {
        // The old voice goes back: a placeholder the mixer never saw is kept for the next start,
        // a voice the mixer holds ends at its next block and returns through the free ring.
        if (old && old != voice) {
            if (old->queued) StopVoice(old);
            else mxo.mixer->GiveBack(old);
        }
        mxo.channels->voice[slot] = voice;
    }
    return handle;
}

int mxo_AllocChannel() {
    return mxo.channels ? AllocHandle() : 0;
}

int mxo_ChannelStatus(int handle) {
    sound* voice = Lookup(handle);
    return voice ? voice->status.load(std::memory_order_relaxed) : 0;
}

int mxo_StopChannel(int handle) {
    if (sound* voice = Lookup(handle)) StopVoice(voice);
    return 0;
}

int mxo_SetChannelPaused(int handle, int paused) {
    sound* voice = Lookup(handle);
    if (!voice) return 0;
    // Only a playing voice takes the paused bit: a paused idle or stopped voice would count as
    // playing and never be recycled.
    int status = voice->status.load(std::memory_order_relaxed);
    for (;;) {
        if (!(status & (mixora::VOICE_ONCE | mixora::VOICE_LOOP | mixora::VOICE_STREAM))) return 0;
        int wanted = paused ? (status | mixora::VOICE_PAUSED) : (status & ~mixora::VOICE_PAUSED);
        if (voice->status.compare_exchange_weak(status, wanted, std::memory_order_relaxed)) return 0;
    }
}

int mxo_SetChannelVolume(int handle, int volume) {
    if (sound* voice = Lookup(handle)) voice->setvolume(Fixed16(volume));
    return 0;
}

int mxo_SetChannelPan(int handle, int pan) {
    if (sound* voice = Lookup(handle)) voice->setpan(Fixed16(pan));
    return 0;
}

int mxo_SetChannelDepth(int handle, int depth) {
    if (sound* voice = Lookup(handle)) voice->setdepth(Fixed16(depth));
    return 0;
}

int mxo_SetChannelRate(int handle, int rate) {
    if (sound* voice = Lookup(handle)) voice->setrate(rate);
    return 0;
}

void mxo_HoldOutput(int held) { mxo.outputHeld.store(held != 0, std::memory_order_relaxed); }

bool mxo_Mix16(int16_t* out, int frames) {
    if (!mxo.mixer || mxo.outputMode != TAudioOutputMode::Manual) return false;
    if (frames > 0) {
        mxo.mixer->mix16(out, frames * 2);
        mxo_ApplyVolume(out, frames * 2, mxo.masterVolume.load(std::memory_order_relaxed));
    }
    return true;
}

void mxo_SetMasterVolume(int volume) {
    mxo.masterVolume.store(volume < 0 ? 0 : volume > 100 ? 100 : volume, std::memory_order_relaxed);
}

int mxo_MasterVolume() { return mxo.masterVolume.load(std::memory_order_relaxed); }

// Full volume leaves the mixer's bytes exactly as they are, so no multiply is made at all.
void mxo_ApplyVolume(int16_t* samples, int count, int volume) {
    if (volume >= 100) return;
    for (int i = 0; i < count; ++i) samples[i] = static_cast<int16_t>(samples[i] * volume / 100);
}

TAudioOutputState mxo_OutputState() {
    return mxo.outputState.load(std::memory_order_acquire);
}

bool mxo_AwaitOutput() {
    JoinOpener();
    return mxo.outputState.load(std::memory_order_acquire) == TAudioOutputState::Open;
}

mixora::mixer* mxo_Mixer() {
    return mxo.mixer;
}

int mxo_ChannelsInUse() {
    if (!mxo.channels) return 0;
    int count = 0;
    for (int slot = 1; slot < kSlots; ++slot) count += mxo.channels->inUse[slot] ? 1 : 0;
    return count;
}
