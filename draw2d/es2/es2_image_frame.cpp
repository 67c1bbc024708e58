// ES 2 allows mipmaps only on power-of-two textures, and the frames are padded to those sizes
// anyway; the rows go up tightly packed, as ES 2 has no row length to skip by.
#include "draw2d/es2/es2_image_frame.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "draw2d/es2/es2_calls.h"
#include "draw2d/es2/es2_graphics.h"
#include "draw2d/es2/es2_state.h"
#include "draw2d/image.h"
#include "draw2d/state.h"

namespace {

void UploadLevel(int level, const TPixmap& pm) {
    std::vector<uint8_t> rows(static_cast<size_t>(pm.width) * pm.height * 4);
    for (int y = 0; y < pm.height; ++y)
        std::memcpy(rows.data() + static_cast<size_t>(y) * pm.width * 4, pm.PixelPtr(0, y),
                    static_cast<size_t>(pm.width) * 4);
    ES2().texImage2D(GL_TEXTURE_2D, level, GL_RGBA, pm.width, pm.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
}

// The pixmap at the texture's size and format: shrunk when over the largest size, padded.
TPixmapPtr TexturePixels(const TPixmap& src, int texW, int texH, float* u1, float* v1) {
    const int frameW = std::min(src.width, texW), frameH = std::min(src.height, texH);
    TPixmapPtr sized = frameW < src.width || frameH < src.height ? ResizePixmap(src, frameW, frameH) : nullptr;
    const TPixmap& frame = sized ? *sized : src;
    *u1 = static_cast<float>(frameW) / static_cast<float>(texW);
    *v1 = static_cast<float>(frameH) / static_cast<float>(texH);
    if (frameW < texW || frameH < texH) return PadToTexture(frame, texW, texH);
    return frame.Convert(PIXEL_RGBA8888);
}

}  // namespace

std::shared_ptr<TES2ImageFrame> TES2ImageFrame::CreateFromPixmap(const TPixmap& src, int flags) {
    auto tex = std::make_shared<TES2ImageFrame>();
    if (!CurrentES2Renderer()) return tex;
    TES2Calls& gl = ES2();
    GLint largest = 0;
    gl.getIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    int texW = NextPowerOfTwo(src.width), texH = NextPowerOfTwo(src.height);
    while (texW > std::max(largest, 1)) texW /= 2;
    while (texH > std::max(largest, 1)) texH /= 2;
    TPixmapPtr pixels = TexturePixels(src, texW, texH, &tex->tex_u1, &tex->tex_v1);

    const bool mipmapped = (flags & IMAGE_MIPMAPPED) != 0;
    gl.genTextures(1, &tex->name);
    gl.bindTexture(GL_TEXTURE_2D, tex->name);
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, (flags & IMAGE_FILTERED) ? GL_LINEAR : GL_NEAREST);
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmapped ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST);
    UploadLevel(0, *pixels);
    TPixmapPtr smaller;   // each mipmap level is resized from the one before
    for (int level = 1, w = texW, h = texH; mipmapped && (w > 1 || h > 1); ++level) {
        w = std::max(w / 2, 1);
        h = std::max(h / 2, 1);
        smaller = ResizePixmap(smaller ? *smaller : *pixels, w, h);
        UploadLevel(level, *smaller);
    }
    tex->context = CurrentES2Context();
    return tex;
}

void TES2ImageFrame::Draw(float x0, float y0, float x1, float y1, float tx, float ty) {
    DrawRegion(x0, y0, x1, y1, tx, ty, tex_u0, tex_v0, tex_u1, tex_v1);
}

void TES2ImageFrame::DrawRegion(float x0, float y0, float x1, float y1, float tx, float ty, float u0, float v0,
                                float u1, float v1) {
    const TDrawState& s = CurrentDrawState();
    ES2BindTexture(name);
    ES2EnableTexture(true);
    auto vertex = [&](float u, float v, float px, float py) {
        TES2Vertex corner =
            ES2Vertex(static_cast<float>(static_cast<double>(px) * s.tform_ix + static_cast<double>(py) * s.tform_iy + tx),
                      static_cast<float>(static_cast<double>(px) * s.tform_jx + static_cast<double>(py) * s.tform_jy + ty));
        corner.u = u;
        corner.v = v;
        return corner;
    };
    const TES2Vertex corners[4] = {vertex(u0, v0, x0, y0), vertex(u1, v0, x1, y0), vertex(u1, v1, x1, y1),
                                   vertex(u0, v1, x0, y1)};
    ES2QueueQuad(corners);
}

void TES2ImageFrame::SelectWithoutDrawing() {
    ES2BindTexture(name);
    ES2EnableTexture(true);
}

// A texture of a context since closed went with it.
TES2ImageFrame::~TES2ImageFrame() {
    TES2Renderer* renderer = CurrentES2Renderer();
    if (!name || !renderer || context != CurrentES2Context()) return;
    renderer->Flush();
    GLuint n = name;
    ES2().deleteTextures(1, &n);
    ES2ForgetTexture(n);
}
