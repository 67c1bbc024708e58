// bench_frames: where the title screen's frames spend their time, layer by layer. Runs the
// game's own start-up and frame loop as the scripted runner does (virtual clock, no keys, no
// sleeping, drawn with OpenGL) and, over the passes FROM to N, times every layer of the
// picture: after each one the driver finishes drawing, so each layer's figure is what it
// costs alone, game arithmetic and OpenGL together. Needs a display:
//
//   tools/with-display.sh build/bench/bench_frames --frames 24000 --from 12000
//
// Under valgrind --tool=callgrind --instr-atstart=no only the timed passes are counted:
//
//   tools/with-display.sh valgrind --tool=callgrind --instr-atstart=no build/bench/bench_frames --frames 12100 --from 12000
//
// Waiting after every layer keeps the drawing threads from overlapping the game's own work,
// so the per-pass total here is a little above the runner's --stats.
//
// An occlusion query around every layer counts the fragments it had the renderer shade, in
// window-fulls (640 x 480 fragments); with the time, that gives what a fragment of each layer
// costs, so a layer whose time follows its fragments is paying for its own picture.
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

#include "draw2d/draw.h"
#include "draw2d/gl/gl_fragment_counter.h"
#include "draw2d/gl/gl_plane_driver.h"
#include "draw2d/graphics.h"
#include "game/kestrava.h"
#include "platform/headless/script_system.h"
#include "platform/parse.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_platform.h"

namespace {

using Clock = std::chrono::steady_clock;

const double kWindowFull = 640.0 * 480.0;

struct TLayerTimes {
    std::string name;
    std::vector<double> micros;      // one per timed pass
    std::vector<double> fragments;   // the same passes' fragments, in window-fulls
};

double At(const std::vector<double>& sorted, double q) {
    return sorted[static_cast<size_t>(q * (sorted.size() - 1) + 0.5)];
}

// Mean, median, p99 and max of the times, then of the fragments, and the time per fragment
// over all the passes.
void PrintRow(const char* name, std::vector<double> micros, std::vector<double> fragments) {
    if (micros.empty()) return;
    double sum = 0, drawn = 0;
    for (double m : micros) sum += m;
    for (double f : fragments) drawn += f;
    std::sort(micros.begin(), micros.end());
    std::printf("%-16s %8.0f %8.0f %8.0f %8.0f", name, sum / micros.size(), At(micros, 0.5), At(micros, 0.99),
                micros.back());
    if (fragments.empty()) {
        std::printf("\n");
        return;
    }
    std::sort(fragments.begin(), fragments.end());
    std::printf(" %8.2f %8.2f %8.2f", At(fragments, 0.5), At(fragments, 0.99), fragments.back());
    if (drawn > 0.01 * fragments.size())
        std::printf(" %8.2f\n", sum * 1000.0 / (drawn * kWindowFull));
    else
        std::printf(" %8s\n", "-");
}

const char kUsage[] = "usage: bench_frames [--frames N] [--from F]\n";

// Reads --frames N and --from F; false with a message on stderr at anything else.
bool ReadArguments(int argc, char** argv, int* frames, int* from) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        int* target = arg == "--frames" ? frames : arg == "--from" ? from : nullptr;
        if (!target || i + 1 >= argc || !ParseWholeNumber(argv[i + 1], 1, INT_MAX, target)) {
            std::fprintf(stderr, "bench_frames: bad argument '%s'\n%s", arg.c_str(), kUsage);
            return false;
        }
        ++i;
    }
    if (*from > *frames) *from = *frames;
    return true;
}

// The title screen run pass by pass, with the time and the fragments of every layer of the
// passes from `from` to `frames`.
class TFrameBench {
public:
    TFrameBench(int frames, int from) : frames_(frames), from_(from) {}

    // Runs the game on the virtual clock, drawn with OpenGL; the game's status.
    int Run();
    // The table of the layers in the order they were first drawn, then the whole pass.
    void Print() const;

private:
    // The layer drawn since the last call is `name`: its time and fragments are taken, and
    // the next layer's begin.
    void LayerDrawn(const char* name);

    const int frames_, from_;
    TScriptSystemDriver system_;
    std::vector<TLayerTimes> layers_;
    std::vector<double> passes_;
    int pass_ = 0;
    Clock::time_point passStart_, layerStart_;
};

int TFrameBench::Run() {
    TPlatform platform = HeadlessPlatform();
    platform.system = &system_;
    platform.window = SDLWindowDriver();
    InstallPlatform(platform);
    SetLayerTimer([this](const char* name) { LayerDrawn(name); });

    TGameHooks hooks;
    hooks.audioMode = TAudioOutputMode::Manual;
    hooks.planeDriver = GLPlaneDriver();
    hooks.beforePass = [this](int p) {
        system_.BeginPass(p);
        pass_ = p;
        if (p == from_) CALLGRIND_START_INSTRUMENTATION;
        passStart_ = layerStart_ = Clock::now();
    };
    hooks.afterPass = [this](int p) {
        if (p >= from_) passes_.push_back(std::chrono::duration<double, std::micro>(Clock::now() - passStart_).count());
        return p < frames_;
    };
    int status = RunKestrava(hooks);
    CALLGRIND_STOP_INSTRUMENTATION;
    SetLayerTimer(nullptr);
    GLFreeFragmentCounter();
    EndGraphics();
    InstallPlatform(HeadlessPlatform());
    return status;
}

void TFrameBench::LayerDrawn(const char* name) {
    Clock::time_point now = Clock::now();
    const long long fragments = GLEndFragmentCount();
    if (pass_ >= from_) {
        auto layer = std::find_if(layers_.begin(), layers_.end(), [&](const TLayerTimes& l) { return l.name == name; });
        if (layer == layers_.end()) layer = layers_.insert(layers_.end(), TLayerTimes{name, {}, {}});
        layer->micros.push_back(std::chrono::duration<double, std::micro>(now - layerStart_).count());
        if (fragments >= 0) layer->fragments.push_back(fragments / kWindowFull);
    }
    GLBeginFragmentCount();
    layerStart_ = Clock::now();
}

void TFrameBench::Print() const {
    std::printf("title screen, passes %d to %d: time per pass (us), fragments shaded per pass (window-fulls),\n"
                "and time per fragment over the passes (ns)\n",
                from_, frames_);
    std::printf("%-16s %8s %8s %8s %8s %8s %8s %8s %8s\n", "", "time:", "", "", "", "frags:", "", "", "");
    std::printf("%-16s %8s %8s %8s %8s %8s %8s %8s %8s\n", "layer", "mean", "median", "p99", "max", "median",
                "p99", "max", "ns/frag");
    for (const TLayerTimes& layer : layers_) PrintRow(layer.name.c_str(), layer.micros, layer.fragments);
    PrintRow("whole pass", passes_, {});
}

}  // namespace

int main(int argc, char** argv) {
    int frames = 24000, from = 12000;
    if (!ReadArguments(argc, argv, &frames, &from)) return 2;
    TFrameBench bench(frames, from);
    if (int status = bench.Run(); status != 0) return status;
    bench.Print();
    return 0;
}
