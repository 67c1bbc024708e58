// The OpenGL ES 2 state of one context and the vertices queued for it: four small programs
// (plain or textured, masked or not), one vertex buffer, and a queue that draws runs of the same primitive
// and texture in one call. Everything that changes what a queued vertex would look like
// (blending, the scissor, the target) draws the queue first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "draw2d/graphics.h"

// One vertex as the programs take it: a position in the target's pixels (y down), a colour
// and a texture coordinate.
struct TES2Vertex {
    float x = 0, y = 0;
    uint8_t rgba[4] = {0, 0, 0, 0};
    float u = 0, v = 0;
};

class TES2Renderer {
public:
    // Compiles the programs and makes the buffer in the current context; false with the
    // reason in *why when the context refuses them.
    bool Create(std::string* why);
    // Frees them; the context must be current (nothing when it is gone).
    void Delete();
    // Queues triangles (three vertices each); texture 0 draws them plain.
    void Queue(unsigned texture, const TES2Vertex* vertices, int count);
    // Draws everything queued.
    void Flush();
    // The size of the picture the positions are pixels of.
    void SetTarget(int width, int height);
    // The blend mode (BLEND_...) of what is queued next.
    void SetBlend(int mode);
    // Clips what is queued next to the rectangle (rows counted from the bottom), or not at all.
    void SetScissor(bool on, int x, int y, int width, int height);
    void SetClearColour(float red, float green, float blue);
    // Clears the target (within the scissor) after drawing the queue.
    void Clear();
    // Draws the queue and shows `texture` stretched over the rectangle `to` of the window's
    // back buffer (framebuffer 0), black round it, then returns to drawing into `framebuffer`.
    void Present(unsigned texture, unsigned framebuffer, const TPresentRect& to, int drawableWidth,
                 int drawableHeight, bool smooth);

private:
    struct TProgram {
        unsigned name = 0;
        int projection = -1, picture = -1;
    };
    bool Link(TProgram* program, bool textured, bool masked, std::string* why);
    void ApplyScissor();
    void Draw(const TProgram& program, unsigned texture, const TES2Vertex* vertices, int count,
              const float projection[16]);

    TProgram programs_[2][2];   // [textured][masked]
    unsigned buffer_ = 0;
    std::vector<TES2Vertex> queued_;
    unsigned texture_ = 0;
    float projection_[16] = {};
    int width_ = 0, height_ = 0;
    int blend_ = 0;
    bool scissor_ = false;
    int scissorBox_[4] = {0, 0, 0, 0};
    float clear_[3] = {0, 0, 0};
};

// The renderer of the context current now (set by the window level), or none.
TES2Renderer* CurrentES2Renderer();
void SetCurrentES2Renderer(TES2Renderer* renderer);
