// The programs stand in for the fixed-function pipeline the OpenGL driver draws with:
// the colour modulates the texel, and the mask's alpha test is a discard below one half, in
// programs of their own so that the others keep no discard. The texel and the colour are
// taken back to whole levels before they are multiplied: Mesa's shaders get a texel a hair
// short of its level, which its fixed function does not, and the product then rounds a level
// lower where it ends in a half.
#include "draw2d/es2/es2_renderer.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "draw2d/blend.h"
#include "draw2d/es2/es2_calls.h"

namespace {

const char* const kVertexShader =
    "attribute vec2 position;\n"
    "attribute vec4 colour;\n"
    "attribute vec2 texCoord;\n"
    "uniform mat4 projection;\n"
    "varying vec4 vColour;\n"
    "varying vec2 vTexCoord;\n"
    "void main() {\n"
    "    gl_Position = projection * vec4(position, 0.0, 1.0);\n"
    "    vColour = colour;\n"
    "    vTexCoord = texCoord;\n"
    "}\n";

const char* const kFragmentShader =
    "#ifdef GL_FRAGMENT_PRECISION_HIGH\n"
    "precision highp float;\n"
    "#else\n"
    "precision mediump float;\n"
    "#endif\n"
    "uniform sampler2D picture;\n"
    "varying vec4 vColour;\n"
    "varying vec2 vTexCoord;\n"
    "void main() {\n"
    "#ifdef TEXTURED\n"
    "    vec4 colour = floor(texture2D(picture, vTexCoord) * 255.0 + 0.5) * floor(vColour * 255.0 + 0.5) / 65025.0;\n"
    "#else\n"
    "    vec4 colour = vColour;\n"
    "#endif\n"
    "#ifdef MASKED\n"
    "    if (colour.a < 0.5) discard;\n"
    "#endif\n"
    "    gl_FragColor = colour;\n"
    "}\n";

enum : GLuint { kPosition = 0, kColour = 1, kTexCoord = 2 };

TES2Renderer* current = nullptr;

GLuint Compile(GLenum kind, const char* prefix, const char* source) {
    TES2Calls& gl = ES2();
    GLuint shader = gl.createShader(kind);
    const char* parts[] = {prefix, source};
    gl.shaderSource(shader, 2, parts, nullptr);
    gl.compileShader(shader);
    GLint compiled = 0;
    gl.getShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled) return shader;
    gl.deleteShader(shader);
    return 0;
}

}  // namespace

TES2Renderer* CurrentES2Renderer() { return current; }
void SetCurrentES2Renderer(TES2Renderer* renderer) { current = renderer; }

bool TES2Renderer::Link(TProgram* program, bool textured, bool masked, std::string* why) {
    TES2Calls& gl = ES2();
    const std::string defines =
        std::string(textured ? "#define TEXTURED 1\n" : "") + (masked ? "#define MASKED 1\n" : "");
    GLuint vertex = Compile(GL_VERTEX_SHADER, "", kVertexShader);
    GLuint fragment = Compile(GL_FRAGMENT_SHADER, defines.c_str(), kFragmentShader);
    GLint linked = 0;
    if (vertex && fragment) {
        program->name = gl.createProgram();
        gl.attachShader(program->name, vertex);
        gl.attachShader(program->name, fragment);
        gl.bindAttribLocation(program->name, kPosition, "position");
        gl.bindAttribLocation(program->name, kColour, "colour");
        gl.bindAttribLocation(program->name, kTexCoord, "texCoord");
        gl.linkProgram(program->name);
        gl.getProgramiv(program->name, GL_LINK_STATUS, &linked);
    }
    if (vertex) gl.deleteShader(vertex);
    if (fragment) gl.deleteShader(fragment);
    if (!linked) {
        *why = vertex && fragment ? "the drawing programs do not link" : "the drawing shaders do not compile";
        return false;
    }
    program->projection = gl.getUniformLocation(program->name, "projection");
    program->picture = gl.getUniformLocation(program->name, "picture");
    return true;
}

bool TES2Renderer::Create(std::string* why) {
    for (int textured = 0; textured < 2; ++textured)
        for (int masked = 0; masked < 2; ++masked)
            if (!Link(&programs_[textured][masked], textured, masked, why)) return false;
    TES2Calls& gl = ES2();
    gl.genBuffers(1, &buffer_);
    gl.bindBuffer(GL_ARRAY_BUFFER, buffer_);
    for (GLuint attribute : {kPosition, kColour, kTexCoord}) gl.enableVertexAttribArray(attribute);
    gl.pixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl.pixelStorei(GL_PACK_ALIGNMENT, 4);
    return true;
}

void TES2Renderer::Delete() {
    TES2Calls& gl = ES2();
    if (!gl.deleteBuffers) return;
    if (buffer_) gl.deleteBuffers(1, &buffer_);
    for (auto& pair : programs_)
        for (TProgram& program : pair) {
            if (program.name) gl.deleteProgram(program.name);
            program = TProgram{};
        }
    buffer_ = 0;
    queued_.clear();
}

void TES2Renderer::Queue(unsigned texture, const TES2Vertex* vertices, int count) {
    if (!queued_.empty() && texture != texture_) Flush();
    texture_ = texture;
    queued_.insert(queued_.end(), vertices, vertices + count);
}

// The vertex buffer is filled afresh for every draw (no mapping in ES 2).
void TES2Renderer::Draw(const TProgram& program, unsigned texture, const TES2Vertex* vertices, int count,
                        const float projection[16]) {
    TES2Calls& gl = ES2();
    gl.bindBuffer(GL_ARRAY_BUFFER, buffer_);
    gl.bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(TES2Vertex)), vertices, GL_STREAM_DRAW);
    gl.useProgram(program.name);
    gl.uniformMatrix4fv(program.projection, 1, GL_FALSE, projection);
    if (texture) {
        gl.uniform1i(program.picture, 0);
        gl.bindTexture(GL_TEXTURE_2D, texture);
    }
    const GLsizei stride = sizeof(TES2Vertex);
    gl.vertexAttribPointer(kPosition, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(TES2Vertex, x)));
    gl.vertexAttribPointer(kColour, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                           reinterpret_cast<void*>(offsetof(TES2Vertex, rgba)));
    gl.vertexAttribPointer(kTexCoord, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(TES2Vertex, u)));
    gl.drawArrays(GL_TRIANGLES, 0, count);
}

void TES2Renderer::Flush() {
    if (queued_.empty()) return;
    Draw(programs_[texture_ != 0][blend_ == BLEND_MASK], texture_, queued_.data(), static_cast<int>(queued_.size()),
         projection_);
    queued_.clear();
}

// glOrtho(0, width, height, 0, -1, 1), as the OpenGL driver's projection, applied as a whole
// matrix as its fixed-function pipeline applies it: the same roundings place the same pixels.
void TES2Renderer::SetTarget(int width, int height) {
    Flush();
    width_ = width;
    height_ = height;
    std::fill(std::begin(projection_), std::end(projection_), 0.0f);
    projection_[0] = 2.0f / static_cast<float>(width);
    projection_[5] = 2.0f / (0.0f - static_cast<float>(height));
    projection_[10] = -1.0f;
    projection_[12] = -1.0f;
    projection_[13] = 1.0f;
    projection_[15] = 1.0f;
    ES2().viewport(0, 0, width, height);
}

void TES2Renderer::SetBlend(int mode) {
    if (mode == blend_) return;
    Flush();
    blend_ = mode;
    TES2Calls& gl = ES2();
    if (mode != BLEND_ALPHA && mode != BLEND_ADD && mode != BLEND_MULTIPLY) {
        gl.disable(GL_BLEND);
        return;
    }
    gl.enable(GL_BLEND);
    if (mode == BLEND_ALPHA) gl.blendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (mode == BLEND_ADD) gl.blendFunc(GL_SRC_ALPHA, GL_ONE);
    if (mode == BLEND_MULTIPLY) gl.blendFunc(GL_DST_COLOR, GL_ZERO);
}

void TES2Renderer::SetScissor(bool on, int x, int y, int width, int height) {
    const int box[4] = {x, y, width, height};
    if (on == scissor_ && (!on || (box[0] == scissorBox_[0] && box[1] == scissorBox_[1] &&
                                   box[2] == scissorBox_[2] && box[3] == scissorBox_[3])))
        return;
    Flush();
    scissor_ = on;
    for (int i = 0; i < 4; ++i) scissorBox_[i] = box[i];
    ApplyScissor();
}

void TES2Renderer::ApplyScissor() {
    TES2Calls& gl = ES2();
    if (!scissor_) {
        gl.disable(GL_SCISSOR_TEST);
        return;
    }
    gl.enable(GL_SCISSOR_TEST);
    gl.scissor(scissorBox_[0], scissorBox_[1], scissorBox_[2], scissorBox_[3]);
}

void TES2Renderer::SetClearColour(float red, float green, float blue) {
    clear_[0] = red;
    clear_[1] = green;
    clear_[2] = blue;
}

void TES2Renderer::Clear() {
    Flush();
    TES2Calls& gl = ES2();
    gl.clearColor(clear_[0], clear_[1], clear_[2], 1.0f);
    gl.clear(GL_COLOR_BUFFER_BIT);
}

void TES2Renderer::Present(unsigned texture, unsigned framebuffer, const TPresentRect& to, int drawableWidth,
                           int drawableHeight, bool smooth) {
    Flush();
    TES2Calls& gl = ES2();
    gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    gl.disable(GL_SCISSOR_TEST);
    gl.disable(GL_BLEND);
    if (to.width != drawableWidth || to.height != drawableHeight) {
        gl.clearColor(0, 0, 0, 1);
        gl.clear(GL_COLOR_BUFFER_BIT);
    }
    gl.viewport(to.x, drawableHeight - to.y - to.height, to.width, to.height);   // rows from the bottom
    gl.bindTexture(GL_TEXTURE_2D, texture);
    const GLint filter = smooth ? GL_LINEAR : GL_NEAREST;
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    TES2Vertex corners[6];
    const float xy[6][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}};
    for (int i = 0; i < 6; ++i) {
        corners[i] = {xy[i][0], xy[i][1], {255, 255, 255, 255}, (xy[i][0] + 1) / 2, (xy[i][1] + 1) / 2};
    }
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    Draw(programs_[1][0], texture, corners, 6, identity);
    const int blend = blend_;
    blend_ = 0;
    SetBlend(blend);
    gl.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    gl.viewport(0, 0, width_, height_);
    ApplyScissor();
}
