// The software mixer: samples, voices and the mixer that sums them into 44100 Hz stereo.
//
// Two threads meet here. The game thread starts voices and changes their settings; the audio
// thread mixes. Voices travel game -> audio through the request ring and audio -> game through
// the free ring; each ring has one producer and one consumer and no lock. The audio thread
// never allocates or frees: a voice that went idle is handed back through the free ring, and the
// game thread drops its sample reference when it recycles the voice. Sample reference counts are
// therefore touched on the game thread only and need no atomics. The mixer reads the time from
// the clock it was made with and from nothing else.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Milliseconds on a clock that wraps modulo 2^32; called on the game and the audio thread.
using TMilliSecsClock = std::function<int()>;

namespace mixora {

constexpr int kOutputRate = 44100;
constexpr int kOutputChannels = 2;
constexpr int kBufferSize = 8192;       // accumulator entries: 4096 stereo frames
constexpr int kRingSize = 4096;         // entries of each ring (one is always left empty)
constexpr int kStreamFrames = 65536;    // frames a streaming sample holds ahead of its voice

// A voice's status.
enum : int {
    VOICE_IDLE = 0,
    VOICE_STOPPED = 1,
    VOICE_ONCE = 2,
    VOICE_LOOP = 4,
    VOICE_STREAM = 8,
    VOICE_PAUSED = 16,
};

// A mixer sample: length frames at data, and a copy of the frame that follows the last one for
// interpolation (the first frame when looping, else the last). The data is the sample's own
// copy, or memory that its keeper keeps alive (a loaded sound's bytes, held once).
struct sample {
    int hertz = 0;
    int channels = 0;
    int bits = 0;
    int length = 0;
    int bytesPerFrame = 0;
    int totalBytes = 0;
    int references = 1;     // game thread only
    int loop = 0;
    const uint8_t* data = nullptr;
    uint8_t after[4] = {};                  // the frame after the last
    std::unique_ptr<uint8_t[]> store;       // the data when the sample owns it
    std::shared_ptr<const void> keeper;     // what keeps the data alive when it does not
    // A streaming sample (length -1) is a ring of capacity frames: the game thread writes at
    // written, the audio thread reads up to it and publishes how far it got in consumed. Both
    // count frames modulo 2^32; capacity is a power of two, 0 for a sample that is not a stream.
    int capacity = 0;
    std::atomic<uint32_t> written{0};
    std::atomic<uint32_t> consumed{0};

    // Sets the loop flag and writes the frame after the last.
    void SetLoop(int loop);
};

// A new sample of length frames copied from data (zeroed when data is none); length -1 makes an
// endless stream that WriteSample fills (data is then not read). None for a shape the mixer
// cannot play.
sample* CreateSample(int length, int bits, int channels, int hertz, const void* data, int loop);
// A new sample that plays data in place, kept alive by keeper; none for a shape the mixer cannot
// play. 16-bit data must be in the machine's byte order.
sample* CreateSampleOver(int length, int bits, int channels, int hertz, const void* data,
                         std::shared_ptr<const void> keeper, int loop);
// Game thread: appends up to frames frames of data to a streaming sample, as many as it has room
// for; the frames written (0 for a sample that is not a stream).
int WriteSample(sample* s, const void* data, int frames);
// Drops one reference; the sample is freed when none is left. Game thread only.
void ReleaseSample(sample* s);

// The settings interface; the base answers the defaults and ignores the setters.
struct output {
    virtual ~output() = default;
    // The setters store a target; the getters give the current value (which = 0) or the target.
    virtual void setrate(int) {}                                // rate, 16.16 (65536 = 1.0)
    virtual void setvolume(int) {}                              // volume, 4.12 (4096 = 1.0)
    virtual void setpan(int) {}                                 // pan, -4096 left .. 4096 right
    virtual void setdepth(int) {}                               // depth, 4.12
    virtual int getrate(int) const { return 65536; }            // rate
    virtual int getvolume(int) const { return 4096; }           // volume
    virtual int getpan(int) const { return 0; }                 // pan
    virtual int getdepth(int) const { return 0; }               // depth
};

struct mixer;

// A voice. Fields the two threads share are atomics; the rest belong to whichever thread holds
// the voice (the rings hand it over with release/acquire ordering).
struct sound : output {
    mixer* owner = nullptr;
    std::atomic<int> status{VOICE_STOPPED};
    std::atomic<int> autorelease{0};
    int handle = 0;                 // game thread only
    bool queued = false;            // game thread only: held by the mixer (started, not yet freed)
    sound* next = nullptr;          // audio thread only: the active list
    sample* source = nullptr;       // the sample played
    uint64_t position = 0;          // 32.32 frames
    std::atomic<int> rateCurrent{65536}, rateTarget{65536};
    std::atomic<int> volumeCurrent{4096}, volumeTarget{4096};
    std::atomic<int> panCurrent{0}, panTarget{0};
    std::atomic<int> depthCurrent{0}, depthTarget{0};
    int requestTime = 0;
    int startDelay = 0;

    // The setters store the target, and rate, volume and pan also the current value while
    // paused; the getters give the current value (which = 0) or the target.
    void setrate(int rate) override;            // rate, 16.16
    void setvolume(int volume) override;        // volume, 4.12
    void setpan(int pan) override;              // pan, 4.12
    void setdepth(int depth) override;          // depth (never ramps, no current value set)
    int getrate(int which) const override;      // rate
    int getvolume(int which) const override;    // volume
    int getpan(int which) const override;       // pan
    int getdepth(int which) const override;     // depth

    // Mixes n samples (n / 2 frames) into buffer: -1 idle, -2 paused, 0 playing, 1 ended.
    int mix(int32_t* buffer, int n);
};

// A single-producer single-consumer ring of voices.
struct TRing {
    sound* entries[kRingSize] = {};
    std::atomic<int> read{0};
    std::atomic<int> write{0};

    // Producer side: whether a push would be refused.
    bool Full() const;
    // Producer side: publishes voice; false when full.
    bool Push(sound* voice);
    // Consumer side: the oldest voice, or none when empty.
    sound* Pop();
};

struct mixer {
    int32_t accumulator[kBufferSize] = {};
    int rate = kOutputRate;
    int channels = kOutputChannels;
    sound* active = nullptr;            // audio thread only, newest first
    TRing requests;                     // game -> audio
    TRing freed;                        // audio -> game
    std::vector<std::unique_ptr<sound>> voices;   // every voice ever made (game thread)
    std::vector<sound*> spare;          // game thread: voices that were never handed to the mixer
    // Called on the game thread when a recycled voice still names a channel slot.
    void (*releaseHandle)(void* context, sound* voice) = nullptr;
    void* releaseContext = nullptr;

    // A mixer whose voices are timed by clock.
    explicit mixer(TMilliSecsClock clock);
    ~mixer();

    // Game thread: starts a voice on s; none when s cannot play or the request ring is full.
    sound* play(sample* s, const output* settings, int mode, int autorelease = 1);
    // Game thread: a recycled or new voice carrying settings (or the defaults).
    sound* allocsound(const output* settings);
    // Game thread: takes one voice back from the free ring, dropping its sample; none when empty.
    sound* TakeFree();
    // Game thread: keeps a voice that was never queued for the next allocsound.
    void GiveBack(sound* voice);
    // Audio thread: mixes n samples into the accumulator (n <= kBufferSize).
    void mix(int n);
    // Audio thread: mixes n samples and writes them as clamped 16-bit values, in blocks.
    void mix16(int16_t* out, int n);

private:
    const TMilliSecsClock milliSecs;
    void TakeRequests();
    void releasesound(sound* voice, sound* previous);
};

}  // namespace mixora
