// The software mixer: samples, voices and the mixer that sums them into 44100 Hz stereo.
//
// Two threads meet here. The game thread starts voices and changes their settings; the audio
// thread mixes. Voices travel game -> audio through the request ring and audio -> game through
// the free ring; each ring has one producer and one consumer and no lock. The audio thread
// never allocates or frees: a voice that went idle is handed back through the free ring, and the
// game thread drops its sample reference when it recycles the voice. Sample reference counts are
// therefore touched on the game thread only and need no atomics.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace mixora {

constexpr int OutputRate = 44100;
constexpr int OutputChannels = 2;
constexpr int BufferSize = 8192;        // accumulator entries: 4096 stereo frames
constexpr int RingSize = 4096;          // entries of each ring (one is always left empty)

enum : int {
    StatusIdle = 0,
    StatusStopped = 1,
    StatusOnce = 2,
    StatusLoop = 4,
    StatusStream = 8,
    StatusPaused = 16,
};

// A mixer sample: the sound data with one extra frame after the last for interpolation.
struct sample {
    int hertz = 0;
    int channels = 0;
    int bits = 0;
    int length = 0;
    int bytesperframe = 0;
    int totalbytes = 0;
    int references = 1;     // game thread only
    int loop = 0;
    std::unique_ptr<int16_t[]> store;   // (length + 1) frames, 16-bit aligned
    uint8_t* data = nullptr;

    // Sets the loop flag and writes the extra frame (first frame when looping, else last).
    void setloop(int loop);
};

// A new sample of length frames (zeroed, or copied from data); none for a shape the mixer cannot play.
sample* createsample(int length, int bits, int channels, int hertz, const void* data, int loop);
// Drops one reference; the sample is freed when none is left. Game thread only.
void releasesample(sample* s);

// The settings interface; the base answers the defaults and ignores the setters.
struct output {
    virtual ~output() = default;
    virtual void setrate(int) {}
    virtual void setvolume(int) {}
    virtual void setpan(int) {}
    virtual void setdepth(int) {}
    virtual int getrate(int) const { return 65536; }
    virtual int getvolume(int) const { return 4096; }
    virtual int getpan(int) const { return 0; }
    virtual int getdepth(int) const { return 0; }
};

struct mixer;

// A voice. Fields the two threads share are atomics; the rest belong to whichever thread holds
// the voice (the rings hand it over with release/acquire ordering).
struct sound : output {
    mixer* owner = nullptr;
    std::atomic<int> status{StatusStopped};
    std::atomic<int> autorelease{0};
    int handle = 0;                 // game thread only
    bool queued = false;            // game thread only: handed to the mixer at least once
    sound* next = nullptr;          // audio thread only: the active list
    sample* smp = nullptr;
    uint64_t position = 0;          // 32.32 frames
    std::atomic<int> ratecurrent{65536}, ratetarget{65536};
    std::atomic<int> volumecurrent{4096}, volumetarget{4096};
    std::atomic<int> pancurrent{0}, pantarget{0};
    std::atomic<int> depthcurrent{0}, depthtarget{0};
    int requesttime = 0;
    int startdelay = 0;

    void setrate(int rate) override;
    void setvolume(int volume) override;
    void setpan(int pan) override;
    void setdepth(int depth) override;
    int getrate(int which) const override;
    int getvolume(int which) const override;
    int getpan(int which) const override;
    int getdepth(int which) const override;

    // Mixes n samples (n / 2 frames) into buffer: -1 idle, -2 paused, 0 playing, 1 ended.
    int mix(int32_t* buffer, int n);
};

// A single-producer single-consumer ring of voices.
struct ring {
    sound* entries[RingSize] = {};
    std::atomic<int> read{0};
    std::atomic<int> write{0};

    bool full() const;                  // producer side
    bool push(sound* voice);            // producer side; false when full
    sound* pop();                       // consumer side; none when empty
};

struct mixer {
    int32_t accumulator[BufferSize] = {};
    int rate = OutputRate;
    int channels = OutputChannels;
    sound* active = nullptr;            // audio thread only, newest first
    ring requests;                      // game -> audio
    ring freed;                         // audio -> game
    std::vector<std::unique_ptr<sound>> voices;   // every voice ever made (game thread)
    std::vector<sound*> spare;          // game thread: voices that were never handed to the mixer
    // Called on the game thread when a recycled voice still names a channel slot.
    void (*releasehandle)(void* context, sound* voice) = nullptr;
    void* releasecontext = nullptr;

    ~mixer();

    // Game thread: starts a voice on s; none when s cannot play or the request ring is full.
    sound* play(sample* s, const output* settings, int mode, int autorelease = 1);
    // Game thread: a recycled or new voice carrying settings (or the defaults).
    sound* allocsound(const output* settings);
    // Game thread: takes one voice back from the free ring, dropping its sample; none when empty.
    sound* takefree();
    // Game thread: keeps a voice that was never queued for the next allocsound.
    void giveback(sound* voice);
    // Audio thread: mixes n samples into the accumulator (n <= BufferSize).
    void mix(int n);
    // Audio thread: mixes n samples and writes them as clamped 16-bit values, in blocks.
    void mix16(int16_t* out, int n);

private:
    void takerequests();
    void releasesound(sound* voice, sound* previous);
};

}  // namespace mixora
