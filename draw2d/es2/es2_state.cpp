#include "draw2d/es2/es2_state.h"

#include <vector>

namespace {

// The triangles go to the renderer; the texture coordinate OpenGL keeps is the last one sent.
void QueueTriangles(const std::vector<TES2Vertex>& triangles, const TES2Vertex& last) {
    TES2Renderer* renderer = CurrentES2Renderer();
    if (!renderer || triangles.empty()) return;
    TES2State& s = ES2State();
    renderer->Queue(s.texturing ? s.texture : 0, triangles.data(), static_cast<int>(triangles.size()));
    s.u = last.u;
    s.v = last.v;
}

}  // namespace

TES2State& ES2State() {
    static TES2State& state = *new TES2State;   // never destroyed: exit handlers may still draw
    return state;
}

void ES2BindTexture(unsigned name) {
    TES2State& s = ES2State();
    if (name == s.boundTexture) return;
    s.boundTexture = s.texture = name;
}

void ES2EnableTexture(bool enabled) {
    TES2State& s = ES2State();
    if (enabled == s.textureEnabled) return;
    s.textureEnabled = s.texturing = enabled;
}

void ES2SelectTextureDirectly(unsigned name) {
    TES2State& s = ES2State();
    s.texture = name;
    s.texturing = true;
}

// Deleting the bound texture leaves texture 0 bound, which textures nothing.
void ES2ForgetTexture(unsigned name) {
    TES2State& s = ES2State();
    if (s.boundTexture == name) s.boundTexture = 0;
    if (s.texture == name) s.texture = 0;
}

TES2Vertex ES2Vertex(double x, double y) {
    const TES2State& s = ES2State();
    TES2Vertex vertex;
    vertex.x = static_cast<float>(x);
    vertex.y = static_cast<float>(y);
    for (int i = 0; i < 4; ++i) vertex.rgba[i] = s.colour[i];
    vertex.u = s.u;
    vertex.v = s.v;
    return vertex;
}


void ES2QueuePolygon(const TES2Vertex* vertices, int count) {
    if (count < 3) return;
    std::vector<TES2Vertex> triangles;
    triangles.reserve(static_cast<size_t>(count - 2) * 3);
    for (int i = 1; i + 1 < count; ++i) triangles.insert(triangles.end(), {vertices[i], vertices[i + 1], vertices[0]});
    QueueTriangles(triangles, vertices[count - 1]);
}

void ES2QueueQuad(const TES2Vertex* corners) {
    QueueTriangles({corners[0], corners[1], corners[3], corners[1], corners[2], corners[3]}, corners[3]);
}

void ES2QueueStrip(const TES2Vertex* vertices, int count) {
    if (count < 3) return;
    std::vector<TES2Vertex> triangles;
    triangles.reserve(static_cast<size_t>(count - 2) * 3);
    for (int i = 0; i + 2 < count; ++i)
        triangles.insert(triangles.end(), {vertices[i + (i & 1)], vertices[i + 1 - (i & 1)], vertices[i + 2]});
    QueueTriangles(triangles, vertices[count - 1]);
}
