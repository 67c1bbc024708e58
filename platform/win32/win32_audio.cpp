// The audio output on Windows through waveOut: the default device at 44100 Hz, 16-bit, stereo.
// A thread of the driver's own keeps a few short buffers queued, refilling each from the feed
// as the device finishes with it. waveOut is on every Windows (and wine) without COM, and its
// few buffers give about the latency of SDL's device buffer.
#include "platform/win32/win32_events.h"

#include <mmsystem.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/error.h"
#include "platform/win32/win32_platform.h"

namespace {

// Four buffers of about 12 ms each: one playing, the rest waiting, as the device needs to play
// without a gap while the thread wakes.
constexpr int kBuffers = 4;
constexpr int kBufferFrames = 512;

struct TWin32AudioOutputDriver : TAudioOutputDriver {
    HWAVEOUT device = nullptr;
    HANDLE done = nullptr;   // set by the device each time it finishes a buffer
    WAVEHDR headers[kBuffers] = {};
    std::vector<int16_t> samples;
    std::thread thread;
    std::atomic<bool> stop{false};
    TAudioFeed feed = nullptr;
    void* context = nullptr;

    bool Open(TAudioFeed feed, void* context) override;
    void Close() override;
    // Fills the buffer from the feed and queues it on the device.
    void Queue(WAVEHDR& header);
    // The thread: refills every buffer the device is done with, until told to stop.
    void Run();
};

// One line of the program's own: the game goes on without sound.
bool NoDevice(const char* why) {
    std::fprintf(stderr, "%s: no audio device (%s); playing silently\n", ProgramName(), why);
    return false;
}

void TWin32AudioOutputDriver::Queue(WAVEHDR& header) {
    feed(context, reinterpret_cast<int16_t*>(header.lpData), kBufferFrames);
    header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
    waveOutWrite(device, &header, sizeof header);
}

void TWin32AudioOutputDriver::Run() {
    for (WAVEHDR& header : headers) Queue(header);
    while (!stop) {
        WaitForSingleObject(done, 100);
        for (WAVEHDR& header : headers)
            if (!stop && (header.dwFlags & WHDR_DONE)) Queue(header);
    }
}

bool TWin32AudioOutputDriver::Open(TAudioFeed newFeed, void* newContext) {
    if (device || !newFeed) return false;
    if (waveOutGetNumDevs() == 0) return NoDevice("none found");
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 44100 * 4;
    done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!done || waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(done), 0, CALLBACK_EVENT) !=
                     MMSYSERR_NOERROR) {
        device = nullptr;
        Close();
        return NoDevice("the default output would not open");
    }
    feed = newFeed;
    context = newContext;
    samples.assign(static_cast<size_t>(kBuffers) * kBufferFrames * 2, 0);
    for (int i = 0; i < kBuffers; ++i) {
        headers[i] = {};
        headers[i].lpData = reinterpret_cast<LPSTR>(samples.data() + i * kBufferFrames * 2);
        headers[i].dwBufferLength = kBufferFrames * 4;
        waveOutPrepareHeader(device, &headers[i], sizeof headers[i]);
    }
    stop = false;
    thread = std::thread([this] { Run(); });
    return true;
}

// The thread ends before the device lets go of its buffers, so no feed runs after Close.
void TWin32AudioOutputDriver::Close() {
    stop = true;
    if (done) SetEvent(done);
    if (thread.joinable()) thread.join();
    if (device) {
        waveOutReset(device);
        for (WAVEHDR& header : headers) waveOutUnprepareHeader(device, &header, sizeof header);
        waveOutClose(device);
    }
    device = nullptr;
    if (done) CloseHandle(done);
    done = nullptr;
    feed = nullptr;
    context = nullptr;
}

}  // namespace

// Never freed: exit handlers may still close it.
TAudioOutputDriver* Win32AudioOutputDriver() {
    static TWin32AudioOutputDriver* driver = new TWin32AudioOutputDriver;
    return driver;
}
