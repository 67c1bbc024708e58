// The process-wide mixer and the table of channel handles that name its voices.
#include "audio/mixora.h"

#include <cstdint>

#include "platform/audio_output.h"

using mixora::sound;

namespace {

constexpr int Slots = 4096;
constexpr int SlotMask = Slots - 1;

// Slot 0 holds only the head of the free list. A slot is named by slot + generation; the
// generation counts in steps of 4096 and wraps at 2^32.
struct channeltable {
    sound* voice[Slots] = {};
    int link[Slots] = {};
    uint32_t generation[Slots] = {};
    bool inuse[Slots] = {};
};

mixora::mixer* g_mixer = nullptr;
channeltable* g_table = nullptr;
TAudioOutputMode g_mode = TAudioOutputMode::System;

// The output's feed: mixes on the audio thread.
void feed(void* context, int16_t* out, int frames) {
    static_cast<mixora::mixer*>(context)->mix16(out, frames * 2);
}

channeltable* newtable() {
    channeltable* table = new channeltable;
    for (int i = 0; i < Slots; ++i) {
        table->link[i] = i + 1 < Slots ? i + 1 : 0;
        table->generation[i] = Slots;
    }
    return table;
}

// Pops the first free slot and hands it out with a new generation; 0 when none is free.
int allochandle() {
    int slot = g_table->link[0];
    if (!slot) return 0;
    g_table->link[0] = g_table->link[slot];
    g_table->link[slot] = 0;
    g_table->inuse[slot] = true;
    g_table->generation[slot] += Slots;
    return static_cast<int>(uint32_t(slot) + g_table->generation[slot]);
}

// Puts a slot back at the head of the free list.
void freeslot(int slot) {
    g_table->voice[slot] = nullptr;
    g_table->inuse[slot] = false;
    g_table->link[slot] = g_table->link[0];
    g_table->link[0] = slot;
}

// The slot a handle names, or 0 when the handle names nothing (also for a freed slot).
int slotof(int handle) {
    if (!g_table || handle == 0) return 0;
    int slot = handle & SlotMask;
    uint32_t generation = uint32_t(handle) & ~uint32_t(SlotMask);
    if (slot == 0 || !g_table->inuse[slot] || g_table->generation[slot] != generation) return 0;
    return slot;
}

// Called by the mixer when it recycles a voice: its slot returns to the free list if still its.
void releasehandle(void*, sound* voice) {
    int slot = slotof(voice->handle);
    if (slot && g_table->voice[slot] == voice) freeslot(slot);
}

// The voice a handle names; a channel with no voice yet gets an idle one, so it can take
// settings before anything plays on it.
sound* lookup(int handle) {
    int slot = slotof(handle);
    if (!slot || !g_mixer) return nullptr;
    sound*& voice = g_table->voice[slot];
    if (!voice) {
        voice = g_mixer->allocsound(nullptr);
        voice->handle = handle;
        voice->autorelease.store(0, std::memory_order_relaxed);
    }
    return voice;
}

// Marks a voice to be released when it ends and stops it unless it is already idle.
void stopvoice(sound* voice) {
    voice->autorelease.store(1, std::memory_order_relaxed);
    int status = voice->status.load(std::memory_order_relaxed);
    while (status != mixora::StatusIdle &&
           !voice->status.compare_exchange_weak(status, mixora::StatusStopped, std::memory_order_relaxed)) {
    }
}

}  // namespace

int mxo_Init(TAudioOutputMode mode) {
    if (g_mixer) return 0;
    g_mixer = new mixora::mixer;
    g_mode = mode;
    if (mode == TAudioOutputMode::System && !OpenAudioOutput(feed, g_mixer)) {
        delete g_mixer;
        g_mixer = nullptr;
        return -1;
    }
    g_table = newtable();
    g_mixer->releasehandle = releasehandle;
    return 0;
}

int mxo_Close() {
    if (!g_mixer) return 0;
    if (g_mode == TAudioOutputMode::System) CloseAudioOutput();
    delete g_table;
    g_table = nullptr;
    delete g_mixer;
    g_mixer = nullptr;
    return 0;
}

mixora::sample* mxo_CreateSound(int length, int bits, int channels, int hertz, const void* data, int loop) {
    if (!g_table) return nullptr;
    return mixora::createsample(length, bits, channels, hertz, data, loop);
}

int mxo_FreeSound(mixora::sample* sample) {
    mixora::releasesample(sample);
    return 0;
}

int mxo_PlaySound(mixora::sample* sample, int paused, int handle) {
    if (!g_mixer || !g_table || !sample) return handle;
    // A handle that names nothing any more starts a new channel instead of taking over a slot
    // that now belongs to someone else.
    int slot = slotof(handle);
    if (!slot) handle = 0;
    bool givenchannel = handle != 0;
    if (sample->length <= 0 || g_mixer->requests.full()) return 0;

    sound* old = givenchannel ? lookup(handle) : nullptr;
    if (!givenchannel) {
        handle = allochandle();
        slot = handle & SlotMask;
    }
    int mode = (sample->loop ? mixora::StatusLoop : mixora::StatusOnce) | (paused ? mixora::StatusPaused : 0);
    sound* voice = g_mixer->play(sample, old, mode, givenchannel ? 0 : 1);
    if (!voice) {
        if (!givenchannel && handle) freeslot(slot);
        return 0;
    }
    voice->handle = handle;
    if (handle) {
        if (sound* previous = g_table->voice[slot]) {
            if (previous->queued) stopvoice(previous);
            else g_mixer->giveback(previous);
        }
        g_table->voice[slot] = voice;
    }
    return handle;
}

int mxo_AllocChannel() {
    return g_table ? allochandle() : 0;
}

int mxo_ChannelStatus(int handle) {
    sound* voice = lookup(handle);
    return voice ? voice->status.load(std::memory_order_relaxed) : 0;
}

int mxo_StopChannel(int handle) {
    if (sound* voice = lookup(handle)) stopvoice(voice);
    return 0;
}

int mxo_SetChannelPaused(int handle, int paused) {
    sound* voice = lookup(handle);
    if (!voice) return 0;
    // Only a playing voice takes the paused bit: a paused idle or stopped voice would count as
    // playing and never be recycled.
    int status = voice->status.load(std::memory_order_relaxed);
    for (;;) {
        if (!(status & (mixora::StatusOnce | mixora::StatusLoop | mixora::StatusStream))) return 0;
        int wanted = paused ? (status | mixora::StatusPaused) : (status & ~mixora::StatusPaused);
        if (voice->status.compare_exchange_weak(status, wanted, std::memory_order_relaxed)) return 0;
    }
}

int mxo_SetChannelVolume(int handle, int volume) {
    if (sound* voice = lookup(handle)) voice->setvolume(volume);
    return 0;
}

int mxo_SetChannelPan(int handle, int pan) {
    if (sound* voice = lookup(handle)) voice->setpan(pan);
    return 0;
}

int mxo_SetChannelDepth(int handle, int depth) {
    if (sound* voice = lookup(handle)) voice->setdepth(depth);
    return 0;
}

int mxo_SetChannelRate(int handle, int rate) {
    if (sound* voice = lookup(handle)) voice->setrate(rate);
    return 0;
}

bool mxo_Mix16(int16_t* out, int frames) {
    if (!g_mixer || g_mode != TAudioOutputMode::Manual) return false;
    if (frames > 0) g_mixer->mix16(out, frames * 2);
    return true;
}

mixora::mixer* mxo_Mixer() {
    return g_mixer;
}
