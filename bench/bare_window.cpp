// The yardstick bench/desktop.sh sets the game beside: a bare SDL program that opens a
// 640x480 OpenGL window, clears and presents frames paced to 60 a second, and logs the
// time of every present as the game's --frame-log does (the moment the frame is handed to
// the window, right before the swap; microseconds on the boot clock).
//
//   bare_window LOG SECONDS          presents for SECONDS (0: until it is asked to quit)
//   bare_window --timed-exec FILE COMMAND [ARG...]
//                                    writes the boot clock in microseconds to FILE, then
//                                    becomes COMMAND: the start of a process, on the clock
//                                    the frame logs use
//
// Built by bench/desktop.sh itself; it needs nothing of the game.
#include <SDL.h>
#include <SDL_opengl.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int64_t BootMicroSecs() {
    timespec ts{};
    if (clock_gettime(CLOCK_BOOTTIME, &ts) != 0) clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

int TimedExec(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: bare_window --timed-exec FILE COMMAND [ARG...]\n");
        return 2;
    }
    std::FILE* f = std::fopen(argv[2], "w");
    if (!f) {
        std::perror(argv[2]);
        return 1;
    }
    std::fprintf(f, "%lld\n", static_cast<long long>(BootMicroSecs()));
    std::fclose(f);
    execvp(argv[3], argv + 3);
    std::perror(argv[3]);
    return 127;
}

// Sleeps until shortly before the deadline, then waits on the performance counter.
void WaitUntil(int64_t deadlineMicros) {
    int64_t left = deadlineMicros - BootMicroSecs();
    if (left <= 0) return;
    const Uint64 freq = SDL_GetPerformanceFrequency();
    const Uint64 end = SDL_GetPerformanceCounter() + static_cast<Uint64>(left) * freq / 1000000;
    if (left > 2000) SDL_Delay(static_cast<Uint32>((left - 2000) / 1000));
    while (SDL_GetPerformanceCounter() < end) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--timed-exec") == 0) return TimedExec(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: bare_window LOG SECONDS | bare_window --timed-exec FILE COMMAND [ARG...]\n");
        return 2;
    }
    std::FILE* log = std::fopen(argv[1], "w");
    if (!log) {
        std::perror(argv[1]);
        return 1;
    }
    const int seconds = std::atoi(argv[2]);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "bare_window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480,
                                          SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        std::fprintf(stderr, "bare_window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetSwapInterval(0);
    const int64_t start = BootMicroSecs();
    bool running = true;
    for (int64_t frame = 0; running; ++frame) {
        SDL_Event e;
        while (SDL_PollEvent(&e))
            if (e.type == SDL_QUIT) running = false;
        glClearColor(0.0f, 0.5f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glFinish();   // drawn before the wait, as the game does
        if (frame > 0) WaitUntil(start + frame * 1000000 / 60);
        std::fprintf(log, "%lld\n", static_cast<long long>(BootMicroSecs()));
        std::fflush(log);
        SDL_GL_SwapWindow(window);
        if (seconds > 0 && BootMicroSecs() - start >= static_cast<int64_t>(seconds) * 1000000) running = false;
    }
    std::fclose(log);
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
