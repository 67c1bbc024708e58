// The generic graphics level: the current driver and graphics, Graphics/EndGraphics and the
// paced Flip. It knows nothing of OpenGL.
#include "draw2d/graphics.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/input.h"

std::string AppTitle;

namespace {

TPresentation presentationSettings;

// The open graphics, their settings and how their frames go out, in one record.
struct TGraphicsState {
    TGraphicsDriver* driver = nullptr;
    int defaultGraphicsFlags = 0;
    TGraphicsPtr currentGraphics;
    TGraphics* window = nullptr;   // the graphics that present currentGraphics' frames
    TGraphicsPtr mainGraphics;
    int graphicsSeq = 1;
    int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;   // the current graphics' settings
    std::vector<std::function<void()>> flipHook;   // nothing in the game registers here
    std::vector<std::function<void()>> presentHook;   // the game's frame log, when asked for
    int softSync = 0;
    TFramePacer pacer;
    bool endGraphicsRegistered = false;
};
TGraphicsState graphicsState;

// The generation stamp moves on; 0 is never used.
void BumpGraphicsSeq() {
    graphicsState.graphicsSeq = static_cast<int>(static_cast<unsigned>(graphicsState.graphicsSeq) + 1u);
    if (graphicsState.graphicsSeq == 0) graphicsState.graphicsSeq = 1;
}

// Finishes the frame and shows it, when there is a window to show it in.
void Present(int sync) {
    if (graphicsState.window && graphicsState.window->FinishFrame()) graphicsState.window->Swap(sync);
}

// A full-screen display may already run at hz: then its own retrace paces the frames.
bool DisplayRunsAt(int hz) {
    int low = 1000 / hz - 1, high = 1000 / hz + 1;
    int start = MilliSecs(), run = 0;
    while (MilliSecsSince(start, MilliSecs()) < 1000) {
        int before = MilliSecs();
        Present(1);
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
// a late frame (or a clock set forward) resynchronises instead of bursting to catch up. A
// target more than a frame ahead is one the clock was set back from: waiting for it would
// freeze the game for as long as the clock went back.
int TFramePacer::Wait(int now) {
    if (frameHertz <= 0) return 0;
    int64_t elapsed = MilliSecsSince(frameStart, now);
    frameTicks += 1000;
    int64_t wait = frameTicks / frameHertz - elapsed;
    if (wait > FrameMs()) {
        Start(now, frameHertz);
        return 0;
    }
    if (wait > 0) return static_cast<int>(wait);
    frameTicks = elapsed * frameHertz;
    return 0;
}

// A scale below 1 is taken as 1.
void SetPresentation(const TPresentation& presentation) {
    presentationSettings = presentation;
    if (presentationSettings.scale < 1) presentationSettings.scale = 1;
}

TPresentation GetPresentation() { return presentationSettings; }

// The whole factor when there is one; else the side that runs out first sets the scale, the
// other side rounding down.
TPresentRect FitFrame(int frameWidth, int frameHeight, int drawableWidth, int drawableHeight) {
    TPresentRect r;
    if (frameWidth <= 0 || frameHeight <= 0 || drawableWidth <= 0 || drawableHeight <= 0) return r;
    int factor = std::min(drawableWidth / frameWidth, drawableHeight / frameHeight);
    if (factor >= 1) {
        r.width = frameWidth * factor;
        r.height = frameHeight * factor;
    } else if (int64_t(drawableWidth) * frameHeight <= int64_t(drawableHeight) * frameWidth) {
        r.width = drawableWidth;
        r.height = static_cast<int>(int64_t(drawableWidth) * frameHeight / frameWidth);
    } else {
        r.height = drawableHeight;
        r.width = static_cast<int>(int64_t(drawableHeight) * frameWidth / frameHeight);
    }
    r.x = (drawableWidth - r.width) / 2;
    r.y = (drawableHeight - r.height) / 2;
    return r;
}

TPresentRect FitWindow(int frameWidth, int frameHeight, int scale, int desktopWidth, int desktopHeight) {
    TPresentRect r{0, 0, frameWidth * scale, frameHeight * scale};
    if (desktopWidth <= 0 || desktopHeight <= 0) return r;
    const TPresentRect fit = FitFrame(frameWidth, frameHeight, desktopWidth, desktopHeight);
    if (fit.width < r.width) r = {0, 0, fit.width, fit.height};
    return r;
}

// Registers the driver; graphics of another driver are unset first.
void SetGraphicsDriver(TGraphicsDriver* newDriver, int defaultFlags) {
    if (newDriver != graphicsState.driver && graphicsState.driver && graphicsState.currentGraphics)
        SetGraphics(nullptr);
    graphicsState.driver = newDriver;
    graphicsState.defaultGraphicsFlags = defaultFlags;
}

TGraphicsDriver* GetGraphicsDriver() { return graphicsState.driver; }

std::vector<TGraphicsMode> GraphicsModes() {
    return graphicsState.driver ? graphicsState.driver->GraphicsModes() : std::vector<TGraphicsMode>{};
}

// A depth of 0 matches any depth, as does an hz of 0.
bool GraphicsModeExists(int width, int height, int depth, int hz) {
    for (const TGraphicsMode& m : GraphicsModes())
        if (m.width == width && m.height == height && (depth == 0 || m.depth == depth) && (hz == 0 || m.hz == hz))
            return true;
    return false;
}

// Creates graphics through the driver; an error raised while creating means none.
TGraphicsPtr CreateGraphics(int w, int h, int d, int hz, int f) {
    if (!graphicsState.driver) return nullptr;
    f |= graphicsState.defaultGraphicsFlags;
    try {
        return graphicsState.driver->CreateGraphics(w, h, d, hz, f);
    } catch (const std::exception&) {
        return nullptr;
    }
}

// Attaches through the driver; an error raised while attaching means none.
TGraphicsPtr AttachGraphics(TGLWindow* view, int flags) {
    if (!graphicsState.driver || !view) return nullptr;
    flags |= graphicsState.defaultGraphicsFlags;
    try {
        return graphicsState.driver->AttachGraphics(view, flags);
    } catch (const std::exception&) {
        return nullptr;
    }
}

// Switches to g's driver when it is another's.
void SetGraphics(const TGraphicsPtr& g) {
    TGraphicsState& s = graphicsState;
    if (!g) {
        if (s.driver) s.driver->SetGraphics(nullptr);
        s.currentGraphics = nullptr;
        s.window = nullptr;
        s.width = s.height = s.depth = s.hertz = s.flags = 0;
        return;
    }
    TGraphicsDriver* own = g->Driver();
    if (own != s.driver) {
        if (s.driver && s.currentGraphics) s.driver->SetGraphics(nullptr);
        s.driver = own;
    }
    g->GetSettings(&s.width, &s.height, &s.depth, &s.hertz, &s.flags);
    // The drawing level flips new graphics blank while they are being set: into their window.
    TGraphics* before = std::exchange(s.window, &g->Window());
    try {
        s.driver->SetGraphics(g);
    } catch (...) {
        s.window = before;
        throw;
    }
    s.currentGraphics = g;
}

void CloseGraphics(const TGraphicsPtr& g) {
    if (!g) return;
    TGraphicsPtr keep = g;
    if (keep == graphicsState.currentGraphics) SetGraphics(nullptr);
    if (keep == graphicsState.mainGraphics) graphicsState.mainGraphics = nullptr;
    keep->Close();
}

TGraphicsPtr Graphics(int w, int h, int d, int hz, int f) {
    EndGraphics();
    f |= graphicsState.defaultGraphicsFlags;
    TGraphicsPtr g = CreateGraphics(w, h, d, hz, f);
    if (!g) return nullptr;
    BumpGraphicsSeq();
    SetGraphics(g);
    graphicsState.softSync = 1;
    if (hz == 0)
        graphicsState.softSync = 0;
    else if (d != 0 && DisplayRunsAt(hz))
        graphicsState.softSync = 0;
    graphicsState.pacer.Start(MilliSecs(), hz);
    graphicsState.mainGraphics = g;
    EnablePolledInput();
    MoveMouse(w / 2, h / 2);
    if (!graphicsState.endGraphicsRegistered) {
        graphicsState.endGraphicsRegistered = true;
        std::atexit(EndGraphics);
    }
    return g;
}

// Closes the main graphics, if open; also run at program end.
void EndGraphics() {
    if (!graphicsState.mainGraphics) return;
    BumpGraphicsSeq();
    DisablePolledInput();
    CloseGraphics(graphicsState.mainGraphics);
}

// Presents the frame: sync -1 paces to the hz given to Graphics, 0 presents at once,
// anything else waits for the display's retrace. The paced wait ends on the very start of
// the pacer's target millisecond, not whenever a millisecond sleep happens to wake.
void Flip(int sync) {
    for (auto& hook : graphicsState.flipHook) hook();
    if (!graphicsState.driver) return;
    const bool paced =
        sync == -1 && graphicsState.currentGraphics == graphicsState.mainGraphics && graphicsState.softSync;
    // The pacer decides from the moment the game asks to flip; the frame is then drawn while
    // the wait runs, and the swap comes on the target unless drawing outlasts it.
    const int now = paced ? MilliSecs() : 0;
    const int wait = paced ? graphicsState.pacer.Wait(now) : 0;
    TGraphics* window = graphicsState.window;
    const bool shown = window && window->FinishFrame();
    if (wait > 0)
        DelayUntil(static_cast<int>(static_cast<uint32_t>(now) + static_cast<uint32_t>(wait)),
                   graphicsState.pacer.FrameMs());
    for (auto& hook : graphicsState.presentHook) hook();
    if (shown) window->Swap(paced ? 0 : sync == -1 ? 1 : sync);
}

void AddFlipHook(std::function<void()> hook) { graphicsState.flipHook.push_back(std::move(hook)); }

void AddPresentHook(std::function<void()> hook) { graphicsState.presentHook.push_back(std::move(hook)); }

int GraphicsWidth() { return graphicsState.width; }
int GraphicsHeight() { return graphicsState.height; }
int GraphicsDepth() { return graphicsState.depth; }
int GraphicsHertz() { return graphicsState.hertz; }
int GraphicsFlags() { return graphicsState.flags; }
int GraphicsSeq() { return graphicsState.graphicsSeq; }
TGraphicsPtr CurrentGraphics() { return graphicsState.currentGraphics; }

void MoveMouse(int x, int y) {
    if (graphicsState.driver) graphicsState.driver->MoveMouse(x, y);
}

std::string GraphicsError() { return graphicsState.driver ? graphicsState.driver->GraphicsError() : ""; }

bool ReadFramePixels(int x, int y, int width, int height, uint8_t* rgba) {
    return graphicsState.driver && graphicsState.driver->ReadFramePixels(x, y, width, height, rgba);
}
