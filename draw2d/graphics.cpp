// The generic graphics level: the current driver and graphics, Graphics/EndGraphics and the
// paced Flip. It knows nothing of OpenGL.
#include "draw2d/graphics.h"

#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/input.h"

std::string AppTitle;

namespace {

TGraphicsDriver* driver = nullptr;
int defaultGraphicsFlags = 0;
TGraphicsPtr currentGraphics;
TGraphicsPtr mainGraphics;
int graphicsSeq = 1;
int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
std::vector<std::function<void()>> flipHook;   // nothing in the game registers here
int softSync = 0;
TFramePacer pacer;
bool endGraphicsRegistered = false;

// The generation stamp moves on; 0 is never used.
void BumpGraphicsSeq() {
    graphicsSeq = static_cast<int>(static_cast<unsigned>(graphicsSeq) + 1u);
    if (graphicsSeq == 0) graphicsSeq = 1;
}

// A full-screen display may already run at hz: then its own retrace paces the frames.
bool DisplayRunsAt(int hz) {
    int low = 1000 / hz - 1, high = 1000 / hz + 1;
    int start = MilliSecs(), run = 0;
    while (MilliSecsSince(start, MilliSecs()) < 1000) {
        int before = MilliSecs();
        driver->Flip(1);
        int took = MilliSecsSince(before, MilliSecs());
        run = (took >= low && took <= high) ? run + 1 : 0;
        if (run == 3) return true;
    }
    return false;
}

}  // namespace

void TFramePacer::Start(int now, int hz) {
    frameStart = now;
    frameHertz = hz;
    frameTicks = 0;
}

// Targets fall at frameTicks / hz ms after the start, so the average rate has no drift;
// a late frame (or a clock jump) resynchronises instead of bursting to catch up.
int TFramePacer::Wait(int now) {
    if (frameHertz <= 0) return 0;
    int64_t elapsed = MilliSecsSince(frameStart, now);
    frameTicks += 1000;
    int64_t wait = frameTicks / frameHertz - elapsed;
    if (wait > 0 && wait < 1000) return static_cast<int>(wait);
    frameTicks = elapsed * frameHertz;
    return 0;
}

// Registers the driver; graphics of another driver are unset first.
void SetGraphicsDriver(TGraphicsDriver* newDriver, int defaultFlags) {
    if (newDriver != driver && driver && currentGraphics) SetGraphics(nullptr);
    driver = newDriver;
    defaultGraphicsFlags = defaultFlags;
}

TGraphicsDriver* GetGraphicsDriver() { return driver; }

// Creates graphics through the driver; an error raised while creating means none.
TGraphicsPtr CreateGraphics(int w, int h, int d, int hz, int f) {
    if (!driver) return nullptr;
    f |= defaultGraphicsFlags;
    try {
        return driver->CreateGraphics(w, h, d, hz, f);
    } catch (const std::exception&) {
        return nullptr;
    }
}

// Makes g current (switching to its driver) and takes its settings; none unsets graphics.
void SetGraphics(const TGraphicsPtr& g) {
    if (!g) {
        if (driver) driver->SetGraphics(nullptr);
        currentGraphics = nullptr;
        width = height = depth = hertz = flags = 0;
        return;
    }
    TGraphicsDriver* own = g->Driver();
    if (own != driver) {
        if (driver && currentGraphics) driver->SetGraphics(nullptr);
        driver = own;
    }
    g->GetSettings(&width, &height, &depth, &hertz, &flags);
    driver->SetGraphics(g);
    currentGraphics = g;
}

// Closes g, unsetting it first when it is current.
void CloseGraphics(const TGraphicsPtr& g) {
    if (!g) return;
    TGraphicsPtr keep = g;
    if (keep == currentGraphics) SetGraphics(nullptr);
    if (keep == mainGraphics) mainGraphics = nullptr;
    keep->Close();
}

// Opens the main graphics and makes them current; none when they cannot be created.
TGraphicsPtr Graphics(int w, int h, int d, int hz, int f) {
    EndGraphics();
    f |= defaultGraphicsFlags;
    TGraphicsPtr g = CreateGraphics(w, h, d, hz, f);
    if (!g) return nullptr;
    BumpGraphicsSeq();
    SetGraphics(g);
    softSync = 1;
    if (hz == 0)
        softSync = 0;
    else if (d != 0 && DisplayRunsAt(hz))
        softSync = 0;
    pacer.Start(MilliSecs(), hz);
    mainGraphics = g;
    EnablePolledInput();
    MoveMouse(w / 2, h / 2);
    if (!endGraphicsRegistered) {
        endGraphicsRegistered = true;
        std::atexit(EndGraphics);
    }
    return g;
}

// Closes the main graphics, if open; also run at program end.
void EndGraphics() {
    if (!mainGraphics) return;
    BumpGraphicsSeq();
    DisablePolledInput();
    CloseGraphics(mainGraphics);
}

// Presents the frame: sync -1 paces to the hz given to Graphics, 0 presents at once,
// anything else waits for the display's retrace.
void Flip(int sync) {
    for (auto& hook : flipHook) hook();
    if (!driver) return;
    if (sync != -1) {
        driver->Flip(sync);
        return;
    }
    if (currentGraphics != mainGraphics || !softSync) {
        driver->Flip(1);
        return;
    }
    Delay(pacer.Wait(MilliSecs()));
    driver->Flip(0);
}

void AddFlipHook(std::function<void()> hook) { flipHook.push_back(std::move(hook)); }

int GraphicsWidth() { return width; }
int GraphicsHeight() { return height; }
int GraphicsDepth() { return depth; }
int GraphicsHertz() { return hertz; }
int GraphicsFlags() { return flags; }
int GraphicsSeq() { return graphicsSeq; }
TGraphicsPtr CurrentGraphics() { return currentGraphics; }

void MoveMouse(int x, int y) {
    if (driver) driver->MoveMouse(x, y);
}

std::string GraphicsError() { return driver ? driver->GraphicsError() : ""; }

bool ReadFramePixels(int x, int y, int width, int height, uint8_t* rgba) {
    return driver && driver->ReadFramePixels(x, y, width, height, rgba);
}
