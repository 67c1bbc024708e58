// Web Audio as the audio output: a 44100 Hz context whose script node asks the page's thread for
// each block, which the feed mixes there and then. Browsers let a page's sound start only once
// the player has pressed a key or clicked: the context is made then, and the page's sound hint
// (#sound-hint) shows until it runs.
#include "platform/web/web_platform.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/error.h"

namespace {

// The feed is asked for at most this many frames at a time, the mixer's largest block.
constexpr int kMaxFeedFrames = 4096;

// What Web Audio plays: the feed while one is open, and the block handed over last.
struct TWebAudio {
    TAudioFeed feed = nullptr;
    void* context = nullptr;
    std::vector<int16_t> block;
};
TWebAudio audio;

EM_JS(int, PageHasWebAudio, (), { return (window.AudioContext || window.webkitAudioContext) ? 1 : 0; });

// Sets up the page's side (once): the context made and resumed at the first key or click (or at
// once for the queue), the
// script node filling each block from the queue (queued) or the feed, the first
// Module.recordAudioFrames frames handed over kept in Module.kestravaAudio.recorded, and the
// sound hint shown until the context runs.
EM_JS(void, StartPageAudio, (int queued), {
    if (Module.kestravaAudio) {
        if (queued) Module.kestravaAudio.queue = [];
        return;
    }
    const audio = {context: null, node: null, queue: queued ? [] : null, recorded: [],
                   recordFrames: Module.recordAudioFrames | 0};
    Module.kestravaAudio = audio;
    const hint = document.getElementById('sound-hint');
    const take = (frames) => {
        if (!audio.queue) return HEAP16.subarray(Module._WebAudioFeed(frames) >> 1).subarray(0, frames * 2);
        const out = new Int16Array(frames * 2);
        let filled = 0;
        while (filled < out.length && audio.queue.length) {
            const head = audio.queue[0];
            const n = Math.min(head.length, out.length - filled);
            out.set(head.subarray(0, n), filled);
            filled += n;
            if (n === head.length) audio.queue.shift(); else audio.queue[0] = head.subarray(n);
        }
        return out.subarray(0, filled);
    };
    const fill = (buffer) => {
        const left = buffer.getChannelData(0), right = buffer.getChannelData(1);
        const samples = take(buffer.length);
        left.fill(0);
        right.fill(0);
        for (let i = 0; 2 * i < samples.length; ++i) {
            left[i] = samples[2 * i] / 32768;
            right[i] = samples[2 * i + 1] / 32768;
        }
        const room = audio.recordFrames * 2 - audio.recorded.length;
        if (room > 0) audio.recorded.push(...samples.subarray(0, room));
    };
    audio.start = () => {
        if (!audio.context) {
            const Context = window.AudioContext || window.webkitAudioContext;
            try { audio.context = new Context({sampleRate: 44100}); } catch (e) { audio.context = new Context(); }
            audio.node = audio.context.createScriptProcessor(2048, 0, 2);
            audio.node.onaudioprocess = (e) => fill(e.outputBuffer);
            audio.node.connect(audio.context.destination);
            audio.context.onstatechange = () => {
                if (hint) hint.hidden = audio.context.state === 'running';
            };
        }
        if (audio.context.state !== 'running') audio.context.resume().catch(() => {});
    };
    if (hint) hint.hidden = false;
    for (const type of ['keydown', 'pointerdown']) window.addEventListener(type, audio.start, true);
    if (queued) audio.start();   // the page's tests: at once where the browser lets it
});

// Stops the page's side: no more blocks asked for, the context closed.
EM_JS(void, StopPageAudio, (), {
    const audio = Module.kestravaAudio;
    if (!audio) return;
    for (const type of ['keydown', 'pointerdown']) window.removeEventListener(type, audio.start, true);
    if (audio.node) audio.node.disconnect();
    if (audio.context) audio.context.close();
    Module.kestravaAudio = null;
});

EM_JS(void, QueuePageAudio, (const int16_t* samples, int count), {
    const audio = Module.kestravaAudio;
    if (!audio || !audio.queue) return;
    audio.queue.push(HEAP16.slice(samples >> 1, (samples >> 1) + count));
    // More than two seconds behind (a page in the background): the oldest goes.
    let queued = audio.queue.reduce((sum, block) => sum + block.length, 0);
    while (queued > 2 * 2 * 44100) queued -= audio.queue.shift().length;
});

struct TWebAudioOutputDriver : TAudioOutputDriver {
    bool Open(TAudioFeed feed, void* context) override {
        if (audio.feed || !feed) return false;
        if (!PageHasWebAudio()) {
            std::fprintf(stderr, "%s: no Web Audio in this browser; playing silently\n", ProgramName());
            return false;
        }
        audio.feed = feed;
        audio.context = context;
        StartPageAudio(0);
        return true;
    }
    void Close() override {
        StopPageAudio();
        audio.feed = nullptr;
        audio.context = nullptr;
    }
};

}  // namespace

// The block Web Audio asks for: frames frames from the feed, silence while none is open.
extern "C" EMSCRIPTEN_KEEPALIVE int16_t* WebAudioFeed(int frames) {
    audio.block.assign(static_cast<size_t>(std::max(frames, 0)) * 2, 0);
    int16_t* out = audio.block.data();
    for (int left = frames; audio.feed && left > 0;) {
        const int count = std::min(left, kMaxFeedFrames);
        audio.feed(audio.context, out, count);
        out += 2 * count;
        left -= count;
    }
    return audio.block.data();
}

void UseQueuedWebAudio() {
    if (PageHasWebAudio()) StartPageAudio(1);
}

void QueueWebAudio(const int16_t* samples, int frames) {
    if (frames > 0) QueuePageAudio(samples, frames * 2);
}

// The one Web Audio output of the page.
TAudioOutputDriver* WebAudioOutputDriver() {
    static TWebAudioOutputDriver driver;
    return &driver;
}
