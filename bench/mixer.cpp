// How fast the mixer runs: 22050 Hz stereo voices mixed into 44100 Hz output, in blocks of
// 4096 frames as the output asks for them. "x_realtime" is seconds of sound mixed per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "audio/mixer.h"

namespace {

// One second of a 22050 Hz stereo sample with varied values, looping.
mixora::sample* TestSample() {
    std::vector<int16_t> values(22050 * 2);
    uint32_t x = 1;
    for (int16_t& v : values) {
        x = x * 1664525u + 1013904223u;
        v = static_cast<int16_t>(x >> 16) / 8;
    }
    return mixora::CreateSample(22050, 16, 2, 22050, values.data(), -1);
}

void BM_MixVoices(benchmark::State& state) {
    auto m = std::make_unique<mixora::mixer>([] { return 0; });
    mixora::sample* s = TestSample();
    for (int i = 0; i < state.range(0); ++i) {
        mixora::sound* voice = m->play(s, nullptr, mixora::VOICE_LOOP);
        voice->setvolume(4096 / 8);
        voice->setpan((i % 5 - 2) * 1024);
    }
    std::vector<int16_t> out(8192);
    m->mix16(out.data(), 8192);     // past the start latency
    for (auto _ : state) {
        m->mix16(out.data(), 8192);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["x_realtime"] = benchmark::Counter(state.iterations() * 4096.0 / 44100.0,
                                                      benchmark::Counter::kIsRate);
    m.reset();
    mixora::ReleaseSample(s);
}
BENCHMARK(BM_MixVoices)->Arg(5)->Arg(64);

}  // namespace

BENCHMARK_MAIN();
