// The generic graphics level: the current driver and graphics, Graphics/EndGraphics and the
// paced Flip. It knows nothing of OpenGL.
#include "draw2d/graphics.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/input.h"

std::string AppTitle;

namespace {

TPresentation presentationSettings;

// The generic level's state, in one record.
struct TGraphicsLevel {
    TGraphicsDriver* driver = nullptr;
    int defaultGraphicsFlags = 0;
    TGraphicsPtr currentGraphics;
    TGraphicsPtr mainGraphics;
    int graphicsSeq = 1;
    int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;   // the current graphics' settings
    std::vector<std::function<void()>> flipHook;   // nothing in the game registers here
    std::vector<std::function<void()>> presentHook;   // the game's frame log, when asked for
    int softSync = 0;
    TFramePacer pacer;
    bool endGraphicsRegistered = false;
};
TGraphicsLevel level;

// The generation stamp moves on; 0 is never used.
void BumpGraphicsSeq() {
    level.graphicsSeq = static_cast<int>(static_cast<unsigned>(level.graphicsSeq) + 1u);
    if (level.graphicsSeq == 0) level.graphicsSeq = 1;
}

// A full-screen display may already run at hz: then its own retrace paces the frames.
bool DisplayRunsAt(int hz) {
    int low = 1000 / hz - 1, high = 1000 / hz + 1;
    int start = MilliSecs(), run = 0;
    while (MilliSecsSince(start, MilliSecs()) < 1000) {
        int before = MilliSecs();
        level.driver->Flip(1);
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

// Registers the driver; graphics of another driver are unset first.
void SetGraphicsDriver(TGraphicsDriver* newDriver, int defaultFlags) {
    if (newDriver != level.driver && level.driver && level.currentGraphics) SetGraphics(nullptr);
    level.driver = newDriver;
    level.defaultGraphicsFlags = defaultFlags;
}

TGraphicsDriver* GetGraphicsDriver() { return level.driver; }

std::vector<TGraphicsMode> GraphicsModes() {
    return level.driver ? level.driver->GraphicsModes() : std::vector<TGraphicsMode>{};
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
    if (!level.driver) return nullptr;
    f |= level.defaultGraphicsFlags;
    try {
        return level.driver->CreateGraphics(w, h, d, hz, f);
    } catch (const std::exception&) {
        return nullptr;
    }
}

// Attaches through the driver; an error raised while attaching means none.
TGraphicsPtr AttachGraphics(TGLWindow* view, int flags) {
    if (!level.driver || !view) return nullptr;
    flags |= level.defaultGraphicsFlags;
    try {
        return level.driver->AttachGraphics(view, flags);
    } catch (const std::exception&) {
        return nullptr;
    }
}

// Makes g current (switching to its driver) and takes its settings; none unsets graphics.
void SetGraphics(const TGraphicsPtr& g) {
    if (!g) {
        if (level.driver) level.driver->SetGraphics(nullptr);
        level.currentGraphics = nullptr;
        level.width = level.height = level.depth = level.hertz = level.flags = 0;
        return;
    }
    TGraphicsDriver* own = g->Driver();
    if (own != level.driver) {
        if (level.driver && level.currentGraphics) level.driver->SetGraphics(nullptr);
        level.driver = own;
    }
    g->GetSettings(&level.width, &level.height, &level.depth, &level.hertz, &level.flags);
    level.driver->SetGraphics(g);
    level.currentGraphics = g;
}

// Closes g, unsetting it first when it is current.
void CloseGraphics(const TGraphicsPtr& g) {
    if (!g) return;
    TGraphicsPtr keep = g;
    if (keep == level.currentGraphics) SetGraphics(nullptr);
    if (keep == level.mainGraphics) level.mainGraphics = nullptr;
    keep->Close();
}

// Opens the main graphics and makes them current; none when they cannot be created.
TGraphicsPtr Graphics(int w, int h, int d, int hz, int f) {
    EndGraphics();
    f |= level.defaultGraphicsFlags;
    TGraphicsPtr g = CreateGraphics(w, h, d, hz, f);
    if (!g) return nullptr;
    BumpGraphicsSeq();
    SetGraphics(g);
    level.softSync = 1;
    if (hz == 0)
        level.softSync = 0;
    else if (d != 0 && DisplayRunsAt(hz))
        level.softSync = 0;
    level.pacer.Start(MilliSecs(), hz);
    level.mainGraphics = g;
    EnablePolledInput();
    MoveMouse(w / 2, h / 2);
    if (!level.endGraphicsRegistered) {
        level.endGraphicsRegistered = true;
        std::atexit(EndGraphics);
    }
    return g;
}

// Closes the main graphics, if open; also run at program end.
void EndGraphics() {
    if (!level.mainGraphics) return;
    BumpGraphicsSeq();
    DisablePolledInput();
    CloseGraphics(level.mainGraphics);
}

// Presents the frame: sync -1 paces to the hz given to Graphics, 0 presents at once,
// anything else waits for the display's retrace. The paced wait ends on the very start of
// the pacer's target millisecond, not whenever a millisecond sleep happens to wake.
void Flip(int sync) {
    for (auto& hook : level.flipHook) hook();
    if (!level.driver) return;
    const bool paced = sync == -1 && level.currentGraphics == level.mainGraphics && level.softSync;
    // The pacer decides from the moment the game asks to flip; the frame is then drawn while
    // the wait runs, and the swap comes on the target unless drawing outlasts it.
    const int now = paced ? MilliSecs() : 0;
    const int wait = paced ? level.pacer.Wait(now) : 0;
    level.driver->FinishFrame();
    if (wait > 0) DelayUntil(static_cast<int>(static_cast<uint32_t>(now) + static_cast<uint32_t>(wait)));
    for (auto& hook : level.presentHook) hook();
    level.driver->Flip(paced ? 0 : sync == -1 ? 1 : sync);
}

void AddFlipHook(std::function<void()> hook) { level.flipHook.push_back(std::move(hook)); }

void AddPresentHook(std::function<void()> hook) { level.presentHook.push_back(std::move(hook)); }

int GraphicsWidth() { return level.width; }
int GraphicsHeight() { return level.height; }
int GraphicsDepth() { return level.depth; }
int GraphicsHertz() { return level.hertz; }
int GraphicsFlags() { return level.flags; }
int GraphicsSeq() { return level.graphicsSeq; }
TGraphicsPtr CurrentGraphics() { return level.currentGraphics; }

void MoveMouse(int x, int y) {
    if (level.driver) level.driver->MoveMouse(x, y);
}

std::string GraphicsError() { return level.driver ? level.driver->GraphicsError() : ""; }

bool ReadFramePixels(int x, int y, int width, int height, uint8_t* rgba) {
    return level.driver && level.driver->ReadFramePixels(x, y, width, height, rgba);
}
